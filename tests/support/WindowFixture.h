#pragma once
// The main window with its menu bar, toolbar, design surface and source pane,
// shown, its first blank document loaded. Clicks go through real mouse events.

#include "platform/sourcepane/SourcePane.h"
#include "platform/surface/Surface.h"
#include "shell/TabStrip.h"
#include "shell/mainFrm.h"
#include "shell/menubar/CommandWiring.h"
#include "shell/menubar/MenuBar.h"
#include "shell/menubar/MenuLayout.h"
#include "shell/toolbar/ToolButton.h"
#include "shell/toolbar/Toolbar.h"

#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <memory>

namespace orvane::test {

class WindowFixture {
public:
    WindowFixture()
    {
        window = std::make_unique<mainFrm>();
        menuBar = window->menuBar();
        toolbar = window->toolbar();
        surface = window->DHTMLEdit1();
        rch = window->rch();
        wiring = window->commands();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        surface->DocumentHTML();  // waits for the first blank document
        // ...and for the window to have handled it (the font boxes read it then).
        QTRY_VERIFY(window->documentReady());
    }

    // The mode flag is the source pane's visibility.
    void setSourceMode(bool on)
    {
        rch->setVisible(on);
        // The mode's frame in front, as the tab strip leaves it: pointer moves
        // over the page area then reach the pane that is really shown.
        (on ? static_cast<QWidget*>(rch) : static_cast<QWidget*>(surface))->parentWidget()->raise();
    }

    // The header whose panel holds the item.
    QLabel* headerOf(const QString& item) const
    {
        for (const menubar::HeaderRow& h : menubar::menuHeaders())
            if (!h.panel.isEmpty() && menuPanel(h.panel)->findChild<QLabel*>(item))
                return menuBar->header(h.name);
        return nullptr;
    }

    // Moves the pointer over the widget's centre at once. The widget overload
    // moves the platform cursor, whose move can arrive a step later, after a
    // panel closed, and reach whatever lies under that point by then.
    void pointTo(QWidget* w)
    {
        QTest::mouseMove(window->windowHandle(), w->mapTo(window.get(), w->rect().center()));
    }

    // Clicks a menu item the way a user does: over its header, a click on the
    // header, then a click on the item.
    void clickMenuItem(const QString& item)
    {
        QLabel* header = headerOf(item);
        if (!header) {
            pointTo(menuBar->header(item));
            QTest::mouseClick(menuBar->header(item), Qt::LeftButton);  // Help
            return;
        }
        pointTo(header);
        QTest::mouseClick(header, Qt::LeftButton);
        pointTo(menuBar->item(item));
        QTest::mouseClick(menuBar->item(item), Qt::LeftButton);
    }

    // Clicks a menu item whose header the pointer never crossed, so the item
    // keeps the gating it had (all enabled at start).
    void clickUngatedMenuItem(const QString& item)
    {
        QMetaObject::invokeMethod(headerOf(item), "clicked");
        pointTo(menuBar->item(item));
        QTest::mouseClick(menuBar->item(item), Qt::LeftButton);
    }

    void clickTool(const QString& name)
    {
        pointTo(toolbar->button(name));
        QTest::mouseClick(toolbar->button(name), Qt::LeftButton);
    }

    // A control of either kind.
    void click(const QString& control)
    {
        if (toolbar->button(control))
            clickTool(control);
        else
            clickMenuItem(control);
    }

    QWidget* menuPanel(const QString& name) const { return menuBar->panel(name); }

    // A real click on the mode tab (0 Edit, 1 Source, 2 View).
    void clickTab(int index)
    {
        QTabBar* bar = window->TabStrip1()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    // The frame of the three that is in front.
    int frontFrame() const
    {
        const QObjectList& order = window->children();
        int front = -1;
        for (int i = 0; i < 3; ++i)
            if (front < 0 || order.indexOf(window->Frame1(i)) > order.indexOf(window->Frame1(front)))
                front = i;
        return front;
    }

    std::unique_ptr<mainFrm> window;
    MenuBar* menuBar = nullptr;
    Toolbar* toolbar = nullptr;
    Surface* surface = nullptr;
    SourcePane* rch = nullptr;
    CommandWiring* wiring = nullptr;
};

}  // namespace orvane::test
