#pragma once
// The inside of a Surface, shared by the files that implement it. C++ talks to
// the page only through call(): a named function under window.orv in our own
// script world, with JSON arguments, answered synchronously.

#include "PageFiles.h"
#include "PageKind.h"
#include "PageState.h"
#include "ServedPage.h"
#include "Surface.h"
#include "PagePreparation.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonValue>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class QEventLoop;
class QTimer;

namespace orvane {

class SurfacePage;

struct Surface::Private {
    Private(Surface* owner, Surface::Mode m) : q(owner), mode(m) {}

    Surface* q;
    Surface::Mode mode;
    QWebEngineView* view = nullptr;
    SurfacePage* page = nullptr;

    // The document as the surface holds it.
    QString text;              // the text last written or loaded, returned while unedited
    QString recoveryText;      // the newest text known, reloaded after a renderer crash
    bool verbatimOnly = false; // frameset or server-script-only: shown, never rewritten
    QUrl base;                 // the real location relative links resolve against
    QUrl documentUrl;          // the file the current text is served from
    QUrl directFile;           // the page's own file when it is loaded as it is (a preview)
    ServedPage served;
    Document* document = nullptr;           // the page's file, encoding and saved state
    std::unique_ptr<Document> ownDocument;  // when nobody else keeps one
    quint64 texts = 0;         // the C++ half of the change record
    // The texts before the latest replaceDocumentHTML calls, newest last, while
    // undo may still load them.
    QStringList replacedTexts;
    // Loads the newest of them when the page's own history has nothing left to undo.
    bool undoReplace();
    fidelity::PageMap sourceMap; // leads the browser's elements back to text (editable pages)
    bool editable() const { return mode == Surface::Mode::Edit && !verbatimOnly; }

    // Loading.
    bool loading = false;
    int loads = 0;  // loads started: a set-up answer for an earlier one is dropped
    int callTimeoutMs = 10000;
    int loadTimeoutMs = 120000;

    int pageCalls = 0;  // every runJavaScript the surface made

    // Synchronous waits (call and load share one guard).
    bool waiting = false;
    QEventLoop* activeLoop = nullptr;
    bool rendererGone = false;

    // Events pushed from the page, emitted once no surface call is running.
    bool pendingDisplayChanged = false;
    bool pendingDocumentComplete = false;
    std::function<void()> pendingStateAnswer;  // refreshStateLater's, held while a call waits
    QTimer* eventTimer = nullptr;

    // The page's state as last reported; see currentState().
    PageState state;
    // The page's state, asked for in one call when the kept one is not current.
    const PageState& currentState();
    // Takes a snapshot the page pushed after a change.
    void onStatePushed(const QJsonObject& snapshot);
    // Asks for the page's state without waiting; `then` runs once it is taken.
    void refreshStateLater(std::function<void()> then);

    // Calls orv.<function>(...args) in our script world and returns its JSON
    // result. A JS exception, a timeout or a re-entrant call throws
    // SurfaceError(Unexpected). A call that may change the page brings the
    // page's state back with its answer.
    QJsonValue call(const QString& function, const QJsonArray& args = {});
    // Emits DisplayChanged once the current surface call has returned.
    void notifyDisplayChanged();
    // Records a change the page cannot see.
    void markDirty();
    // The change record of a text just loaded (the page has no edits yet).
    ChangeRecord loadedRecord() const { return {texts, 0}; }

    void notifyDocumentComplete();
    void flushEventsLater();
    void flushEvents();
    QJsonValue invoke(const QString& function, const QJsonArray& args);
    // Calls orv.<function> without waiting; a failure is logged as a script error.
    void post(const QString& function, const QJsonArray& args = {});
    void waitUntilLoaded();
    // Throws unless the document may be changed: the design surface's, and
    // not a text kept verbatim.
    void ensureChangeable() const;

    // setDocumentHTML's: the new text, its base, and its own file when it is
    // loaded as it is.
    void setText(const QString& html, const QUrl& newBase, const QUrl& file);
    // Loads a page read from where (a file or URL) as the new document,
    // resolving links against newBase, and waits for it.
    void openPage(const QString& where, const DecodedPage& page, const QUrl& newBase, PageKind kind);
    // Serves newText from newBase, or loads file, which holds exactly
    // newText, as it is, and starts loading it; kind is newText's when the
    // caller has classified it already.
    void loadText(const QString& newText, const QUrl& newBase, std::optional<PageKind> kind = {},
                  const QUrl& file = {});
    void startLoad();
    void onLoadFinished();
    // Sets load's page up for editing (script: the call doing it), again
    // while the page's scripts are not there, until deadline; then ends the load.
    void setUpPage(int load, const QString& script, QDeadlineTimer deadline);
    void endLoad();
    void onRendererTerminated();
    // The document's HTML once it has been edited.
    QString serializeAfterEdit();
};

}  // namespace orvane
