#pragma once
// Runs the command of every menu item, the Help header and every toolbar
// control when it is clicked, under the command rule, on the main window's
// design surface, source pane and menu bar.

#include "CommandHost.h"
#include "CommandRule.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

namespace orvane {

class MenuBar;
class SourcePane;
class Surface;
class Toolbar;

class CommandWiring : public QObject, private CommandHost {
    Q_OBJECT
public:
    CommandWiring(MenuBar* menuBar, Toolbar* toolbar, Surface* designSurface, SourcePane* rch,
                  std::function<bool()> isSourceMode, QObject* parent = nullptr);

    // Lets the commands that open `window` (tblfFrm, StyleFrm, clrfrm, frmMain,
    // frmFtp, javaWiz, funcFrm, IlibFrm, SlibFrm, helpFrm) show it modally.
    // Until then those commands do nothing.
    void setWindow(const QString& window, std::function<void()> show);

    // One click on the control; controls without a command are ignored.
    void run(const QString& control);

private:
    bool isSourceMode() const override;
    void insertSource(const QString& text) override;
    void selectAllSource() override;
    void findSource(const QString& word) override;
    void cutSource() override;
    void copySource() override;
    void pasteSource() override;
    void undoSource() override;
    void focusSource() override;
    void execCommand(int command, int option) override;
    void pasteHtml(const QString& html) override;
    void focusSurface() override;
    QString chooseFileTitle() override;
    void resetItem(const QString& item) override;
    void hidePanel(const QString& panel) override;
    void openWindow(const QString& window) override;

    QPointer<MenuBar> m_menuBar;
    QPointer<Surface> m_surface;
    QPointer<SourcePane> m_rch;
    std::function<bool()> m_isSourceMode;
    QHash<QString, std::function<void()>> m_windows;
    CommandRule m_rule;
};

}  // namespace orvane
