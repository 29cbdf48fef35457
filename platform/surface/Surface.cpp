#include "Surface.h"

#include "DocumentText.h"
#include "PageFiles.h"
#include "PageKind.h"
#include "Prompts.h"
#include "SurfaceCommands.h"
#include "SurfacePage.h"
#include "SurfacePrivate.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <utility>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace orvane {

namespace {

const QString fileFilter = QStringLiteral("HTML Files|*.htm;*.html|ASP Files|*.asp|All Files|*.*");

// A page without a file resolves relative links against the working folder.
QUrl untitledBase()
{
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("untitled.htm")));
}

// Watches the view's render widget (created, and after a renderer crash
// re-created, by the view): mouse moves over the page become onmousemove,
// keyboard focus moves into the document so typing lands at its selection,
// and a click or key makes the kept page state wait for the page's next push.
class RenderWidgetWatcher : public QObject {
public:
    RenderWidgetWatcher(QWidget* view, Surface* surface, Surface::Private* d)
        : QObject(surface), m_view(view), m_surface(surface), m_d(d)
    {
        view->installEventFilter(this);
        for (QObject* child : view->children())
            child->installEventFilter(this);
    }
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_view) {
            if (event->type() == QEvent::ChildAdded)
                static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        } else if (event->type() == QEvent::MouseMove) {
            emit m_surface->onmousemove();
        } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) {
            m_d->state.invalidate();
        } else if (event->type() == QEvent::FocusIn && m_d->editable() && !m_d->loading) {
            m_d->post(QStringLiteral("selection.focus"));
        }
        return false;
    }
private:
    QWidget* m_view;
    Surface* m_surface;
    Surface::Private* m_d;
};

// "HTTP:\\host\page" as typed in the program's input box is a URL too.
QUrl urlFromUserText(QString text)
{
    text = text.trimmed();
    static const QRegularExpression schemeWithBackslashes(
        QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:\\\\"));
    if (text.contains(schemeWithBackslashes))
        text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QUrl::fromUserInput(text, QDir::currentPath(), QUrl::AssumeLocalFile);
}

std::int32_t networkErrorNumber(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::ContentGoneError:
        return SurfaceErrorNumber::FileNotFound;
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
        return SurfaceErrorNumber::PathNotFound;
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::AuthenticationRequiredError:
        return SurfaceErrorNumber::AccessDenied;
    default:
        return SurfaceErrorNumber::Unexpected;
    }
}

}  // namespace

Surface::Surface(Mode mode, QWidget* parent, Document* document)
    : QWidget(parent), d(new Private(this, mode))
{
    d->document = document;
    if (!document) {
        d->ownDocument = std::make_unique<Document>();
        d->document = d->ownDocument.get();
        d->document->follow([this] { return changeRecord(); }, {});
    }
    d->view = new QWebEngineView(this);
    d->page = new SurfacePage(mode == Mode::Edit, d->view);
    d->view->setPage(d->page);
    d->view->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->view);
    setFocusProxy(d->view);

    d->eventTimer = new QTimer(this);
    d->eventTimer->setSingleShot(true);
    d->eventTimer->setInterval(10);  // coalesces a burst of pushes into one event
    connect(d->eventTimer, &QTimer::timeout, this, [this] { d->flushEvents(); });
    connect(d->page, &SurfacePage::statePushed, this,
            [this](const QJsonObject& snapshot) { d->onStatePushed(snapshot); });
    commands::attachContextMenu(this, d->view,
                                [this](std::function<void()> then) { d->refreshStateLater(std::move(then)); });
    connect(d->page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        const bool ended = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus
                           || info.status() == QWebEngineLoadingInfo::LoadFailedStatus;
        if (ended && d->loading && info.url() == d->documentUrl)
            d->onLoadFinished();
    });
    connect(d->page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    d->onRendererTerminated();
            });
    new RenderWidgetWatcher(d->view, this, d.get());

    // The surface starts with its own blank document; DocumentComplete follows.
    d->document->surfaceNew(d->loadedRecord());
    d->loadText(blankDocument(), untitledBase());
}

