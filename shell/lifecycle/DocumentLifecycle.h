#pragma once
// The page's life in the main window: New, Open, Open From Web, Save, Save As
// and Exit in both modes, the question before unsaved work is replaced, and
// the window caption. In Edit mode the design surface loads and saves; in
// Source mode the source pane's text is read and written byte for byte and
// then handed to the design surface.

#include "PageCodec.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class QWidget;

namespace orvane {

class SourcePane;
class Surface;

class DocumentLifecycle : public QObject {
    Q_OBJECT
public:
    // The answers of PromptSaveChanges.
    enum SaveAnswer { NotModified = 0, Saved = 1, Cancelled = 2, Discarded = 7 };

    // The file dialog of Source mode: its filter, filter entry and last file.
    struct FileDialogState {
        QString filter;
        int filterIndex = 1;
        QString fileName;
    };

    // colorSource colours the source pane's tags and shows it (Source mode).
    DocumentLifecycle(QWidget& window, Surface& design, SourcePane& rch,
                      std::function<bool()> isSourceMode, std::function<void()> colorSource,
                      QObject* parent = nullptr);

    // The File menu: New, Open, Open From Web, Save, Save As, Exit.
    void Label6_Click();
    void Label3_Click();
    void Label1_Click();
    void Label4_Click();
    void Label5_Click();
    void Label7_Click();
    // Whether control is one of the File menu items above.
    static bool handles(const QString& control);
    // Runs the File menu item with this objectName; false for any other control.
    bool run(const QString& control);

    // Opens path as Open in Edit mode does, without a dialog (the page named
    // on the command line).
    void openAtStart(const QString& path);

    int PromptSaveChanges();
    bool SaveCurrentDocument(bool saveAs);
    void UpdateTitle();

    // Unsaved work: the design surface changed since the page was loaded or
    // saved, or the source pane's text changed since it was last handed over.
    bool isModified();

    const FileDialogState& CommonDialog1() const { return m_dialog; }

    // The page's file on disk (the last one opened or saved in either mode),
    // empty while the page has none.
    QString sourceSavePath() const;

protected:
    // Closing the window first asks about unsaved work; Cancel keeps it open.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool sourcePaneEdited() const;
    void handPaneToSurface();
    void markClean();
    void forgetSourceFile();
    void openInEditMode();
    void openInSourceMode();
    bool saveSourceAs();
    bool writeSource(const QString& path);
    void reportLoadError(std::int32_t number);
    void startBlankAfterLoadError(std::int32_t number);
    void reportSaveError(std::int32_t number);

    QPointer<QWidget> m_window;
    Surface& m_design;
    SourcePane& m_rch;
    std::function<bool()> m_isSourceMode;
    std::function<void()> m_colorSource;

    FileDialogState m_dialog;
    QString m_sourcePath;                         // file of the last Source-mode open or save
    std::optional<PageEncoding> m_sourceEncoding; // encoding of that file
    QString m_handedText;                         // pane text the surface last received
    std::optional<QString> m_cleanHtml;           // surface HTML when last loaded or saved
    bool m_closeAgreed = false;
};

}  // namespace orvane
