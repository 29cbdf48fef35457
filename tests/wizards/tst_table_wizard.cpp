// The table wizard: its text route as a plain function, the counts it refuses,
// and the window opened from the toolbar and the Table menu, writing into the
// real source pane or building a real table on the design surface.
#include "../commands/EditorFixture.h"
#include "../surface-commands/CommandTestPage.h"
#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "WizardDialogs.h"
#include "shell/TabStrip.h"
#include "wizards/tblfFrm/TableText.h"

#include <QLabel>
#include <QTabBar>

using namespace orvane;
using namespace orvane::test;

namespace {

const QString kCountMessage = QStringLiteral("Rows and Cols must each be a whole number from 0 to 1000.");
const QString kPage = QStringLiteral(
    "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>one</P><% Response.Write(\"x\") %><P>two</P></BODY></HTML>");

}  // namespace

class tst_TableWizard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void init();
    void cleanup();

    void text_data();
    void text();
    void counts_data();
    void counts();

    void sourceRouteReplacesSelection();
    void editRouteBuildsTable_data();
    void editRouteBuildsTable();
    void refusedCountsKeepDialogOpen_data();
    void refusedCountsKeepDialogOpen();
    void cancelChangesNothingAndNextOpeningStartsFresh();

private:
    std::unique_ptr<EditorFixture> e;
    std::unique_ptr<ScriptedPrompts> prompts;
};

void tst_TableWizard::init()
{
    prompts = std::make_unique<ScriptedPrompts>();
    e = std::make_unique<EditorFixture>();
}

void tst_TableWizard::cleanup()
{
    QVERIFY2(prompts->unexpected().isEmpty(), qPrintable(prompts->unexpected().join("; ")));
    e.reset();
    prompts.reset();
}

void tst_TableWizard::text_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QString>("tableAttrs");
    QTest::addColumn<QString>("cellAttrs");
    QTest::addColumn<QString>("expected");
    const QString cell = "<TD valign=\"top\">  </TD>\r\n";
    QTest::newRow("initial values") << 2 << 2 << "Border=\"1\" Cellpadding=\"1\" Cellspacing=\"1\"" << "valign=\"top\""
        << "<TABLE Border=\"1\" Cellpadding=\"1\" Cellspacing=\"1\">\r\n"
           "<TR>\r\n" + cell + cell + "</TR>\r\n"
           "<TR>\r\n" + cell + cell + "</TR>\r\n"
           "</TABLE>";
    QTest::newRow("3 rows, 1 col") << 3 << 1 << "x" << "valign=\"top\""
        << "<TABLE x>\r\n<TR>\r\n" + cell + "</TR>\r\n<TR>\r\n" + cell + "</TR>\r\n<TR>\r\n" + cell
           + "</TR>\r\n</TABLE>";
    QTest::newRow("rows 0") << 0 << 4 << "x" << "y" << "<TABLE x>\r\n</TABLE>";
    QTest::newRow("cols 0") << 2 << 0 << "x" << "y" << "<TABLE x>\r\n<TR>\r\n</TR>\r\n<TR>\r\n</TR>\r\n</TABLE>";
    QTest::newRow("empty attribute boxes") << 1 << 1 << "" << ""
        << "<TABLE >\r\n<TR>\r\n<TD >  </TD>\r\n</TR>\r\n</TABLE>";
}

void tst_TableWizard::text()
{
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QString, tableAttrs);
    QFETCH(QString, cellAttrs);
    QFETCH(QString, expected);
    QCOMPARE(tableText(rows, cols, tableAttrs, cellAttrs), expected);
}

void tst_TableWizard::counts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");  // -1: refused
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("blanks around") << " 7 " << 7;
    QTest::newRow("the largest") << "1000" << 1000;
    QTest::newRow("one too many") << "1001" << -1;
    QTest::newRow("a letter") << "x" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("fraction") << "2.5" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("past the integer range") << "99999999999" << -1;
}

void tst_TableWizard::counts()
{
    QFETCH(QString, typed);
    QFETCH(int, count);
    const std::optional<int> got = tableCount(typed);
    QCOMPARE(got.value_or(-1), count);
}

void tst_TableWizard::sourceRouteReplacesSelection()
{
    e->setSourceMode(true);
    e->rch->setText("ab<old>cd");
    e->rch->setSelStart(2);
    e->rch->setSelLength(5);
    whenShown("tblfFrm", [](QDialog& d) {
        type(d, "Text1", "1");
        type(d, "Text2", "1");
        press(d, "Command1");
    });
    e->clickTool("Image3");
    QCOMPARE(e->rch->Text(), QString("ab<TABLE Border=\"1\" Cellpadding=\"1\" Cellspacing=\"1\">\r\n<TR>\r\n"
                                     "<TD valign=\"top\">  </TD>\r\n</TR>\r\n</TABLE>cd"));
    e->rch->undo();  // one step takes the whole table back, selection included
    QCOMPARE(e->rch->Text(), QString("ab<old>cd"));
}

void tst_TableWizard::editRouteBuildsTable_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<int>("tabInFront");
    QTest::newRow("Table menu, Edit tab in front") << "Label24" << 0;
    QTest::newRow("toolbar, Source tab in front, source pane hidden") << "Image3" << 1;
}

