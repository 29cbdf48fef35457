// The page colours window opened by the toolbar's "Change Colors": its five
// buttons in one row, each applying its colour at once in either mode, and
// "&OK" and "&Cancel", which only close it.
#include "../commands/EditorFixture.h"
#include "../surface-commands/CommandTestPage.h"
#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "WizardDialogs.h"

using namespace orvane;
using namespace orvane::test;

namespace {

const QString kPage = QStringLiteral(
    "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>some words</P><% =x %></BODY></HTML>");

}  // namespace

class tst_ColourWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void init();
    void cleanup();

    void buttonsInOneRow();
    void buttonAppliesAtOnce_data();
    void buttonAppliesAtOnce();
    void dialogOpensOnLastColourWhileOpen();

private:
    std::unique_ptr<EditorFixture> e;
    std::unique_ptr<ScriptedPrompts> prompts;
};

void tst_ColourWindow::init()
{
    prompts = std::make_unique<ScriptedPrompts>();
    e = std::make_unique<EditorFixture>();
}

void tst_ColourWindow::cleanup()
{
    QVERIFY2(prompts->unexpected().isEmpty(), qPrintable(prompts->unexpected().join("; ")));
    e.reset();
    prompts.reset();
}

void tst_ColourWindow::buttonsInOneRow()
{
    QStringList seen;
    int lastX = -1;
    whenShown("clrfrm", [&](QDialog& d) {
        seen << d.windowTitle();
        int y = -1;
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5"}) {
            auto* b = d.findChild<QAbstractButton*>(name);
            QVERIFY2(b && b->text().isEmpty() && !b->icon().isNull(), name);
            QVERIFY2(b->x() > lastX && (y < 0 || b->y() == y), name);  // left to right, one row
            lastX = b->x();
            y = b->y();
            seen << b->toolTip();
        }
        seen << d.findChild<QAbstractButton*>("OKButton")->text()
             << d.findChild<QAbstractButton*>("CancelButton")->text();
        press(d, "OKButton");
        seen << (d.isVisible() ? "open" : "closed");
    });
    e->clickTool("Image6");
    QCOMPARE(seen, QStringList({"Color", "Font Color", "Background Color", "Link Color",
                                "Visited Link Color", "Active Link Color", "&OK", "&Cancel", "closed"}));
}

void tst_ColourWindow::buttonAppliesAtOnce_data()
{
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QColor>("colour");  // invalid: the colour dialog is cancelled
    QTest::addColumn<QString>("written"); // Source mode: the text at the caret; Edit mode: the page attribute
    QTest::addColumn<QString>("closeWith");
    const QColor blue(0, 0, 255);
    const QColor dark(0x0C, 0x0B, 0x0A);
    QTest::newRow("source, font, pure blue") << true << "Command1" << blue << "<FONT COLOR=#0000FF>" << "OKButton";
    QTest::newRow("source, background, dark") << true << "Command2" << dark << "BGCOLOR=\"#0C0B0A\"" << "CancelButton";
    QTest::newRow("source, link") << true << "Command3" << blue << "LINK=\"#0000FF\"" << "OKButton";
    QTest::newRow("source, visited link") << true << "Command4" << dark << "VLINK=\"#0C0B0A\"" << "OKButton";
    QTest::newRow("source, active link") << true << "Command5" << blue << "ALINK=\"#0000FF\"" << "OKButton";
    QTest::newRow("source, font cancelled") << true << "Command1" << QColor() << "" << "OKButton";
    QTest::newRow("edit, font, dark") << false << "Command1" << dark << "#0c0b0a" << "CancelButton";
    QTest::newRow("edit, background, blue") << false << "Command2" << blue << "bgcolor=\"#0000ff\"" << "OKButton";
    QTest::newRow("edit, link") << false << "Command3" << dark << "link=\"#0c0b0a\"" << "OKButton";
    QTest::newRow("edit, visited link") << false << "Command4" << blue << "vlink=\"#0000ff\"" << "OKButton";
    QTest::newRow("edit, active link") << false << "Command5" << dark << "alink=\"#0c0b0a\"" << "OKButton";
    QTest::newRow("edit, font cancelled") << false << "Command1" << QColor() << "" << "OKButton";
    QTest::newRow("edit, background cancelled") << false << "Command2" << QColor() << "" << "CancelButton";
}

void tst_ColourWindow::buttonAppliesAtOnce()
{
    QFETCH(bool, sourceMode);
    QFETCH(QString, button);
    QFETCH(QColor, colour);
    QFETCH(QString, written);
    QFETCH(QString, closeWith);
    e->surface->setDocumentHTML(kPage);
    selectText(*e->surface, "words");
    e->rch->setText("<BODY >x");
    e->rch->setSelStart(6);
    e->setSourceMode(sourceMode);
    if (colour.isValid())
        prompts->answerColor(colour);
    else
        prompts->cancelColor();

    QString afterClick;
    whenShown("clrfrm", [&](QDialog& d) {
        press(d, qPrintable(button));
        afterClick = sourceMode ? e->rch->Text() : e->surface->DocumentHTML();
        press(d, qPrintable(closeWith));
    });
    e->clickTool("Image6");
    QCOMPARE(prompts->pending(), 0);
    const QString page = sourceMode ? e->rch->Text() : e->surface->DocumentHTML();
    QCOMPARE(page, afterClick);  // applied at once; closing undoes nothing

    if (sourceMode) {
        QCOMPARE(page, "<BODY " + written + ">x");
        QCOMPARE(e->surface->DocumentHTML(), kPage);
        e->rch->undo();
        QCOMPARE(e->rch->Text(), QString("<BODY >x"));
        return;
    }
    QCOMPARE(e->rch->Text(), QString("<BODY >x"));
    if (written.isEmpty()) {
        QCOMPARE(page, kPage);  // a cancelled colour dialog applies nothing
        return;
    }
    QVERIFY2(page.contains(written, Qt::CaseInsensitive), qPrintable(page));
    // Only the element that took the colour is rewritten (the surface names
    // itself in a generator line of its own).
    QVERIFY2(page.startsWith("<HTML><HEAD>") && page.contains("<TITLE>t</TITLE></HEAD><BODY"), qPrintable(page));
    QVERIFY2(page.endsWith("<% =x %></BODY></HTML>"), qPrintable(page));
    e->clickMenuItem("Label8");  // Edit, Undo: one step back
    QCOMPARE(e->surface->DocumentHTML(), kPage);
}

void tst_ColourWindow::dialogOpensOnLastColourWhileOpen()
{
    e->setSourceMode(true);
    prompts->answerColor(QColor(0x11, 0x22, 0x33)).cancelColor().answerColor(Qt::red);
    whenShown("clrfrm", [](QDialog& d) {
        press(d, "Command3");
        press(d, "Command2");  // cancelled: inserts nothing
        press(d, "OKButton");
    });
    e->clickTool("Image6");
    whenShown("clrfrm", [](QDialog& d) {
        press(d, "Command4");
        press(d, "CancelButton");
    });
    e->clickTool("Image6");
    const auto asked = prompts->asked();
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked[0].color, QColor(Qt::black));
    QCOMPARE(asked[1].color, QColor(0x11, 0x22, 0x33));  // the last colour, while the window is open
    QCOMPARE(asked[2].color, QColor(Qt::black));          // a new opening starts on black
}

ORVANE_TEST_MAIN(tst_ColourWindow)
#include "tst_colour_window.moc"
