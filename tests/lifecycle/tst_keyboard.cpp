// The standard shortcuts: each runs its menu item's command once, wherever the
// focus is in the window, and the focused pane does not act on the key itself.
#include "DocumentFixture.h"
#include "TestMain.h"
#include "KeyboardCommands.h"

#include <QLineEdit>

using namespace orvane;
using namespace orvane::test;

class tst_Keyboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }

    void init()
    {
        fx = std::make_unique<DocumentFixture>();
        ran.clear();
        keys = std::make_unique<KeyboardCommands>(&fx->window, [this](const QString& c) { ran << c; });
    }

    void cleanup()
    {
        keys.reset();
        fx.reset();
    }

    void shortcutRunsItsItem_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QString>("item");
        const int C = Qt::ControlModifier;
        QTest::newRow("new") << int(Qt::Key_N) << C << "Label6";
        QTest::newRow("save") << int(Qt::Key_S) << C << "Label4";
        QTest::newRow("save as") << int(Qt::Key_S) << (C | int(Qt::ShiftModifier)) << "Label5";
        QTest::newRow("undo") << int(Qt::Key_Z) << C << "Label8";
        QTest::newRow("paste") << int(Qt::Key_V) << C << "Label12";
        QTest::newRow("plain letter") << int(Qt::Key_B) << 0 << "";
        QTest::newRow("alt is not ctrl") << int(Qt::Key_S) << int(Qt::AltModifier) << "";
    }

    void shortcutRunsItsItem()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(QString, item);
        fx->sourceMode();
        fx->rch->setFocus();
        QTest::keyClick(fx->rch, Qt::Key(key), Qt::KeyboardModifiers(mods));
        QCOMPARE(ran, item.isEmpty() ? QStringList() : QStringList{item});
    }

    void panesDoNotActOnShortcut_data()
    {
        QTest::addColumn<bool>("source");
        QTest::addColumn<int>("key");
        QTest::newRow("source pane, undo") << true << int(Qt::Key_Z);
        QTest::newRow("source pane, paste") << true << int(Qt::Key_V);
        QTest::newRow("surface, bold") << false << int(Qt::Key_B);
        QTest::newRow("surface, cut") << false << int(Qt::Key_X);
    }

    void panesDoNotActOnShortcut()
    {
        QFETCH(bool, source);
        QFETCH(int, key);
        if (source) {
            fx->sourceMode();
            fx->rch->setText(QStringLiteral("abc"));
            fx->rch->setFocus();
            QTest::keyClicks(fx->rch, QStringLiteral("xy"));
            fx->rch->setSelStart(1);
            fx->rch->setSelLength(1);
            QTest::keyClick(fx->rch, Qt::Key(key), Qt::ControlModifier);
            QCOMPARE(fx->rch->Text(), QStringLiteral("xyabc"));
            QCOMPARE(fx->rch->SelStart(), 1);
            QCOMPARE(fx->rch->SelLength(), 1);
        } else {
            loadBody(*fx->design, QStringLiteral("<P>some words here</P>"));
            fx->design->setFocus();
            selectText(*fx->design, QStringLiteral("words"));
            const QString before = fx->design->DocumentHTML();
            QTest::keyClick(fx->design->view()->focusProxy(), Qt::Key(key), Qt::ControlModifier);
            QTest::qWait(200);  // time for the page to act on the key, were it to
            QCOMPARE(fx->design->DocumentHTML(), before);
            QCOMPARE(pageScript(*fx->design, QStringLiteral("return getSelection().toString();")).toString(),
                     QStringLiteral("words"));
        }
        QCOMPARE(ran.size(), 1);
    }

    void otherWindowsAreLeftAlone()
    {
        QLineEdit other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QTest::keyClick(&other, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(ran.isEmpty());
    }

private:
    std::unique_ptr<DocumentFixture> fx;
    std::unique_ptr<KeyboardCommands> keys;
    QStringList ran;
};

ORVANE_TEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
