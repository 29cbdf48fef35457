#pragma once
// What the command rule needs of the main window: the mode flag, the source
// pane, the design surface, the menu bar and the windows commands open.
// Operations may throw (the design surface throws SurfaceError); the rule
// decides whether a failure is skipped.

#include <QString>

namespace orvane {

class CommandHost {
public:
    virtual ~CommandHost() = default;

    // Source mode: the source pane is not hidden.
    virtual bool isSourceMode() const = 0;

    // Source pane.
    virtual void insertSource(const QString& text) = 0;  // replaces the selection, caret after
    virtual void selectAllSource() = 0;
    virtual void findSource(const QString& word) = 0;
    virtual void cutSource() = 0;
    virtual void copySource() = 0;
    virtual void pasteSource() = 0;
    virtual void undoSource() = 0;
    virtual void focusSource() = 0;

    // Design surface.
    virtual void execCommand(int command, int option) = 0;
    virtual void pasteHtml(const QString& html) = 0;
    virtual void focusSurface() = 0;

    // Shows the page's file dialog for opening and returns the chosen file's
    // name without its folder; after Cancel, the dialog's previous choice.
    virtual QString chooseFileTitle() = 0;

    // Menu bar.
    virtual void resetItem(const QString& item) = 0;   // fore colour back to black
    virtual void hidePanel(const QString& panel) = 0;

    // Windows opened by commands.
    virtual void openWindow(const QString& window) = 0;
};

}  // namespace orvane
