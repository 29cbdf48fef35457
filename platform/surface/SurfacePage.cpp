#include "SurfacePage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

Q_LOGGING_CATEGORY(lcSurfaceJs, "orvane.surface.js")

namespace orvane {

namespace {

QString readResource(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("surface resource missing: %s", qPrintable(path));
    return QString::fromUtf8(f.readAll());
}

// Our own scripts: Qt's web channel client, then bridge.js (it defines
// window.orv), then the others in alphabetical order.
QStringList scriptResources()
{
    QStringList names = QDir(QStringLiteral(":/orvane/surface/js"))
                            .entryList({QStringLiteral("*.js")}, QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("bridge.js"));
    names.prepend(QStringLiteral("bridge.js"));
    QStringList paths{QStringLiteral(":/qtwebchannel/qwebchannel.js")};
    for (const QString& n : names)
        paths << QStringLiteral(":/orvane/surface/js/") + n;
    return paths;
}

}  // namespace

SurfacePage::SurfacePage(bool editMode, QObject* parent)
    : QWebEnginePage(parent), m_editMode(editMode)
{
    QWebEngineSettings* s = settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, !editMode);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, editMode);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    injectScripts();
}

void SurfacePage::injectScripts()
{
    const QStringList paths = scriptResources();
    for (const QString& path : paths) {
        QWebEngineScript script;
        script.setName(QFileInfo(path).fileName());
        script.setSourceCode(readResource(path));
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
    // The page's own scripts (preview only) may fail as they like; ours may not.
    const bool ours = !sourceID.startsWith(QLatin1String("orvane-"));
    if (level == ErrorMessageLevel && ours)
        qCWarning(lcSurfaceJs, "%s:%d: %s", qPrintable(sourceID), lineNumber, qPrintable(message));
}

}  // namespace orvane
