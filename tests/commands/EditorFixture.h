#pragma once
// A window holding what the commands work on: the menu bar, the toolbar, a
// real design surface and a real source pane, wired as the main window wires
// them. Clicks go through real mouse events.

#include "platform/sourcepane/SourcePane.h"
#include "shell/menubar/CommandWiring.h"
#include "shell/menubar/MenuBar.h"
#include "shell/menubar/MenuLayout.h"
#include "shell/toolbar/ToolButton.h"
#include "shell/toolbar/Toolbar.h"

#include <Surface.h>

#include <QLabel>
#include <QTest>
#include <memory>

namespace orvane::test {

class EditorFixture {
public:
    EditorFixture()
    {
        window = std::make_unique<QWidget>();
        window->resize(751, 575);
        menuBar = new MenuBar(window.get(), [this] { return !rch->isHidden(); });
        surface = new Surface(Surface::Mode::Edit, window.get());
        surface->setObjectName("DHTMLEdit1");
        surface->setGeometry(0, 20, 560, 330);
        rch = new SourcePane(window.get());
        rch->setObjectName("rch");
        rch->setGeometry(0, 360, 560, 200);
        rch->hide();
        menuBar->watchSourcePane(rch);
        auto* picture2 = new QWidget(window.get());
        picture2->setObjectName("Picture2");
        picture2->setGeometry(menubar::pxRect(9690, 1460, 1335, 2055));
        auto* picture3 = new QWidget(window.get());
        picture3->setObjectName("Picture3");
        picture3->setGeometry(menubar::pxRect(9720, 4440, 1215, 2535));
        toolbar = new Toolbar(picture2, picture3);
        wiring = new CommandWiring(menuBar, toolbar, surface, rch,
                                   [this] { return !rch->isHidden(); }, window.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        surface->DocumentHTML();  // waits for the first blank document
    }

    void setSourceMode(bool on) { rch->setVisible(on); }

    // The header whose panel holds the item.
    QLabel* headerOf(const QString& item) const
    {
        for (const menubar::HeaderSpec& h : menubar::menuHeaders())
            if (!h.panel.isEmpty() && menuPanel(h.panel)->findChild<QLabel*>(item))
                return menuBar->header(h.name);
        return nullptr;
    }

    // Clicks a menu item the way a user does: over its header, a click on the
    // header, then a click on the item.
    void clickMenuItem(const QString& item)
    {
        QLabel* header = headerOf(item);
        if (!header) {
            QTest::mouseMove(menuBar->header(item));
            QTest::mouseClick(menuBar->header(item), Qt::LeftButton);  // Help
            return;
        }
        QTest::mouseMove(header);
        QTest::mouseClick(header, Qt::LeftButton);
        QTest::mouseMove(menuBar->item(item));
        QTest::mouseClick(menuBar->item(item), Qt::LeftButton);
    }

    // Clicks a menu item whose header the pointer never crossed, so the item
    // keeps the gating it had (all enabled at start).
    void clickUngatedMenuItem(const QString& item)
    {
        QMetaObject::invokeMethod(headerOf(item), "clicked");
        QTest::mouseMove(menuBar->item(item));
        QTest::mouseClick(menuBar->item(item), Qt::LeftButton);
    }

    void clickTool(const QString& name)
    {
        QTest::mouseMove(toolbar->button(name));
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

    std::unique_ptr<QWidget> window;
    MenuBar* menuBar = nullptr;
    Toolbar* toolbar = nullptr;
    Surface* surface = nullptr;
    SourcePane* rch = nullptr;
    CommandWiring* wiring = nullptr;
};

}  // namespace orvane::test
