#include "DocumentLifecycle.h"

#include "Captions.h"
#include "FileErrorMessages.h"
#include "PageTemplate.h"
#include "PageFiles.h"
#include "Prompts.h"
#include "Surface.h"
#include "WebAddress.h"
#include "SourcePane.h"

#include <QCloseEvent>
#include <QUrl>
#include <QWidget>

namespace orvane {

namespace {

const QString kPageFilter = QStringLiteral("HTML |*.htm| ASP | *.asp");

bool isLocalPath(const QString& path)
{
    return !path.isEmpty() && !path.contains(QLatin1String("://"));
}

// The encoding a text declares for itself (UTF-8 when it declares none).
PageEncoding declaredEncoding(const QString& text)
{
    return decodePage(text.toUtf8()).encoding;
}

}  // namespace

DocumentLifecycle::DocumentLifecycle(QWidget& window, Surface& design, SourcePane& rch,
                                     std::function<bool()> isSourceMode,
                                     std::function<void()> colorSource, QObject* parent)
    : QObject(parent), m_window(&window), m_design(design), m_rch(rch),
      m_isSourceMode(std::move(isSourceMode)), m_colorSource(std::move(colorSource)),
      m_document(design.document())
{
    window.installEventFilter(this);
    m_document.follow([&design] { return design.changeRecord(); },
                      [&rch] { return rch.isModified(); });
}

namespace {

using Handler = void (DocumentLifecycle::*)();
const struct {
    const char* control;
    Handler handler;
} kFileItems[] = {
    {"Label6", &DocumentLifecycle::Label6_Click}, {"Label3", &DocumentLifecycle::Label3_Click},
    {"Label1", &DocumentLifecycle::Label1_Click}, {"Label4", &DocumentLifecycle::Label4_Click},
    {"Label5", &DocumentLifecycle::Label5_Click}, {"Label7", &DocumentLifecycle::Label7_Click},
};

}  // namespace

bool DocumentLifecycle::handles(const QString& control)
{
    for (const auto& item : kFileItems)
        if (control == QLatin1String(item.control))
            return true;
    return false;
}

bool DocumentLifecycle::run(const QString& control)
{
    for (const auto& item : kFileItems) {
        if (control == QLatin1String(item.control)) {
            (this->*item.handler)();
            return true;
        }
    }
    return false;
}

bool DocumentLifecycle::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Show)
        m_closeAgreed = false;
    // Asked once per closing, however many close requests arrive for it.
    if (watched == m_window && event->type() == QEvent::Close && !m_closeAgreed) {
        if (PromptSaveChanges() == Cancelled) {
            event->ignore();
            return true;
        }
        m_closeAgreed = true;
    }
    return false;
}

// --- modified state ------------------------------------------------------

// The pane's save point marks the text the surface holds: setting the pane's
// text sets it, typing moves away from it.
void DocumentLifecycle::handPaneToSurface()
{
    if (!m_rch.isModified())
        return;
    try {
        m_design.setDocumentHTML(m_rch.Text());
        m_rch.setModified(false);
    } catch (const SurfaceError&) {
    }
}

void DocumentLifecycle::markClean()
{
    m_rch.setModified(false);
    m_document.markSaved();
}

// --- messages ---------------------------------------------------------------

// A failed load is reported and leaves a new blank page, as after New.
void DocumentLifecycle::startBlankAfterLoadError(std::int32_t number)
{
    reportLoadError(number);
    try {
        m_design.NewDocument();
    } catch (const SurfaceError&) {
    }
}

void DocumentLifecycle::reportLoadError(std::int32_t number)
{
    prompts().messageBox(loadErrorMessage(number), MsgButtons::OK, MsgIcon::Critical);
}

void DocumentLifecycle::reportSaveError(std::int32_t number)
{
    prompts().messageBox(saveErrorMessage(number), MsgButtons::OK, MsgIcon::Critical);
}

// --- the question and the Edit-mode save --------------------------------------

int DocumentLifecycle::PromptSaveChanges()
{
    if (!m_document.isModified())
        return NotModified;
    const MsgResult answer = prompts().messageBox(
        QStringLiteral("The current document has changed.\r\n\r\nDo you want to save changes?"),
        MsgButtons::YesNoCancel, MsgIcon::Exclamation);
    if (answer == MsgResult::No)
        return Discarded;
    if (answer != MsgResult::Yes)
        return Cancelled;
    bool saved = false;
    if (m_isSourceMode()) {
        const QString path = m_document.savePath();
        saved = path.isEmpty() ? saveSourceAs() : writeSource(path);
    } else {
        handPaneToSurface();
        saved = SaveCurrentDocument(!isLocalPath(m_design.CurrentDocumentPath()));
    }
    return saved ? Saved : Cancelled;
}

