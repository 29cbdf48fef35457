// The main window with its design surface stays responsive: at rest it makes
// no calls into the page, and a right click shows the menu for the spot
// clicked at once, with or without a click there before.

#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QMenu>

using namespace orvane;
using namespace orvane::test;

namespace {

const QString kTablePage =
    QStringLiteral("<P>lead words</P><TABLE border=1><TR><TD>cell one</TD><TD>cell two</TD></TR></TABLE>");

// The centre of the first element matching selector, in the view's coordinates.
QPoint centreOf(Surface& s, const QString& selector)
{
    const QVariantList r = pageScript(s, QStringLiteral(
        "const b = document.querySelector(%1).getBoundingClientRect();"
        "return [Math.round(b.left + b.width / 2), Math.round(b.top + b.height / 2)];").arg(quoted(selector)))
                               .toList();
    return r.size() == 2 ? QPoint(r[0].toInt(), r[1].toInt()) : QPoint();
}

}  // namespace

class tst_Responsiveness : public QObject {
    Q_OBJECT
private slots:
    void init() { e = std::make_unique<WindowFixture>(); }
    void cleanup() { e.reset(); }

    void idleWindowMakesNoPageCalls();
    void rightClickShowsMenuForTheSpot_data();
    void rightClickShowsMenuForTheSpot();

private:
    std::unique_ptr<WindowFixture> e;
};

void tst_Responsiveness::idleWindowMakesNoPageCalls()
{
    loadBody(*e->surface, kTablePage);
    QWidget* page = e->surface->view()->focusProxy();
    QTest::mouseClick(page, Qt::LeftButton, {}, centreOf(*e->surface, "p"));
    QTest::qWait(500);  // the click's own updates
    QSignalSpy changes(e->surface, &Surface::DisplayChanged);
    int before = e->surface->pageCallCount();
    QTest::qWait(1500);
    QCOMPARE(e->surface->pageCallCount(), before);
    QCOMPARE(changes.count(), 0);

    // A caret move is pushed by the page; the window's updates for it ask nothing.
    QTest::keyClick(page, Qt::Key_Right);
    QVERIFY(changes.wait(5000));
    QTest::qWait(300);
    QCOMPARE(e->surface->pageCallCount(), before);
}

void tst_Responsiveness::rightClickShowsMenuForTheSpot_data()
{
    QTest::addColumn<bool>("clickFirst");
    QTest::addColumn<QString>("at");
    QTest::addColumn<bool>("inTable");
    QTest::newRow("cell, clicked there before") << true << "td" << true;
    QTest::newRow("cell, no click before") << false << "td" << true;
    QTest::newRow("paragraph, clicked there before") << true << "p" << false;
    QTest::newRow("paragraph, no click before") << false << "p" << false;
}

void tst_Responsiveness::rightClickShowsMenuForTheSpot()
{
    QFETCH(bool, clickFirst);
    QFETCH(QString, at);
    QFETCH(bool, inTable);
    loadBody(*e->surface, kTablePage);
    QWidget* page = e->surface->view()->focusProxy();
    const QPoint spot = centreOf(*e->surface, at);
    if (clickFirst) {
        QTest::mouseClick(page, Qt::LeftButton, {}, spot);
        QTest::qWait(2000);
    }
    QTest::mouseClick(page, Qt::RightButton, {}, spot);
    QMenu* menu = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())), 5000);

    QHash<QString, QAction*> items;
    for (QAction* a : menu->actions())
        items[a->text()] = a;
    QVERIFY(items.value("Select All") && items["Select All"]->isEnabled());
    QVERIFY(items.value("Font...") && items["Font..."]->isEnabled());
    QCOMPARE(items.contains("Insert Row"), inTable);
    if (!inTable) {
        menu->close();
        return;
    }
    QAction* insertRow = items["Insert Row"];
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(insertRow).center());
    QTRY_COMPARE(pageScript(*e->surface, "return document.querySelectorAll('tr').length;").toInt(), 2);
}

ORVANE_TEST_MAIN(tst_Responsiveness)
#include "tst_responsiveness.moc"
