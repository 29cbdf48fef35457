#pragma once
// The page's life in the main window: New, Open, Open From Web, Save, Save As
// and Exit in both modes, the question before unsaved work is replaced, and
// the window caption. In Edit mode the design surface loads and saves; in
// Source mode the source pane's text is read and written byte for byte and
// then handed to the design surface. The design surface's Document keeps the
// page's file and saved state; this feeds it the source pane's edits.

#include "Document.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace orvane {

class SourcePane;
class Surface;

class DocumentLifecycle : public QObject {
    Q_OBJECT
public:
    // The answers of PromptSaveChanges.
    enum SaveAnswer { NotModified = 0, Saved = 1, Cancelled = 2, Discarded = 7 };

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

    // Hands the source pane's text to the design surface when it was edited
    // since the pane was last filled or handed over (the pane losing the focus).
    void handPaneToSurface();

protected:
    // Closing the window first asks about unsaved work; Cancel keeps it open.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void markClean();
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

    Document& m_document;
    bool m_closeAgreed = false;
};

}  // namespace orvane
