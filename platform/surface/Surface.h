#pragma once
// The editing surface: a QWebEngineView over a contentEditable document (edit
// mode) or a read-only preview (browse mode). Its public members keep the
// published names of the editing control the program drives. Calls are
// synchronous for the caller; failures throw SurfaceError.

#include "Document.h"
#include "SurfaceTypes.h"

#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <memory>

class QWebEngineView;

namespace orvane {

class Surface;

// A text range from the selection; pasteHTML replaces it with a fragment.
class SurfaceRange {
public:
    void pasteHTML(const QString& html);
    QString text() const;
private:
    friend class SurfaceSelection;
    explicit SurfaceRange(Surface* s) : m_surface(s) {}
    Surface* m_surface;
};

class SurfaceSelection {
public:
    SurfaceRange createRange() const { return SurfaceRange(m_surface); }
    QString type() const;  // "None", "Text" or "Control"
private:
    friend class SurfaceDocument;
    explicit SurfaceSelection(Surface* s) : m_surface(s) {}
    Surface* m_surface;
};

// The document object (DOM): its selection and its four page colours, which
// land on the BODY as BGCOLOR, LINK, VLINK and ALINK.
class SurfaceDocument {
public:
    SurfaceSelection selection() const { return SurfaceSelection(m_surface); }
    QString bgColor() const;
    void setBgColor(const QString& c);
    QString linkColor() const;
    void setLinkColor(const QString& c);
    QString vlinkColor() const;
    void setVlinkColor(const QString& c);
    QString alinkColor() const;
    void setAlinkColor(const QString& c);
private:
    friend class Surface;
    explicit SurfaceDocument(Surface* s) : m_surface(s) {}
    Surface* m_surface;
};

class Surface : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Edit, Browse };
    // The surface records its file, encoding and saves in document, which must
    // outlive it; without one it keeps its own.
    explicit Surface(Mode mode, QWidget* parent = nullptr, Document* document = nullptr);
    ~Surface() override;

    Mode mode() const;

    QString DocumentHTML();
    void setDocumentHTML(const QString& html);
    // As setDocumentHTML, for the text of the page at location (a local
    // file's absolute path or a URL; empty for a new page), which relative
    // links resolve against. With loadFile, the text being exactly that
    // local file (see previewLoadsFile), a preview loads the file itself, as
    // a browser opening it would.
    void setDocumentHTML(const QString& html, const QString& location, bool loadFile);
    // As setDocumentHTML, for a rewrite of the whole page that the user can
    // take back: once the edits made after it are undone, DECMD_UNDO loads the
    // text the page had before, in one step (the latest 20 such rewrites).
    // Any other load that changes the text forgets them.
    void replaceDocumentHTML(const QString& html);
    SurfaceDocument DOM() { return SurfaceDocument(this); }
    // Whether the page changed since it was last loaded or saved (the document's answer).
    bool IsDirty() const;
    QString CurrentDocumentPath() const;
    Document& document() const;
    // Grows with every change of the surface's document; see ChangeRecord.
    ChangeRecord changeRecord() const;

    QVariant ExecCommand(int command, int option = OLECMDEXECOPT_DODEFAULT,
                         const QVariant& value = {});
    int QueryStatus(int command);
    void SetContextMenu(const QStringList& texts, const QList<int>& states);

    void NewDocument();
    void LoadURL(const QString& url);
    // Both return false when the user cancels the file dialog.
    bool LoadDocument(const QString& path, bool prompt = false);
    bool SaveDocument(const QString& path, bool prompt = false);

    QWebEngineView* view() const;

    // The longest wait for the page's answer to a synchronous call (10 s by
    // default); past it the call throws SurfaceError(Unexpected).
    void setCallTimeout(int milliseconds);

    // How many calls the surface has made into its page so far, waited for
    // or not: an idle surface makes none.
    int pageCallCount() const;

    // Shares OpenGL contexts, as the web engine needs; every program with a
    // surface calls it before its QApplication exists.
    static void prepareApplication();

    // Errors raised so far by the surface's own scripts (never by a page's
    // scripts); each is also logged on the "orvane.surface.js" category.
    static int scriptErrorCount();

    // The inside, defined in SurfacePrivate.h for the files that implement it.
    struct Private;

signals:
    // DocumentComplete and DisplayChanged are queued: they are emitted once
    // the surface call that caused them has returned, never inside one.
    void DocumentComplete();
    void DisplayChanged();
    void ShowContextMenu(int x, int y);
    void ContextMenuAction(int index);
    void onmousemove();

private:
    friend class SurfaceRange;
    friend class SurfaceSelection;
    friend class SurfaceDocument;
    std::unique_ptr<Private> d;
};

}  // namespace orvane
