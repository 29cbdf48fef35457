// The synchronous bridge to the page, the load wait and the queued events.
#include "SurfacePrivate.h"

#include "DocumentText.h"
#include "PageKind.h"
#include "SurfacePage.h"
#include "PageRebuild.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebEngineScript>
#include <memory>
#include <utility>

namespace orvane {

namespace {

// Marks a surface as waiting for the length of one synchronous wait.
class WaitScope {
public:
    WaitScope(Surface::Private* d, QEventLoop* loop) : m_d(d)
    {
        m_d->waiting = true;
        m_d->activeLoop = loop;
    }
    ~WaitScope()
    {
        m_d->waiting = false;
        m_d->activeLoop = nullptr;
        m_d->flushEventsLater();
    }
private:
    Surface::Private* m_d;
};

// Functions that only read the page: their answers need no new state.
bool readsOnly(const QString& function)
{
    static const QStringList readers{
        QStringLiteral("cmd.status"),      QStringLiteral("doc.isEdited"),
        QStringLiteral("doc.editCount"),   QStringLiteral("fidelity.serialize"),
        QStringLiteral("selection.type"),  QStringLiteral("selection.text"),
        QStringLiteral("page.color"),      QStringLiteral("state.snapshot"),
    };
    return readers.contains(function);
}

QString invocation(const QString& function, const QJsonArray& args)
{
    const QJsonArray call{function, args, !readsOnly(function)};
    // "[name,[args],withState]" becomes the argument list of orv.bridge.invoke;
    // before our scripts are there the answer is empty.
    const QByteArray json = QJsonDocument(call).toJson(QJsonDocument::Compact);
    return QStringLiteral("window.orv ? orv.bridge.invoke(") + QString::fromUtf8(json.mid(1, json.size() - 2))
           + QStringLiteral(") : ''");
}

// The page's JSON answer to an invocation; empty when our scripts were not
// there or the page went away before it ran.
QJsonObject answerOf(const QString& result)
{
    return QJsonDocument::fromJson(result.toUtf8()).object();
}

// What an answer nobody waits for leaves: the page's state (when the surface
// is still there to keep it), and a failure logged as a script error.
void takeUnwaitedAnswer(PageState* state, const QString& function, const QJsonObject& answer)
{
    if (state)
        state->accept(answer.value(QLatin1String("state")).toObject());
    if (!answer.isEmpty() && !answer.value(QLatin1String("ok")).toBool())
        SurfacePage::reportScriptError(function + QStringLiteral(": ")
                                       + answer.value(QLatin1String("error")).toString());
}

}  // namespace

QJsonValue Surface::Private::call(const QString& function, const QJsonArray& args)
{
    waitUntilLoaded();
    return invoke(function, args);
}

QJsonValue Surface::Private::invoke(const QString& function, const QJsonArray& args)
{
    if (waiting)
        throw SurfaceError(SurfaceErrorNumber::Unexpected,
                           QStringLiteral("surface call %1 made while another waits").arg(function));
    struct State {
        bool done = false;
        QString answer;
        QEventLoop* loop = nullptr;
    };
    // A new page's scripts may come a little after its load has ended (a
    // fresh renderer on a busy machine). Until they answer, the call, which
    // has not run, is made again now and then, within the same time limit;
    // user input waits meanwhile and is handled afterwards.
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(callTimeoutMs);
    QJsonObject answer;
    std::shared_ptr<State> state;
    for (int attempt = 0;; ++attempt) {
        if (attempt > 0) {
            WaitScope scope(this, &loop);
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        state = std::make_shared<State>();
        ++pageCalls;
        page->runJavaScript(invocation(function, args), QWebEngineScript::ApplicationWorld,
                            [state](const QVariant& result) {
                                state->done = true;
                                state->answer = result.toString();
                                if (state->loop)
                                    state->loop->quit();
                            });
        if (!state->done) {
            state->loop = &loop;
            WaitScope scope(this, &loop);
            while (!state->done && !rendererGone && timeout.isActive())
                loop.exec(QEventLoop::ExcludeUserInputEvents);
            state->loop = nullptr;
        }
        if (!state->done)
            break;
        answer = answerOf(state->answer);
        if (!answer.isEmpty() || rendererGone || !timeout.isActive())
            break;
    }
    if (!state->done)
        throw SurfaceError(SurfaceErrorNumber::Unexpected,
                           rendererGone ? QStringLiteral("%1: the page's renderer stopped").arg(function)
                                        : QStringLiteral("%1: no answer from the page").arg(function));
    if (!readsOnly(function) && !this->state.accept(answer.value(QLatin1String("state")).toObject()))
        this->state.invalidate();
    if (answer.isEmpty())
        throw SurfaceError(SurfaceErrorNumber::Unexpected,
                           QStringLiteral("%1: the page's scripts are not there").arg(function));
    if (!answer.value(QLatin1String("ok")).toBool())
        throw SurfaceError(SurfaceErrorNumber::Unexpected,
                           function + QStringLiteral(": ") + answer.value(QLatin1String("error")).toString());
    return answer.value(QLatin1String("value"));
}

void Surface::Private::post(const QString& function, const QJsonArray& args)
{
    ++pageCalls;
    if (!readsOnly(function))
        state.invalidate();
    QPointer<Surface> owner(q);
    page->runJavaScript(invocation(function, args), QWebEngineScript::ApplicationWorld,
                        [function, owner](const QVariant& result) {
                            takeUnwaitedAnswer(owner ? &owner->d->state : nullptr, function,
                                               answerOf(result.toString()));
                        });
}

const PageState& Surface::Private::currentState()
{
    if (!state.current())
        state.accept(call(QStringLiteral("state.snapshot")).toObject());
    return state;
}

void Surface::Private::refreshStateLater(std::function<void()> then)
{
    if (loading) {
        pendingStateAnswer = std::move(then);  // its handler's questions wait for the load
        flushEventsLater();
        return;
    }
    ++pageCalls;
    QPointer<Surface> owner(q);
    page->runJavaScript(invocation(QStringLiteral("state.snapshot"), {}), QWebEngineScript::ApplicationWorld,
                        [owner, then = std::move(then)](const QVariant& result) {
                            if (!owner)
                                return;
                            Private* d = owner->d.get();
                            d->state.accept(answerOf(result.toString()).value(QLatin1String("value")).toObject());
                            // Its handler never runs inside another call's wait.
                            d->pendingStateAnswer = then;
                            d->flushEventsLater();
                        });
}

void Surface::Private::onStatePushed(const QJsonObject& snapshot)
{
    if (loading)
        return;  // the document that pushed it is being replaced
    state.accept(snapshot);
    notifyDisplayChanged();
}

void Surface::Private::waitUntilLoaded()
{
    if (!loading)
        return;
    if (waiting)
        throw SurfaceError(SurfaceErrorNumber::Unexpected,
                           QStringLiteral("surface call made while another waits"));
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(loadTimeoutMs);
    {
        WaitScope scope(this, &loop);
        while (loading && timeout.isActive())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (loading)
        throw SurfaceError(SurfaceErrorNumber::Unexpected,
                           QStringLiteral("the document did not finish loading"));
}

void Surface::Private::notifyDisplayChanged()
{
    pendingDisplayChanged = true;
    flushEventsLater();
}

void Surface::Private::notifyDocumentComplete()
{
    pendingDocumentComplete = true;
    // A finished load is told on the event loop's next turn; only the pushes
    // of a burst wait for the short coalescing delay.
    QTimer::singleShot(0, q, [this] { flushEvents(); });
}

void Surface::Private::markDirty()
{
    ++texts;
}

void Surface::Private::flushEventsLater()
{
    if ((pendingDisplayChanged || pendingDocumentComplete || pendingStateAnswer)
        && !eventTimer->isActive())
        eventTimer->start();
}

void Surface::Private::flushEvents()
{
    if (waiting)
        return;  // the wait's end schedules the flush again
    if (pendingDocumentComplete) {
        pendingDocumentComplete = false;
        emit q->DocumentComplete();
    }
    if (pendingDisplayChanged) {
        pendingDisplayChanged = false;
        emit q->DisplayChanged();
    }
    if (pendingStateAnswer)
        std::exchange(pendingStateAnswer, {})();
}

void Surface::Private::loadText(const QString& newText, const QUrl& newBase, std::optional<PageKind> kind,
                                const QUrl& file)
{
    text = newText;
    recoveryText = newText;
    base = newBase;
    directFile = file;
    verbatimOnly = (kind ? *kind : classifyPage(newText)) != PageKind::Editable;
    startLoad();
}

void Surface::Private::startLoad()
{
    sourceMap = {};
    state.invalidate();
    documentUrl = directFile.isValid() ? directFile
                                       : served.write(prepareForBrowser(text, editable() ? &sourceMap : nullptr),
                                                      linkBase(text, base));
    loading = true;
    ++loads;
    rendererGone = false;
    page->expectNavigation(documentUrl);
    page->load(documentUrl);
}

void Surface::Private::onLoadFinished()
{
    if (!editable()) {
        endLoad();
        return;
    }
    // The load ends once the page is set up for editing: calls wait for it.
    setUpPage(loads, invocation(QStringLiteral("doc.open"), {fidelity::scriptMap(sourceMap)}),
              QDeadlineTimer(loadTimeoutMs));
}

void Surface::Private::setUpPage(int load, const QString& script, QDeadlineTimer deadline)
{
    ++pageCalls;
    QPointer<Surface> owner(q);
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [=](const QVariant& result) {
        if (!owner)
            return;
        Private* d = owner->d.get();
        if (d->loads != load || !d->loading || d->rendererGone)
            return;  // a newer load, or the reload after a crash, sets its own page up
        const QJsonObject answer = answerOf(result.toString());
        if (answer.isEmpty()) {
            // Our scripts are not there yet (a fresh renderer on a busy
            // machine): again shortly; past the deadline the load never ends
            // and the waiting call reports it.
            if (!deadline.hasExpired())
                QTimer::singleShot(20, owner, [=] {
                    if (owner)
                        owner->d->setUpPage(load, script, deadline);
                });
            return;
        }
        takeUnwaitedAnswer(&d->state, QStringLiteral("doc.open"), answer);
        d->endLoad();
    });
}

void Surface::Private::endLoad()
{
    loading = false;
    if (activeLoop)
        activeLoop->quit();
    notifyDocumentComplete();
}

void Surface::Private::onRendererTerminated()
{
    // The call waiting for the page fails; the next calls wait for the reload
    // of what the surface last knew, started once the failed call has unwound.
    rendererGone = true;
    loading = true;
    if (activeLoop)
        activeLoop->quit();
    QTimer::singleShot(0, q, [this] {
        // The reloaded page has lost its edit count: count the reload as a change.
        ++texts;
        text = recoveryText;
        startLoad();
    });
}

QString Surface::Private::serializeAfterEdit()
{
    // Only what the user changed is rewritten; the rest is the text as loaded.
    const QJsonArray changed = call(QStringLiteral("fidelity.serialize")).toArray();
    recoveryText = fidelity::rebuildPage(text, sourceMap, fidelity::changedElements(changed));
    return recoveryText;
}

}  // namespace orvane
