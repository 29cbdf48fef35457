#pragma once
// The main window, shown, its first blank document loaded. Clicks go through
// real mouse events.

#include "SourcePane.h"
#include "Surface.h"
#include "TabStrip.h"
#include "mainFrm.h"
#include "CommandWiring.h"
#include "MenuBar.h"
#include "MenuLayout.h"
#include "ToolButton.h"
#include "Toolbar.h"

#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <memory>

namespace orvane::test {

class WindowFixture {
public:
    WindowFixture()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // The first blank document, once the page's scripts answer.
        QVERIFY(QTest::qWaitFor([this] {
            try {
                surface->DocumentHTML();
                return true;
            } catch (const SurfaceError&) {
                return false;
            }
        }, 30000));
        QTRY_VERIFY(window->documentReady());  // ...and for the window to have handled it
    }

    // The mode flag is the source pane's visibility; its frame comes to the front.
    void setSourceMode(bool on)
    {
        rch->setVisible(on);
        (on ? static_cast<QWidget*>(rch) : static_cast<QWidget*>(surface))->parentWidget()->raise();
    }

    // Moves the pointer at once (a platform cursor move could arrive late).
    void pointTo(QWidget* w)
    {
        QTest::mouseMove(window->windowHandle(), w->mapTo(window.get(), w->rect().center()));
    }

    // Clicks a menu item as a user does: over its header, a click on the
    // header, then a click on the item. Help is a header of its own.
    void clickMenuItem(const QString& item)
    {
        QLabel* header = headerOf(item);
        pointTo(header);
        QTest::mouseClick(header, Qt::LeftButton);
        if (header == menuBar->header(item))
            return;
        pointTo(menuBar->item(item));
        QTest::mouseClick(menuBar->item(item), Qt::LeftButton);
    }

    // The same without crossing the header: no gating on the way.
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

    void click(const QString& control) { toolbar->button(control) ? clickTool(control) : clickMenuItem(control); }

    // A real click on the mode tab (0 Edit, 1 Source, 2 View).
    void clickTab(int index)
    {
        QTabBar* bar = window->TabStrip1()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    // The frame of the three that is in front: the one a click in the middle
    // of the tabs' page reaches (-1 when something else covers it).
    int frontFrame() const
    {
        QWidget* hit = window->childAt(window->Frame1(0)->geometry().center());
        for (int i = 0; i < 3; ++i)
            if (hit && (hit == window->Frame1(i) || window->Frame1(i)->isAncestorOf(hit)))
                return i;
        return -1;
    }

    std::unique_ptr<mainFrm> window = std::make_unique<mainFrm>();
    MenuBar* menuBar = window->menuBar();
    Toolbar* toolbar = window->toolbar();
    Surface* surface = window->DHTMLEdit1();
    SourcePane* rch = window->rch();
    CommandWiring* wiring = window->commands();

private:
    // The header whose panel holds the item; the item's own header for Help.
    QLabel* headerOf(const QString& item) const
    {
        for (const menubar::HeaderRow& h : menubar::menuHeaders())
            if (!h.panel.isEmpty() && menuBar->panel(h.panel)->findChild<QLabel*>(item))
                return menuBar->header(h.name);
        return menuBar->header(item);
    }
};

}  // namespace orvane::test
