#include "DocumentLifecycle.h"

#include "Captions.h"
#include "FileErrorMessages.h"
#include "PageTemplate.h"
#include "PageFiles.h"
#include "Prompts.h"
#include "Surface.h"
#include "WebAddress.h"
#include "platform/sourcepane/SourcePane.h"

#include <QCloseEvent>
#include <QUrl>
#include <QWidget>

namespace orvane {

namespace {

const QString kPageFilter = QStringLiteral("HTML |*.htm| ASP | *.asp");

// The source view shows the surface's generator name as the program's own;
// text handed back with only that difference is not a change of the page.
QString comparable(QString html)
{
    return html.replace(QStringLiteral("Kestrova Editor v.1.5"),
                        QStringLiteral("Microsoft DHTML Editing Control"));
}

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
      m_handedText(rch.Text())
{
    window.installEventFilter(this);
    // Losing the focus hands the pane's text to the design surface.
    connect(&rch, &SourcePane::LostFocus, this, [this] { m_handedText = m_rch.Text(); });
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

bool DocumentLifecycle::sourcePaneEdited() const
{
    // Setting the pane's text empties its undo history; only typing fills it.
    return m_rch.isUndoAvailable() && m_rch.Text() != m_handedText;
}

bool DocumentLifecycle::isModified()
{
    if (sourcePaneEdited())
        return true;
    try {
        if (!m_design.IsDirty())
            return false;
        return !m_cleanHtml || comparable(m_design.DocumentHTML()) != *m_cleanHtml;
    } catch (const SurfaceError&) {
        return true;  // the surface cannot tell: assume there is work to keep
    }
}

void DocumentLifecycle::handPaneToSurface()
{
    if (!sourcePaneEdited())
        return;
    try {
        m_design.setDocumentHTML(m_rch.Text());
        m_handedText = m_rch.Text();
    } catch (const SurfaceError&) {
    }
}

void DocumentLifecycle::markClean()
{
    m_handedText = m_rch.Text();
    try {
        m_cleanHtml = comparable(m_design.DocumentHTML());
    } catch (const SurfaceError&) {
        m_cleanHtml.reset();
    }
}

void DocumentLifecycle::forgetSourceFile()
{
    m_sourcePath.clear();
    m_sourceEncoding.reset();
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
    if (!isModified())
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
        const QString path = sourceSavePath();
        saved = path.isEmpty() ? saveSourceAs() : writeSource(path);
    } else {
        handPaneToSurface();
        saved = SaveCurrentDocument(!isLocalPath(m_design.CurrentDocumentPath()));
    }
    return saved ? Saved : Cancelled;
}

bool DocumentLifecycle::SaveCurrentDocument(bool saveAs)
{
    bool result = true;
    try {
        if (!saveAs) {
            const QString path = m_design.CurrentDocumentPath();
            if (path.isEmpty())
                result = false;
            else
                m_design.SaveDocument(path);
        } else {
            m_design.SaveDocument(QString(), true);
        }
        // A cancelled save dialog saves nothing: the page is still unsaved.
        if (result && m_design.IsDirty())
            result = false;
    } catch (const SurfaceError& e) {
        reportSaveError(e.number());
        result = false;
    }
    if (result) {
        forgetSourceFile();
        markClean();
    }
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
    forgetSourceFile();
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
        const QString before = m_design.CurrentDocumentPath();
        try {
            m_design.LoadDocument(QString(), true);
            if (m_design.CurrentDocumentPath() != before || !m_design.IsDirty()) {
                forgetSourceFile();
                markClean();
            }
        } catch (const SurfaceError& e) {
            startBlankAfterLoadError(e.number());
            forgetSourceFile();
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
    forgetSourceFile();
    markClean();
    UpdateTitle();
}

void DocumentLifecycle::openInSourceMode()
{
    if (PromptSaveChanges() == Cancelled)
        return;
    const FileAnswer answer = prompts().openFile(
        {QStringLiteral("Open"), m_dialog.filter, m_dialog.filterIndex, m_dialog.fileName});
    if (!answer.accepted || answer.path.isEmpty())
        return;  // the page stays as it was
    m_dialog.fileName = answer.path;
    m_dialog.filterIndex = answer.filterIndex;
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
    m_sourcePath = answer.path;
    m_sourceEncoding = page.encoding;
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
        forgetSourceFile();
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

QString DocumentLifecycle::sourceSavePath() const
{
    if (!m_sourcePath.isEmpty())
        return m_sourcePath;
    const QString path = m_design.CurrentDocumentPath();
    return isLocalPath(path) ? path : QString();
}

bool DocumentLifecycle::saveSourceAs()
{
    m_dialog.filter = kPageFilter;
    const FileAnswer answer = prompts().saveFile(
        {QStringLiteral("Save As"), m_dialog.filter, m_dialog.filterIndex, m_dialog.fileName});
    if (!answer.accepted || answer.path.isEmpty())
        return false;
    m_dialog.fileName = answer.path;
    m_dialog.filterIndex = answer.filterIndex;
    return writeSource(answer.path);
}

// Both filter entries write the text as it stands: an ASP page is plain text too.
bool DocumentLifecycle::writeSource(const QString& path)
{
    const QString text = m_rch.Text();
    try {
        writePageFile(path, text, m_sourceEncoding.value_or(declaredEncoding(text)));
    } catch (const SurfaceError& e) {
        reportSaveError(e.number());
        return false;
    }
    m_sourcePath = path;
    if (!m_sourceEncoding)
        m_sourceEncoding = declaredEncoding(text);
    // The surface takes the saved text now, so that the page counts as saved.
    if (text != m_handedText) {
        try {
            m_design.setDocumentHTML(text);
        } catch (const SurfaceError&) {
        }
    }
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
