// The standard shortcuts: each runs its menu item's command once, wherever the
// focus is in the window, and the focused pane does not act on the key itself.
#include "DocumentFixture.h"
#include "TestMain.h"
#include "shell/lifecycle/KeyboardCommands.h"

#include <QLineEdit>

using namespace orvane;
using namespace orvane::test;

class tst_Keyboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qApp->setQuitOnLastWindowClosed(false);
    }

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
        QTest::newRow("open") << int(Qt::Key_O) << C << "Label3";
        QTest::newRow("save") << int(Qt::Key_S) << C << "Label4";
        QTest::newRow("save as") << int(Qt::Key_S) << (C | int(Qt::ShiftModifier)) << "Label5";
        QTest::newRow("exit") << int(Qt::Key_Q) << C << "Label7";
        QTest::newRow("undo") << int(Qt::Key_Z) << C << "Label8";
        QTest::newRow("redo") << int(Qt::Key_Y) << C << "Label9";
        QTest::newRow("cut") << int(Qt::Key_X) << C << "Label10";
        QTest::newRow("copy") << int(Qt::Key_C) << C << "Label11";
        QTest::newRow("paste") << int(Qt::Key_V) << C << "Label12";
        QTest::newRow("select all") << int(Qt::Key_A) << C << "Label13";
        QTest::newRow("find") << int(Qt::Key_F) << C << "Label14";
        QTest::newRow("bold") << int(Qt::Key_B) << C << "Label15";
        QTest::newRow("italic") << int(Qt::Key_I) << C << "Label16";
        QTest::newRow("underline") << int(Qt::Key_U) << C << "Label17";
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

    void sourcePaneDoesNotActOnShortcut_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("undo") << int(Qt::Key_Z);
        QTest::newRow("select all") << int(Qt::Key_A);
        QTest::newRow("cut") << int(Qt::Key_X);
        QTest::newRow("paste") << int(Qt::Key_V);
    }

    void sourcePaneDoesNotActOnShortcut()
    {
        QFETCH(int, key);
        fx->sourceMode();
        fx->rch->setText(QStringLiteral("abc"));
        fx->rch->setFocus();
        QTest::keyClicks(fx->rch, QStringLiteral("xy"));
        fx->rch->setSelStart(1);
        fx->rch->setSelLength(1);
        QTest::keyClick(fx->rch, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(ran.size(), 1);
        QCOMPARE(fx->rch->Text(), QStringLiteral("xyabc"));
        QCOMPARE(fx->rch->SelStart(), 1);
        QCOMPARE(fx->rch->SelLength(), 1);
    }

    void surfaceDoesNotActOnShortcut_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("bold") << int(Qt::Key_B);
        QTest::newRow("italic") << int(Qt::Key_I);
        QTest::newRow("select all") << int(Qt::Key_A);
        QTest::newRow("cut") << int(Qt::Key_X);
    }

    void surfaceDoesNotActOnShortcut()
    {
        QFETCH(int, key);
        loadBody(*fx->design, QStringLiteral("<P>some words here</P>"));
        fx->design->setFocus();
        selectText(*fx->design, QStringLiteral("words"));
        const QString before = fx->design->DocumentHTML();
        QWidget* target = fx->design->view()->focusProxy();
        QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(ran.size(), 1);
        QTest::qWait(100);
        QCOMPARE(fx->design->DocumentHTML(), before);
        QCOMPARE(pageScript(*fx->design, QStringLiteral("return getSelection().toString();")).toString(),
                 QStringLiteral("words"));
    }

    void lineEditKeepsEditingKeys()
    {
        auto* edit = new QLineEdit(QStringLiteral("Verdana"), &fx->window);
        fx->window.layout()->addWidget(edit);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());  // cut in the box itself
        QVERIFY(ran.isEmpty());
        QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ran, QStringList{QStringLiteral("Label4")});
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