void tst_TableWizard::editRouteBuildsTable()
{
    QFETCH(QString, opener);
    QFETCH(int, tabInFront);
    e->surface->setDocumentHTML(kPage);
    selectText(*e->surface, "two", true);
    e->window->TabStrip1()->tabBar()->setCurrentIndex(tabInFront);
    e->rch->setText("untouched");
    e->setSourceMode(false);
    whenShown("tblfFrm", [](QDialog& d) {
        type(d, "Text1", "3");
        type(d, "Text3", "border=\"2\" id=\"t1\"");
        type(d, "Text4", "class=\"c\"");
        press(d, "Command1");
    });
    e->click(opener);

    // The table goes in before the paragraph holding the caret; the surface
    // writes the elements it makes with upper-case names and names itself in
    // a generator line. Every other byte, the server block included, stays.
    const QString cells = "<TD CLASS=\"c\"></TD><TD CLASS=\"c\"></TD><TD CLASS=\"c\"></TD>";
    QCOMPARE(e->surface->DocumentHTML(),
             "<HTML><HEAD>\r\n<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">"
             "<TITLE>t</TITLE></HEAD><BODY><P>one</P><% Response.Write(\"x\") %>"
             "<TABLE BORDER=\"2\" ID=\"t1\"><TBODY><TR>" + cells + "</TR><TR>" + cells + "</TR></TBODY></TABLE>"
             "<P>two</P></BODY></HTML>");
    QCOMPARE(e->rch->Text(), QString("untouched"));

    e->clickMenuItem("Label8");  // Edit, Undo: one step takes the whole table back
    QCOMPARE(e->surface->DocumentHTML(), kPage);
}

void tst_TableWizard::refusedCountsKeepDialogOpen_data()
{
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("cols x") << true << "Text1" << "x" << kCountMessage;
    QTest::newRow("rows -1") << false << "Text2" << "-1" << kCountMessage;
    QTest::newRow("cols 2.5") << false << "Text1" << "2.5" << kCountMessage;
    QTest::newRow("rows 1001") << true << "Text2" << "1001" << kCountMessage;
    QTest::newRow("rows 0 on the surface, which builds no empty table") << false << "Text2" << "0"
        << "The design surface cannot insert a table of 0 rows and 2 columns here.";
}

void tst_TableWizard::refusedCountsKeepDialogOpen()
{
    QFETCH(bool, sourceMode);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    e->surface->setDocumentHTML(kPage);
    selectText(*e->surface, "two", true);
    e->rch->setText("abc");
    e->setSourceMode(sourceMode);
    bool stayedOpen = false;
    whenShown("tblfFrm", [&](QDialog& d) {
        type(d, qPrintable(box), typed);
        press(d, "Command1");
        stayedOpen = d.isVisible();
        press(d, "Command2");
    });
    e->clickTool("Image3");
    QVERIFY(stayedOpen);
    QCOMPARE(prompts->messages().size(), 1);
    QCOMPARE(prompts->messages().at(0).text, message);
    QCOMPARE(prompts->messages().at(0).icon, MsgIcon::Critical);
    QCOMPARE(prompts->messages().at(0).title, QString("Orvane Error"));
    QCOMPARE(e->rch->Text(), QString("abc"));
    QCOMPARE(e->surface->DocumentHTML(), kPage);
}

void tst_TableWizard::cancelChangesNothingAndNextOpeningStartsFresh()
{
    e->setSourceMode(true);
    e->rch->setText("abc");
    whenShown("tblfFrm", [](QDialog& d) {
        type(d, "Text1", "5");
        type(d, "Text3", "");
        press(d, "Command2");
    });
    e->clickTool("Image3");
    QCOMPARE(e->rch->Text(), QString("abc"));

    QStringList seen;
    whenShown("tblfFrm", [&seen](QDialog& d) {
        seen << d.windowTitle();
        for (const char* name : {"Label1", "Text1", "Label2", "Text2", "Label3", "Text3", "Label4", "Text4"}) {
            if (auto* label = d.findChild<QLabel*>(name))
                seen << label->text();
            else if (auto* box = d.findChild<QLineEdit*>(name))
                seen << box->text();
        }
        for (const char* name : {"Command1", "Command2"})
            seen << d.findChild<QAbstractButton*>(name)->text();
        for (const char* name : {"Image1", "Image2"})
            seen << (d.findChild<QLabel*>(name)->pixmap().isNull() ? "no picture" : "picture");
        press(d, "Command2");
    });
    e->clickTool("Image3");
    QCOMPARE(seen, QStringList({"Table - format", "Cols", "2", "Rows", "2", "Table Attributes",
                                "Border=\"1\" Cellpadding=\"1\" Cellspacing=\"1\"", "Cell Attributes",
                                "valign=\"top\"", "&Ok", "&Cancel", "picture", "picture"}));
    QCOMPARE(e->rch->Text(), QString("abc"));
}

ORVANE_TEST_MAIN(tst_TableWizard)
#include "tst_table_wizard.moc"