// The view goes first: its page's signals reach lambdas that use the inside.
Surface::~Surface()
{
    delete d->view;
}

Surface::Mode Surface::mode() const
{
    return d->mode;
}

QWebEngineView* Surface::view() const
{
    return d->view;
}

void Surface::setCallTimeout(int milliseconds)
{
    d->callTimeoutMs = milliseconds;
}

int Surface::pageCallCount() const
{
    return d->pageCalls;
}

void Surface::prepareApplication()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

int Surface::scriptErrorCount()
{
    return SurfacePage::scriptErrorCount();
}

QString Surface::DocumentHTML()
{
    if (d->verbatimOnly)
        return d->text;
    if (!d->call(QStringLiteral("doc.isEdited")).toBool())
        return d->text;
    return d->serializeAfterEdit();
}

void Surface::setDocumentHTML(const QString& html)
{
    d->setText(html, d->base, {});
}

void Surface::setDocumentHTML(const QString& html, const QString& location, bool loadFile)
{
    const QUrl where = location.isEmpty()               ? untitledBase()
                       : QFileInfo(location).isAbsolute() ? QUrl::fromLocalFile(location)
                                                          : QUrl(location);
    d->setText(html, where, loadFile && d->mode == Mode::Browse && where.isLocalFile() ? where : QUrl());
}

void Surface::Private::setText(const QString& html, const QUrl& newBase, const QUrl& file)
{
    // Only the unedited text the surface holds is no change; the old document
    // is not written out to find that out.
    bool same = false;
    try {
        same = html == text && (!editable() || !call(QStringLiteral("doc.isEdited")).toBool());
    } catch (const SurfaceError&) {
        // The page cannot answer (its renderer is gone): the new text replaces it.
    }
    if (!same) {
        ++texts;
        replacedTexts.clear();
    }
    loadText(html, newBase, {}, file);
    waitUntilLoaded();
}

void Surface::replaceDocumentHTML(const QString& html)
{
    QStringList earlier = std::exchange(d->replacedTexts, {});
    earlier << DocumentHTML();
    setDocumentHTML(html);
    // Whole pages are kept: a bound on how many.
    constexpr qsizetype kMostKept = 20;
    if (earlier.size() > kMostKept)
        earlier.removeFirst();
    d->replacedTexts = earlier;
}

void Surface::Private::openPage(const QString& where, const DecodedPage& page, const QUrl& newBase,
                                PageKind kind)
{
    ++texts;
    document->surfaceLoaded(where, page.encoding, loadedRecord());
    replacedTexts.clear();
    loadText(page.text, newBase, kind);
    waitUntilLoaded();
}

bool Surface::Private::undoReplace()
{
    if (replacedTexts.isEmpty() || !editable()
        || currentState().status(QStringLiteral("undo")) != DECMDF_DISABLED)
        return false;
    QStringList earlier = replacedTexts;
    q->setDocumentHTML(earlier.takeLast());
    replacedTexts = earlier;
    return true;
}

bool Surface::IsDirty() const
{
    return d->document->isModified();
}

QString Surface::CurrentDocumentPath() const
{
    return d->document->path();
}

Document& Surface::document() const
{
    return *d->document;
}

ChangeRecord Surface::changeRecord() const
{
    if (!d->editable())
        return d->loadedRecord();
    return {d->texts, static_cast<quint64>(d->call(QStringLiteral("doc.editCount")).toInteger())};
}

void Surface::NewDocument()
{
    ++d->texts;
    d->document->surfaceNew(d->loadedRecord());
    d->replacedTexts.clear();
    d->loadText(blankDocument(), untitledBase());
    d->waitUntilLoaded();
}