bool DocumentLifecycle::SaveCurrentDocument(bool saveAs)
{
    bool result = false;
    try {
        // A cancelled save dialog saves nothing: the page is still unsaved.
        const QString path = saveAs ? QString() : m_design.CurrentDocumentPath();
        result = (saveAs || !path.isEmpty()) && m_design.SaveDocument(path, saveAs);
    } catch (const SurfaceError& e) {
        reportSaveError(e.number());
    }
    if (result)
        m_rch.setModified(false);
    UpdateTitle();
    return result;
}

void DocumentLifecycle::UpdateTitle()
{
    if (m_window)
        m_window->setWindowTitle(captionForPath(m_design.CurrentDocumentPath()));
}

// --- New ----------------------------------------------------------------------

void DocumentLifecycle::Label6_Click()
{
    if (PromptSaveChanges() == Cancelled)
        return;
    try {
        m_design.NewDocument();
    } catch (const SurfaceError&) {
    }
    if (m_isSourceMode()) {
        m_rch.setText(newPageTemplate());
        try {
            m_design.setDocumentHTML(m_rch.Text());
        } catch (const SurfaceError&) {
        }
    }
    m_window->setWindowTitle(newPageCaption());
    markClean();
}

// --- Open ---------------------------------------------------------------------

void DocumentLifecycle::Label3_Click()
{
    if (m_isSourceMode())
        openInSourceMode();
    else
        openInEditMode();
}

void DocumentLifecycle::openInEditMode()
{
    if (PromptSaveChanges() != Cancelled) {
        try {
            if (m_design.LoadDocument(QString(), true))
                markClean();
        } catch (const SurfaceError& e) {
            startBlankAfterLoadError(e.number());
            markClean();
        }
    }
    UpdateTitle();
}

void DocumentLifecycle::openAtStart(const QString& path)
{
    try {
        m_design.LoadDocument(path);
    } catch (const SurfaceError& e) {
        startBlankAfterLoadError(e.number());
    }
    markClean();
    UpdateTitle();
}

void DocumentLifecycle::openInSourceMode()
{
    if (PromptSaveChanges() == Cancelled)
        return;
    FileDialogState& dialog = m_document.CommonDialog1();
    const FileAnswer answer = prompts().openFile(
        {QStringLiteral("Open"), dialog.filter, dialog.filterIndex, dialog.fileName});
    if (!answer.accepted || answer.path.isEmpty())
        return;  // the page stays as it was
    dialog.fileName = answer.path;
    dialog.filterIndex = answer.filterIndex;
    DecodedPage page;
    try {
        page = readPageFile(answer.path);
    } catch (const SurfaceError& e) {
        reportLoadError(e.number());
        return;
    }
    m_rch.setText(page.text);
    m_colorSource();
    try {
        m_design.setDocumentHTML(m_rch.Text());
    } catch (const SurfaceError&) {
    }
    m_window->setWindowTitle(answer.path);
    m_document.sourceFile(answer.path, page.encoding);
    markClean();
}

// --- Open From Web --------------------------------------------------------------

void DocumentLifecycle::Label1_Click()
{
    const InputAnswer answer = prompts().inputBox(QStringLiteral("Enter Url for Page to Open"),
                                                  QStringLiteral("Open From The Web"),
                                                  QStringLiteral("HTTP:\\\\"));
    if (!answer.accepted)
        return;
    const QString url = webAddressFromAnswer(answer.text);
    if (url.isEmpty())
        return;
    if (PromptSaveChanges() == Cancelled)
        return;
    try {
        m_design.LoadURL(url);
        markClean();
    } catch (const SurfaceError&) {
        // The page that could not be fetched leaves the current one as it was.
    }
}

// --- Save, Save As ----------------------------------------------------------------

void DocumentLifecycle::Label4_Click()
{
    if (m_isSourceMode()) {
        saveSourceAs();
        return;
    }
    handPaneToSurface();
    SaveCurrentDocument(true);
}

void DocumentLifecycle::Label5_Click()
{
    Label4_Click();
}

bool DocumentLifecycle::saveSourceAs()
{
    FileDialogState& dialog = m_document.CommonDialog1();
    dialog.filter = kPageFilter;
    const FileAnswer answer = prompts().saveFile(
        {QStringLiteral("Save As"), dialog.filter, dialog.filterIndex, dialog.fileName});
    if (!answer.accepted || answer.path.isEmpty())
        return false;
    dialog.fileName = answer.path;
    dialog.filterIndex = answer.filterIndex;
    return writeSource(answer.path);
}

// Both filter entries write the text as it stands: an ASP page is plain text too.
bool DocumentLifecycle::writeSource(const QString& path)
{
    const QString text = m_rch.Text();
    const PageEncoding encoding = m_document.encoding().value_or(declaredEncoding(text));
    try {
        writePageFile(path, text, encoding);
    } catch (const SurfaceError& e) {
        reportSaveError(e.number());
        return false;
    }
    m_document.sourceFile(path, encoding);
    // The surface takes the saved text now, so that the page counts as saved.
    handPaneToSurface();
    markClean();
    return true;
}

// --- Exit ---------------------------------------------------------------------------

void DocumentLifecycle::Label7_Click()
{
    if (m_window)
        m_window->close();
}

}  // namespace orvane
