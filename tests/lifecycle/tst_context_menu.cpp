// The design surface's context menu: its items for the selection, the action
// of a picked index, and the two colour items, which run the page colours
// dialog's buttons.
#include "DocumentFixture.h"
#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "shell/contextmenu/EditorContextMenu.h"
#include "wizards/clrfrm/PageColours.h"

#include <QMenu>

using namespace orvane;
using namespace orvane::test;

namespace {

// Query states for the plain layout tests: every command not named is disabled.
StatusQuery states(std::initializer_list<std::pair<int, int>> given)
{
    QHash<int, int> map;
    for (const auto& [command, state] : given)
        map[command] = state;
    return [map](int command) { return map.value(command, int(DECMDF_DISABLED)); };
}

const QString kTablePage = QStringLiteral("<P>lead</P><TABLE border=1><TR><TD>cell</TD></TR></TABLE>");

}  // namespace

class tst_ContextMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void itemsForSelection_data();
    void itemsForSelection();
    void pickedIndexRunsItsCommand_data();
    void pickedIndexRunsItsCommand();

    void menuOnSurfaceFollowsSelection_data();
    void menuOnSurfaceFollowsSelection();
    void insertRowPickedFromMenu();
    void colourItemsRunColourButtons();

    void pageColourDialogOpensOnLastColour();

private:
    QMenu* showMenu();

    std::unique_ptr<DocumentFixture> fx;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<PageColours> colours;
    std::unique_ptr<EditorContextMenu> menu;
};

void tst_ContextMenu::initTestCase()
{
    qApp->setQuitOnLastWindowClosed(false);
}

void tst_ContextMenu::init()
{
    prompts = std::make_unique<ScriptedPrompts>();
    fx = std::make_unique<DocumentFixture>();
    colours = std::make_unique<PageColours>(*fx->design, *fx->rch, [this] { return fx->isSourceMode(); });
    menu = std::make_unique<EditorContextMenu>(*fx->design, *colours);
}

void tst_ContextMenu::cleanup()
{
    QVERIFY2(prompts->unexpected().isEmpty(), qPrintable(prompts->unexpected().join("; ")));
    menu.reset();
    colours.reset();
    fx.reset();
    prompts.reset();
}

void tst_ContextMenu::itemsForSelection_data()
{
    QTest::addColumn<StatusQuery>("status");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("states");
    const QStringList fixed{"Cut", "Copy", "Paste", "", "Select All", "", "Font...", "Background Color",
                            "Font Color", "", "Insert Image"};
    const QStringList table{"", "Insert Row", "Insert Column", "", "Delete Row", "Delete Column"};
    const int E = DECMDF_ENABLED;
    QTest::newRow("caret in plain text")
        << states({{DECMD_PASTE, E}, {DECMD_SELECTALL, E}, {DECMD_FONT, E}, {DECMD_SETBACKCOLOR, E},
                   {DECMD_SETFORECOLOR, E}, {DECMD_IMAGE, E}})
        << fixed << QList<int>{2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("nothing available")
        << states({}) << fixed << QList<int>{2, 2, 2, 0, 2, 0, 2, 2, 2, 0, 2};
    QTest::newRow("in a table inside a positioned element")
        << states({{DECMD_CUT, E}, {DECMD_MAKE_ABSOLUTE, DECMDF_LATCHED}, {DECMD_SEND_TO_BACK, E},
                   {DECMD_INSERTROW, E}})
        << fixed + QStringList{"", "Make 1D"} + table
        << QList<int>{0, 2, 2, 0, 2, 0, 2, 2, 2, 0, 2} + QList<int>(8, 0);
    QTest::newRow("in a table, positionable, not positioned")
        << states({{DECMD_MAKE_ABSOLUTE, E}, {DECMD_INSERTROW, E}})
        << fixed + QStringList{"", "Make 2D"} + table
        << QList<int>{2, 2, 2, 0, 2, 0, 2, 2, 2, 0, 2} + QList<int>(8, 0);
    QTest::newRow("in a table, not positionable")
        << states({{DECMD_INSERTROW, E}}) << fixed + table
        << QList<int>{2, 2, 2, 0, 2, 0, 2, 2, 2, 0, 2} + QList<int>(6, 0);
}

void tst_ContextMenu::itemsForSelection()
{
    QFETCH(StatusQuery, status);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, states);
    const ContextMenuLayout layout = contextMenuLayout(status);
    const ContextMenuItems items = contextMenuItems(layout, status);
    QCOMPARE(items.texts, texts);
    QCOMPARE(items.states, states);
    QCOMPARE(layout.itemCount(), texts.size());
}

void tst_ContextMenu::pickedIndexRunsItsCommand_data()
{
    QTest::addColumn<bool>("positionable");
    QTest::addColumn<bool>("inTable");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("option");
    using K = ContextMenuPick::Kind;
    const int none = int(K::None), exec = int(K::Exec);
    QTest::newRow("separator") << false << false << 3 << none << 0 << 0;
    QTest::newRow("font shows its dialog") << false << false << 6 << exec << int(DECMD_FONT) << 1;
    QTest::newRow("background colour") << false << false << 7 << int(K::BackgroundColor) << 0 << 0;
    QTest::newRow("past the menu") << false << false << 11 << none << 0 << 0;
    QTest::newRow("make absolute") << true << false << 12 << exec << int(DECMD_MAKE_ABSOLUTE) << 0;
    QTest::newRow("row, no positioning") << false << true << 12 << exec << int(DECMD_INSERTROW) << 0;
    QTest::newRow("row after positioning") << true << true << 14 << exec << int(DECMD_INSERTROW) << 0;
    QTest::newRow("delete column after positioning") << true << true << 18 << exec << int(DECMD_DELETECOLS) << 0;
    QTest::newRow("table separator") << true << true << 16 << none << 0 << 0;
}

