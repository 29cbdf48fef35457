// The document commands, shortcuts, toolbar state, context menu and side
// bars on the real main window, reached the way the user reaches them.
#include "../surface-commands/CommandTestPage.h"
#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "platform/sourcepane/SourcePane.h"
#include "shell/TabStrip.h"
#include "shell/lifecycle/MainWindowParts.h"
#include "shell/lifecycle/PageTemplate.h"
#include "shell/mainFrm.h"
#include "shell/menubar/MenuBar.h"
#include "shell/toolbar/ToolButton.h"

#include <QComboBox>
#include <QMenu>

using namespace orvane;
using namespace orvane::test;

class tst_MainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fileMenuItemsRunAndCloseTheMenu();
    void exitAsksAboutUnsavedWork_data();
    void exitAsksAboutUnsavedWork();
    void shortcutsRunMenuCommands();
    void shortcutOfItemGatedOffDoesNothing();
    void firstDocumentReadiesFontBoxes();
    void boldButtonFollowsCaret();
    void contextMenuOnDesignSurface();
    void sideBarsCloseAndShow();

private:
    void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    QWidget* child(const char* name) { return w->findChild<QWidget*>(QLatin1String(name)); }

    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<mainFrm> w;
};

void tst_MainWindow::initTestCase()
{
    qApp->setQuitOnLastWindowClosed(false);
}

void tst_MainWindow::init()
{
    prompts = std::make_unique<ScriptedPrompts>();
    w = std::make_unique<mainFrm>();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTRY_VERIFY(w->documentReady());
}

void tst_MainWindow::cleanup()
{
    QVERIFY2(prompts->unexpected().isEmpty(), qPrintable(prompts->unexpected().join("; ")));
    w.reset();
    prompts.reset();
}

void tst_MainWindow::fileMenuItemsRunAndCloseTheMenu()
{
    click(w->menuBar()->header(QStringLiteral("label_file")));
    QWidget* panel = w->menuBar()->panel(QStringLiteral("Picture1"));
    QVERIFY(!panel->isHidden());
    click(w->menuBar()->item(QStringLiteral("Label6")));  // New
    QCOMPARE(w->windowTitle(), QStringLiteral("Orvane Editor 1.0"));
    QVERIFY(panel->isHidden());
}

void tst_MainWindow::exitAsksAboutUnsavedWork_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("stays");
    QTest::newRow("cancel keeps the program running") << int(MsgResult::Cancel) << true;
    QTest::newRow("no ends it") << int(MsgResult::No) << false;
}

void tst_MainWindow::exitAsksAboutUnsavedWork()
{
    QFETCH(int, answer);
    QFETCH(bool, stays);
    w->DHTMLEdit1()->setDocumentHTML(QStringLiteral("<P>unsaved</P>"));
    prompts->answerMessage(MsgResult(answer));
    w->parts()->runItem(QStringLiteral("Label7"));
    QCOMPARE(prompts->messages().size(), 1);
    QCOMPARE(w->isVisible(), stays);
}

void tst_MainWindow::shortcutsRunMenuCommands()
{
    w->TabStrip1_Click();  // Source mode
    QVERIFY(w->isSourceMode());
    w->rch()->setFocus();
    QTest::keyClick(w->rch(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(w->rch()->Text(), newPageTemplate());
    QCOMPARE(w->windowTitle(), QStringLiteral("Orvane Editor 1.0"));

    w->rch()->setSelStart(0);
    QTest::keyClick(w->rch(), Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(w->rch()->Text(), QStringLiteral("<STRONG>    </STRONG>") + newPageTemplate());
    QTest::keyClick(w->rch(), Qt::Key_Z, Qt::ControlModifier);  // undone once, not twice
    QCOMPARE(w->rch()->Text(), newPageTemplate());
}

void tst_MainWindow::shortcutOfItemGatedOffDoesNothing()
{
    w->TabStrip1_Click();
    w->rch()->setFocus();
    const QString before = w->DHTMLEdit1()->DocumentHTML();
    QTest::keyClick(w->rch(), Qt::Key_Y, Qt::ControlModifier);  // Redo is an Edit-mode item
    QCOMPARE(w->DHTMLEdit1()->DocumentHTML(), before);
}

void tst_MainWindow::firstDocumentReadiesFontBoxes()
{
    QCOMPARE(w->FontSizeCombo()->currentIndex(), -1);
    QVERIFY(w->FontCombo()->isEditable());
}

void tst_MainWindow::boldButtonFollowsCaret()
{
    auto* bold = w->findChild<ToolButton*>(QStringLiteral("bold"));
    QVERIFY(bold);
    loadBody(*w->DHTMLEdit1(), QStringLiteral("<P><B>heavy</B> plain words</P>"));
    caretAfterText(*w->DHTMLEdit1(), QStringLiteral("hea"));
    QTRY_COMPARE(bold->frameShape(), QFrame::Panel);
    caretAfterText(*w->DHTMLEdit1(), QStringLiteral("plai"));
    QTRY_COMPARE(bold->frameShape(), QFrame::NoFrame);
}

void tst_MainWindow::contextMenuOnDesignSurface()
{
    loadBody(*w->DHTMLEdit1(), QStringLiteral("<P>plain words</P>"));
    caretAfterText(*w->DHTMLEdit1(), QStringLiteral("pla"));
    emit w->DHTMLEdit1()->view()->customContextMenuRequested(QPoint(20, 20));
    QMenu* menu = nullptr;
    QTest::qWaitFor([&] { return (menu = w->DHTMLEdit1()->view()->findChild<QMenu*>()) != nullptr; }, 5000);
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 11);
    QCOMPARE(menu->actions()[8]->text(), QStringLiteral("Font Color"));
    menu->close();
}

void tst_MainWindow::sideBarsCloseAndShow()
{
    QWidget* tabs = w->TabStrip1();
    const int outer = w->width() * 15;
    QCOMPARE(tabs->width(), (outer - 2100 + 7) / 15);
    click(child("Label2"));
    QCOMPARE(tabs->width(), (outer - 2100 + 7) / 15);
    click(child("Label55"));
    QCOMPARE(tabs->width(), (outer - 400 + 7) / 15);
    QVERIFY(child("Image1")->isHidden());
    QVERIFY(!child("Label54")->isHidden());
    click(child("Label54"));
    QCOMPARE(tabs->width(), (outer - 2100 + 7) / 15);
    QVERIFY(!child("panel_1")->isHidden());
    QVERIFY(!child("panel_2")->isHidden());
    QVERIFY(child("Label54")->isHidden());
}

ORVANE_TEST_MAIN(tst_MainWindow)
#include "tst_main_window.moc"
