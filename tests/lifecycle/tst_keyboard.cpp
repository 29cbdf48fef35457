// The standard shortcuts: each runs its menu item's command once, wherever the
// focus is in the window, and the focused pane does not act on the key itself.
#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "WindowFixture.h"
#include "shell/lifecycle/KeyboardCommands.h"

#include <QLineEdit>

using namespace orvane;
using namespace orvane::test;

class tst_Keyboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }

    void shortcutRunsItsItemOnly_data()
    {
        QTest::addColumn<QString>("focus");  // source, surface or another window
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QString>("item");
        const int C = Qt::ControlModifier;
        QTest::newRow("new") << "source" << int(Qt::Key_N) << C << "Label6";
        QTest::newRow("save") << "source" << int(Qt::Key_S) << C << "Label4";
        QTest::newRow("save as") << "source" << int(Qt::Key_S) << (C | int(Qt::ShiftModifier)) << "Label5";
        QTest::newRow("source pane, undo") << "source" << int(Qt::Key_Z) << C << "Label8";
        QTest::newRow("source pane, paste") << "source" << int(Qt::Key_V) << C << "Label12";
        QTest::newRow("plain letter") << "source" << int(Qt::Key_B) << 0 << "";
        QTest::newRow("alt is not ctrl") << "source" << int(Qt::Key_S) << int(Qt::AltModifier) << "";
        QTest::newRow("surface, bold") << "surface" << int(Qt::Key_B) << C << "Label15";
        QTest::newRow("surface, cut") << "surface" << int(Qt::Key_X) << C << "Label10";
        QTest::newRow("another window") << "other" << int(Qt::Key_S) << C << "";
    }

    void shortcutRunsItsItemOnly()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(QString, item);
        WindowFixture fx;
        QStringList ran;
        KeyboardCommands keys(fx.window.get(), [&ran](const QString& c) { ran << c; });
        const auto press = [&](QWidget* w) { QTest::keyClick(w, Qt::Key(key), Qt::KeyboardModifiers(mods)); };
        if (focus == "source") {
            fx.setSourceMode(true);
            fx.rch->setText(QStringLiteral("abc"));
            fx.rch->setFocus();
            QTest::keyClicks(fx.rch, QStringLiteral("xy"));
            fx.rch->setSelStart(1);
            fx.rch->setSelLength(1);
            press(fx.rch);
            if (!item.isEmpty()) {
                QCOMPARE(fx.rch->Text(), QStringLiteral("xyabc"));
                QCOMPARE(fx.rch->SelStart(), 1);
                QCOMPARE(fx.rch->SelLength(), 1);
            }
        } else if (focus == "surface") {
            loadBody(*fx.surface, QStringLiteral("<P>some words here</P>"));
            fx.surface->setFocus();
            selectText(*fx.surface, QStringLiteral("words"));
            const QString before = fx.surface->DocumentHTML();
            press(fx.surface->view()->focusProxy());
            QTest::qWait(200);  // time for the page to act on the key, were it to
            QCOMPARE(fx.surface->DocumentHTML(), before);
            QCOMPARE(pageScript(*fx.surface, QStringLiteral("return getSelection().toString();")).toString(),
                     QStringLiteral("words"));
        } else {
            QLineEdit other;
            other.show();
            QVERIFY(QTest::qWaitForWindowExposed(&other));
            press(&other);
        }
        QCOMPARE(ran, item.isEmpty() ? QStringList() : QStringList{item});
    }
};

ORVANE_TEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