void tst_ContextMenu::pickedIndexRunsItsCommand()
{
    QFETCH(bool, positionable);
    QFETCH(bool, inTable);
    QFETCH(int, index);
    QFETCH(int, kind);
    QFETCH(int, command);
    QFETCH(int, option);
    const ContextMenuLayout layout = contextMenuLayout(states(
        {{DECMD_MAKE_ABSOLUTE, positionable ? int(DECMDF_ENABLED) : 0},
         {DECMD_INSERTROW, inTable ? int(DECMDF_ENABLED) : 0}}));
    const ContextMenuPick pick = contextMenuPick(layout, index);
    QCOMPARE(int(pick.kind), kind);
    QCOMPARE(pick.command, command);
    QCOMPARE(pick.option, option);
}

QMenu* tst_ContextMenu::showMenu()
{
    emit fx->design->view()->customContextMenuRequested(QPoint(20, 20));
    QMenu* shown = nullptr;
    QTest::qWaitFor([&] { return (shown = fx->design->view()->findChild<QMenu*>()) != nullptr; }, 5000);
    return shown;
}

void tst_ContextMenu::menuOnSurfaceFollowsSelection_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("at");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("insertRowAt");  // -1: no table group
    QTest::newRow("plain text") << "<P>plain words</P>" << "plain" << 11 << -1;
    QTest::newRow("table") << kTablePage << "cell" << 17 << 12;
    QTest::newRow("table in a positioned element")
        << "<DIV style=\"position: absolute; left: 10px; top: 40px\">" + kTablePage + "</DIV>" << "cell" << 19 << 14;
}

void tst_ContextMenu::menuOnSurfaceFollowsSelection()
{
    QFETCH(QString, body);
    QFETCH(QString, at);
    QFETCH(int, count);
    QFETCH(int, insertRowAt);
    loadBody(*fx->design, body);
    selectText(*fx->design, at, true);
    QMenu* shown = showMenu();
    QVERIFY(shown);
    QCOMPARE(menu->layout().itemCount(), count);
    QStringList texts;
    for (QAction* a : shown->actions())
        texts << (a->isSeparator() ? QString() : a->text());
    QCOMPARE(texts.size(), count);
    QCOMPARE(texts[0], QStringLiteral("Cut"));
    QVERIFY(!shown->actions()[0]->isEnabled());  // nothing selected: nothing to cut
    QVERIFY(!shown->actions()[1]->isEnabled());
    if (insertRowAt >= 0)
        QCOMPARE(texts[insertRowAt], QStringLiteral("Insert Row"));
    if (count == 19)
        QCOMPARE(texts[12], QStringLiteral("Make 1D"));
    shown->close();
}

void tst_ContextMenu::insertRowPickedFromMenu()
{
    loadBody(*fx->design, kTablePage);
    selectText(*fx->design, QStringLiteral("cell"), true);
    QMenu* shown = showMenu();
    QVERIFY(shown);
    shown->actions()[menu->layout().tableBase() + 2]->trigger();
    QTRY_COMPARE(pageScript(*fx->design, QStringLiteral("return document.querySelectorAll('tr').length;")).toInt(), 2);
}

void tst_ContextMenu::colourItemsRunColourButtons()
{
    loadBody(*fx->design, QStringLiteral("<P>some red text</P>"));
    selectText(*fx->design, QStringLiteral("red"));
    prompts->answerColor(QColor(255, 0, 0));
    showMenu();
    menu->DHTMLEdit1_ContextMenuAction(8);  // "Font Color"
    QVERIFY(fx->design->DocumentHTML().contains(QStringLiteral("#ff0000"), Qt::CaseInsensitive));

    prompts->answerColor(QColor(0, 0, 255));
    menu->DHTMLEdit1_ContextMenuAction(7);  // "Background Color"
    QCOMPARE(fx->design->DOM().bgColor().toUpper(), QStringLiteral("#0000FF"));
    QCOMPARE(prompts->pending(), 0);
}

void tst_ContextMenu::pageColourDialogOpensOnLastColour()
{
    fx->sourceMode();
    prompts->answerColor(QColor(0x11, 0x22, 0x33)).cancelColor().answerColor(QColor(Qt::red));
    colours->pageColor(PageColours::PageColour::Link);
    colours->pageColor(PageColours::PageColour::Background);
    colours->fontColor();
    const auto asked = prompts->asked();
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked[0].color, QColor(Qt::black));
    QCOMPARE(asked[1].color, QColor(0x11, 0x22, 0x33));
    QCOMPARE(asked[2].color, QColor(Qt::black));  // the font colour always starts on black
}

ORVANE_TEST_MAIN(tst_ContextMenu)
#include "tst_context_menu.moc"
