#pragma once
// What the main window gets from the document commands, the toolbar state,
// the context menu, the side-bar layout and the shortcuts, built and wired
// together over the window's own controls.

#include <QObject>
#include <memory>

class mainFrm;

namespace orvane {

class DocumentLifecycle;
class EditorContextMenu;
class KeyboardCommands;
class PageColours;
class SideBars;
class ToolbarState;

class MainWindowParts : public QObject {
    Q_OBJECT
public:
    explicit MainWindowParts(mainFrm* window);
    ~MainWindowParts() override;

    DocumentLifecycle& lifecycle() const { return *m_lifecycle; }
    // The page colours dialog's colour buttons; the dialog and the context
    // menu share them, and with them the last colour chosen.
    PageColours& pageColours() const { return *m_pageColours; }

    // A click on the menu item control: the File items run here (closing the
    // File menu first), the others through the window's command catalogue.
    void runItem(const QString& control);

private:
    void runShortcut(const QString& control);

    mainFrm* m_window;
    std::unique_ptr<DocumentLifecycle> m_lifecycle;
    std::unique_ptr<PageColours> m_pageColours;
    std::unique_ptr<ToolbarState> m_toolbarState;
    std::unique_ptr<EditorContextMenu> m_contextMenu;
    std::unique_ptr<SideBars> m_sideBars;
    std::unique_ptr<KeyboardCommands> m_keyboard;
};

}  // namespace orvane