bool Surface::LoadDocument(const QString& path, bool prompt)
{
    QString file = path;
    if (file.isEmpty()) {
        if (!prompt)
            throw SurfaceError(SurfaceErrorNumber::InvalidArgument, QStringLiteral("no file name"));
        const FileAnswer answer =
            prompts().openFile({QStringLiteral("Open"), fileFilter, 1, CurrentDocumentPath()});
        if (!answer.accepted)
            return false;  // cancelling the dialog leaves the document as it was
        file = answer.path;
    }
    const DecodedPage page = readPageFile(file);
    const PageKind kind = classifyPage(page.text);
    switch (kind) {
    case PageKind::Frameset:
        throw SurfaceError(SurfaceErrorNumber::Frameset,
                           QStringLiteral("%1: the document contains a frameset").arg(file));
    case PageKind::ServerScriptOnly:
        throw SurfaceError(SurfaceErrorNumber::ServerScriptOnly,
                           QStringLiteral("%1: the document is only server script").arg(file));
    case PageKind::Editable:
        break;
    }
    const QString absolute = QFileInfo(file).absoluteFilePath();
    d->openPage(absolute, page, QUrl::fromLocalFile(absolute), kind);
    return true;
}

void Surface::LoadURL(const QString& url)
{
    const QUrl u = urlFromUserText(url);
    if (url.trimmed().isEmpty() || !u.isValid())
        throw SurfaceError(SurfaceErrorNumber::InvalidArgument,
                           QStringLiteral("not a URL: %1").arg(url));
    DecodedPage page;
    if (u.isLocalFile()) {
        page = readPageFile(u.toLocalFile());
    } else if (u.scheme() == QLatin1String("http") || u.scheme() == QLatin1String("https")) {
        if (u.host().isEmpty())
            throw SurfaceError(SurfaceErrorNumber::InvalidArgument,
                               QStringLiteral("not a URL: %1").arg(url));
        if (d->waiting)
            throw SurfaceError(SurfaceErrorNumber::Unexpected,
                               QStringLiteral("surface call made while another waits"));
        QNetworkAccessManager network;
        QNetworkRequest request(u);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setTransferTimeout(d->loadTimeoutMs);
        QNetworkReply* reply = network.get(request);
        QEventLoop loop;
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        {
            struct Scope {
                Private* d;
                ~Scope() { d->waiting = false; d->flushEventsLater(); }
            } scope{d.get()};
            d->waiting = true;
            if (!reply->isFinished())
                loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        if (reply->error() != QNetworkReply::NoError)
            throw SurfaceError(networkErrorNumber(reply->error()),
                               QStringLiteral("%1: %2").arg(url, reply->errorString()));
        page = decodePage(reply->readAll());
    } else {
        throw SurfaceError(SurfaceErrorNumber::InvalidArgument,
                           QStringLiteral("cannot load %1").arg(url));
    }
    const QString where = u.isLocalFile() ? QFileInfo(u.toLocalFile()).absoluteFilePath() : u.toString();
    d->openPage(where, page, u.isLocalFile() ? QUrl::fromLocalFile(where) : u, classifyPage(page.text));
}

bool Surface::SaveDocument(const QString& path, bool prompt)
{
    QString file = path;
    if (file.isEmpty()) {
        if (!prompt)
            throw SurfaceError(SurfaceErrorNumber::InvalidArgument, QStringLiteral("no file name"));
        const FileAnswer answer =
            prompts().saveFile({QStringLiteral("Save As"), fileFilter, 1, CurrentDocumentPath()});
        if (!answer.accepted)
            return false;  // cancelling the dialog saves nothing and changes nothing
        file = answer.path;
    }
    const QUrl asUrl(file);
    if (asUrl.isLocalFile())
        file = asUrl.toLocalFile();
    else if (asUrl.scheme().size() > 1)
        throw SurfaceError(SurfaceErrorNumber::InvalidArgument,
                           QStringLiteral("cannot save to %1").arg(file));
    writePageFile(file, DocumentHTML(), d->document->encoding().value_or(PageEncoding{"UTF-8", false}));
    const QString absolute = QFileInfo(file).absoluteFilePath();
    d->base = QUrl::fromLocalFile(absolute);
    d->document->surfaceSaved(absolute, changeRecord());
    return true;
}

}  // namespace orvane
