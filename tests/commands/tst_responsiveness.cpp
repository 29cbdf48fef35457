// The main window at rest makes no calls into the page; a right click shows the
// menu for the spot, with or without a click there before, and its items act there.
#include "ScriptedPrompts.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QMenu>

using namespace orvane;
using namespace orvane::test;

class tst_Responsiveness : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        e = std::make_unique<WindowFixture>();
        loadBody(*e->surface, "<P><SPAN>lead words</SPAN></P><TABLE border=1><TR><TD>cell one</TD><TD>two</TD></TR></TABLE>");
        page = e->surface->view()->focusProxy();
    }
    void cleanup() { e.reset(); }

    void idleWindowMakesNoPageCalls()
    {
        QTest::mouseClick(page, Qt::LeftButton, {}, centreOf("p"));
        QTest::qWait(500);  // the click's own updates
        QSignalSpy changes(e->surface, &Surface::DisplayChanged);
        const int before = e->surface->pageCallCount();
        QTest::qWait(1500);
        QCOMPARE(e->surface->pageCallCount(), before);
        QCOMPARE(changes.count(), 0);
        // The page pushes a caret move; the window's updates for it ask nothing.
        QTest::keyClick(page, Qt::Key_Right);
        QVERIFY(changes.wait(5000));
        QTest::qWait(300);
        QCOMPARE(e->surface->pageCallCount(), before);
    }

    void rightClickShowsMenuForTheSpot_data()
    {
        QTest::addColumn<bool>("clickFirst");
        QTest::addColumn<QString>("at");
        QTest::addColumn<QString>("pick");
        QTest::newRow("cell, clicked there before") << true << "td" << "Insert Row";
        QTest::newRow("cell, no click before") << false << "td" << "Insert Row";
        QTest::newRow("paragraph, clicked there before") << true << "p" << "Background Color";
        QTest::newRow("paragraph, no click before") << false << "p" << "Background Color";
        QTest::newRow("selected words") << false << "span" << "Font Color";
    }

    // The picked item acts: a row is added, or the colour dialog's colour is set.
    void rightClickShowsMenuForTheSpot()
    {
        QFETCH(bool, clickFirst);
        QFETCH(QString, at);
        QFETCH(QString, pick);
        const QPoint spot = centreOf(at);
        if (clickFirst) {
            QTest::mouseClick(page, Qt::LeftButton, {}, spot);
            QTest::qWait(2000);
        }
        if (at == "span")
            selectText(*e->surface, "lead words");
        QTest::mouseClick(page, Qt::RightButton, {}, spot);
        QMenu* menu = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())), 5000);
        QHash<QString, QAction*> items;
        for (QAction* a : menu->actions())
            items[a->text()] = a;
        QVERIFY(items.value("Select All") && items["Select All"]->isEnabled());
        QVERIFY(items.value("Font...") && items["Font..."]->isEnabled());
        QCOMPARE(items.contains("Insert Row"), at == "td");
        QCOMPARE(items["Cut"]->isEnabled(), at == "span");
        ScriptedPrompts prompts;
        prompts.answerColor(QColor(255, 0, 0));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(items[pick]).center());
        if (pick == "Insert Row")
            QTRY_COMPARE(pageScript(*e->surface, "return document.querySelectorAll('tr').length;").toInt(), 2);
        else
            QTRY_COMPARE(prompts.pending(), 0);
        const QString colour = "return getComputedStyle([...document.querySelectorAll('span, span *')].pop()).color;";
        QCOMPARE(pageScript(*e->surface, colour).toString() == "rgb(255, 0, 0)", pick == "Font Color");
        QCOMPARE(e->surface->DOM().bgColor().toUpper(), pick == "Background Color" ? "#FF0000" : "");
    }

private:
    // The centre of the first element matching selector, in view coordinates.
    QPoint centreOf(const QString& selector)
    {
        const QVariantList r = pageScript(*e->surface, QStringLiteral(
            "const b = document.querySelector(%1).getBoundingClientRect();"
            "return [Math.round(b.left + b.width / 2), Math.round(b.top + b.height / 2)];").arg(quoted(selector))).toList();
        return r.size() == 2 ? QPoint(r[0].toInt(), r[1].toInt()) : QPoint();
    }

    std::unique_ptr<WindowFixture> e;
    QWidget* page = nullptr;
};

ORVANE_TEST_MAIN(tst_Responsiveness)
#include "tst_responsiveness.moc"
