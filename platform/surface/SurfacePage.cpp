#include "SurfacePage.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QWebChannel>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

Q_LOGGING_CATEGORY(lcSurfaceJs, "orvane.surface.js")

namespace orvane {

namespace {

int scriptErrors = 0;

// Our own scripts: bridge.js (it defines window.orv), then the others in
// alphabetical order.
QStringList scriptResources()
{
    QStringList names = QDir(QStringLiteral(":/orvane/surface/js"))
                            .entryList({QStringLiteral("*.js")}, QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("bridge.js"));
    names.prepend(QStringLiteral("bridge.js"));
    QStringList urls;
    for (const QString& n : names)
        urls << QStringLiteral("qrc:/orvane/surface/js/") + n;
    return urls;
}

// The end of the web channel our scripts push their state to.
class StateReceiver : public QObject {
    Q_OBJECT
public:
    explicit StateReceiver(SurfacePage* page) : QObject(page), m_page(page) {}
    Q_INVOKABLE void push(const QString& json)
    {
        emit m_page->statePushed(QJsonDocument::fromJson(json.toUtf8()).object());
    }
private:
    SurfacePage* m_page;
};

}  // namespace

SurfacePage::SurfacePage(bool editMode, QObject* parent)
    : QWebEnginePage(parent), m_editMode(editMode)
{
    QWebEngineSettings* s = settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, !editMode);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, editMode);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    // A page served from a file loads its images from the page's real folder.
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    auto* channel = new QWebChannel(this);
    channel->registerObject(QStringLiteral("surface"), new StateReceiver(this));
    setWebChannel(channel, QWebEngineScript::ApplicationWorld);
    injectScripts();
}

void SurfacePage::injectScripts()
{
    // Qt's channel client first: our scripts connect with it.
    QFile client(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (client.open(QIODevice::ReadOnly)) {
        QWebEngineScript script;
        script.setName(QStringLiteral("qwebchannel.js"));
        script.setSourceCode(QString::fromUtf8(client.readAll()));
        script.setWorldId(QWebEngineScript::ApplicationWorld);
        script.setInjectionPoint(QWebEngineScript::DocumentReady);
        script.setRunsOnSubFrames(false);
        scripts().insert(script);
    }
    const QStringList urls = scriptResources();
    for (const QString& url : urls) {
        QWebEngineScript script;
        script.setName(url.section(QLatin1Char('/'), -1));
        script.setSourceUrl(QUrl(url));
        script.setWorldId(QWebEngineScript::ApplicationWorld);
        script.setInjectionPoint(QWebEngineScript::DocumentReady);
        script.setRunsOnSubFrames(false);
        scripts().insert(script);
    }
}

bool SurfacePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (!m_editMode)
        return true;
    if (!isMainFrame)
        return type != NavigationTypeLinkClicked && type != NavigationTypeFormSubmitted;
    return url == m_expected;
}

QWebEnginePage* SurfacePage::createWindow(WebWindowType)
{
    return nullptr;
}

void SurfacePage::javaScriptAlert(const QUrl&, const QString&) {}

bool SurfacePage::javaScriptConfirm(const QUrl&, const QString&)
{
    return false;
}

bool SurfacePage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*)
{
    return false;
}

void SurfacePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                           const QString& message, int lineNumber,
                                           const QString& sourceID)
{
    // The page's own scripts (preview only) may fail as they like. Ours are
    // the injected "userscript:" files and our calls (no source); the design
    // surface runs no other script.
    const bool ours = m_editMode || sourceID.isEmpty()
                      || sourceID.startsWith(QLatin1String("userscript:"));
    if (level == ErrorMessageLevel && ours)
        reportScriptError(QStringLiteral("%1:%2: %3").arg(sourceID).arg(lineNumber).arg(message));
}

void SurfacePage::reportScriptError(const QString& text)
{
    ++scriptErrors;
    qCWarning(lcSurfaceJs, "%s", qPrintable(text));
}

int SurfacePage::scriptErrorCount()
{
    return scriptErrors;
}

}  // namespace orvane

#include "SurfacePage.moc"
