// The commands of the menus and the toolbar, clicked as a user clicks them, on
// a real design surface and a real source pane; prompts answered by script.
#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QWebEngineView>

using namespace orvane;
using orvane::test::WindowFixture;

namespace {

const QString kCancel = QStringLiteral("<cancel>");
const QString CRLF = QStringLiteral("\r\n");

void queueAnswers(ScriptedPrompts& prompts, const QStringList& answers)
{
    for (const QString& a : answers)
        a == kCancel ? prompts.cancelInput() : prompts.answerInput(a);
}

// Each question asked as "prompt|title|default", joined by "|".
QString questions(const ScriptedPrompts& prompts)
{
    QStringList asked;
    for (const ScriptedPrompts::Asked& a : prompts.asked())
        asked << a.text + "|" + a.title + "|" + a.defaultText;
    return asked.join("|");
}

// The document's HTML without case and quotes, whatever the serialiser's style.
QString normalised(const QString& html)
{
    return html.toLower().remove(QLatin1Char('"')).remove(QLatin1Char('\''));
}

// How a menu item and its panel are left; "-" for a toolbar control.
QString panelState(WindowFixture& e, const QString& control)
{
    QLabel* item = e.menuBar->item(control);
    if (!item)
        return "-";
    if (!item->parentWidget()->isVisible())
        return "closed";
    return MenuBar::foreColor(item) == MenuBar::kHover ? "open, red" : "open, black";
}

}  // namespace

class tst_Commands : public QObject {
    Q_OBJECT
private slots:
    void init() { e = std::make_unique<WindowFixture>(); }
    void cleanup() { e.reset(); }

    // The web view renders through a child of its own: a raised panel must
    // still be drawn over it.
    void openPanelIsPaintedOverTheDesignSurface()
    {
        e->surface->setDocumentHTML("<BODY BGCOLOR=#ff0000><P>x</P></BODY>");
        QTest::mouseClick(e->menuBar->header("Label_format"), Qt::LeftButton);
        QWidget* panel = e->menuPanel("Picture_format");
        const QPoint inPanel = panel->mapTo(e->window.get(), QPoint(panel->width() - 6, panel->height() / 2));
        const QPoint besideIt = inPanel + QPoint(panel->width(), 0);
        QTRY_COMPARE(e->window->grab().toImage().pixelColor(besideIt), QColor(Qt::red));
        QCOMPARE(e->window->grab().toImage().pixelColor(inPanel), panel->palette().color(QPalette::Window));
    }

    void sourceModeInsertsAtTheCaret_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("before");  // text before the selection
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("answer");  // to the one question, if any
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("panel");
        QTest::newRow("menu Bold replaces the selection") << "Label15" << "ab" << "XY" << ""
                                                          << "<STRONG>    </STRONG>" << "open, red";
        QTest::newRow("toolbar Indent: three blanks") << "Image8" << "ab" << "" << ""
                                                      << "<BLOCKQUOTE>   </BLOCKQUOTE>" << "-";
        QTest::newRow("Ordered List: three blanks") << "Label51" << "" << "" << ""
            << CRLF + "<OL>" + CRLF + "<LI>   </LI>" + CRLF + "</OL>" << "-";
        QTest::newRow("ASP Sub on one line") << "Label66" << "a" << "" << "" << "Sub  End Sub" << "open, black";
        QTest::newRow("Insert Hyperlink, cancelled") << "Image2" << "a" << "" << kCancel
                                                     << "<A HREF=\"\">  </A>" << "-";
        QTest::newRow("Insert Hyperlink, nothing escaped") << "Image2" << "" << "" << "a \"b\" {1}"
                                                           << "<A HREF=\"a \"b\" {1}\">  </A>" << "-";
    }

    void sourceModeInsertsAtTheCaret()
    {
        QFETCH(QString, control);
        QFETCH(QString, before);
        QFETCH(QString, selected);
        QFETCH(QString, answer);
        QFETCH(QString, inserted);
        QFETCH(QString, panel);
        ScriptedPrompts prompts;
        queueAnswers(prompts, answer.isEmpty() ? QStringList() : QStringList{answer});
        e->setSourceMode(true);
        e->rch->setText(before + selected + "cd");
        e->rch->setSelStart(int(before.size()));
        e->rch->setSelLength(int(selected.size()));
        const QString document = e->surface->DocumentHTML();

        e->click(control);

        QCOMPARE(e->rch->Text(), before + inserted + "cd");
        QCOMPARE(e->rch->SelStart(), int(before.size() + inserted.size()));
        QCOMPARE(e->rch->SelLength(), 0);
        QCOMPARE(panelState(*e, control), panel);
        QCOMPARE(prompts.unexpected(), QStringList());
        QCOMPARE(e->surface->DocumentHTML(), document);
        QCOMPARE(questions(prompts), answer.isEmpty() ? QString() : QString("Enter Url|ENTER URL FOR HREF|HTTP:\\\\"));
    }

    void editModeRunsEditingCommands_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("html");
        QTest::addColumn<int>("latched");  // a command whose state becomes latched, or 0: no change
        QTest::addColumn<QString>("panel");
        const QString p = "<P>word</P>";
        QTest::newRow("menu Bold") << "Label15" << p << int(DECMD_BOLD) << "closed";
        QTest::newRow("toolbar Align Left") << "left1" << "<P ALIGN=center>word</P>" << int(DECMD_JUSTIFYLEFT) << "-";
        // A failing command that skips errors still closes its panel; one that
        // does not stops at the failure and leaves it open. The page is unchanged.
        QTest::newRow("Delete Row outside a table") << "Label25" << p << 0 << "closed";
        QTest::newRow("Send Backward, nothing positioned") << "Label46" << p << 0 << "open, red";
        QTest::newRow("menu Bold, nothing editable") << "Label15" << "<FRAMESET></FRAMESET>" << 0 << "open, red";
    }

    void editModeRunsEditingCommands()
    {
        QFETCH(QString, control);
        QFETCH(QString, html);
        QFETCH(int, latched);
        QFETCH(QString, panel);
        ScriptedPrompts prompts;
        e->setSourceMode(false);
        e->rch->setText("untouched");
        e->surface->setDocumentHTML(html);
        e->surface->ExecCommand(DECMD_SELECTALL);
        const QString before = e->surface->DocumentHTML();
        e->click(control);
        if (latched)
            QCOMPARE(e->surface->QueryStatus(latched), int(DECMDF_LATCHED));
        QCOMPARE(e->surface->DocumentHTML() != before, latched != 0);
        QCOMPARE(panelState(*e, control), panel);
        QCOMPARE(e->rch->Text(), QString("untouched"));
        QCOMPARE(prompts.asked().size(), 0);
    }

    void editModePastesBuiltFragments_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("expected");   // appears once more in the normalised document
        QTest::addColumn<QString>("asked");  // as questions() gives them, or empty
        QTest::newRow("Form") << "Label70" << QStringList{"p.asp"} << "<form action=p.asp method=post>"
                              << "Enter an Action|Form Element Name|HTTP://";
        QTest::newRow("Radio: value written before name") << "Label34" << QStringList{"r1", "yes"}
            << "<input type=radio value=yes name=r1>"
            << "Enter a Name for Your Radio Button.|Form Element Name||Enter a Value for Your Radio Button.|Form Element Value|";
        QTest::newRow("Submit: name written before value") << "Label37" << QStringList{"Send", "s1"}
            << "<input type=submit name=s1 value=send>"
            << "Enter a Value for Your Submit Button.|Form Element Value||Enter a Name for your Submit Button.|Form Element Name|";
        // An answer that looks like a placeholder is written as it is, not filled again.
        QTest::newRow("Create a DIV: class before id") << "Label42" << QStringList{"{2}", "c1"}
            << "<div class=c1 id={2}>"
            << "Enter an Id For Your Division.|CSS ID||Enter a Class For Your Division.|CSS Class|";
        // "Class= Id=" parses as one attribute whose value is "Id=".
        QTest::newRow("Create a Span, both cancelled") << "Label43" << QStringList{kCancel, kCancel}
                                                       << "<span class=id=>" << "";
    }

    void editModePastesBuiltFragments()
    {
        QFETCH(QString, control);
        QFETCH(QStringList, answers);
        QFETCH(QString, expected);
        QFETCH(QString, asked);
        ScriptedPrompts prompts;
        queueAnswers(prompts, answers);
        e->setSourceMode(false);
        e->rch->setText("untouched");
        const qsizetype before = normalised(e->surface->DocumentHTML()).count(expected);

        e->click(control);

        QVERIFY2(normalised(e->surface->DocumentHTML()).count(expected) == before + 1,
                 qPrintable(e->surface->DocumentHTML()));
        if (!asked.isEmpty())
            QCOMPARE(questions(prompts), asked);
        QCOMPARE(prompts.asked().size(), answers.size());
        QCOMPARE(panelState(*e, control), QString("closed"));
        QCOMPARE(e->rch->Text(), QString("untouched"));
    }

    void refusalsChangeNothing_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        const int info = int(MsgIcon::Information);
        QTest::newRow("menu Outdent") << "Label19" << "Please Use This Menu Item in Edit Mode" << "orvane" << 0;
        QTest::newRow("toolbar Outdent") << "Image9" << "Please Use this in Edit Mode" << "orvane" << 0;
        for (const char* style : {"Label42", "Label43", "Label44", "Label45"})
            QTest::newRow(style) << style << "Please Use this Menu in Edit Mode" << "Orvane Tip" << info;
    }

    // In Source mode. The menu bar disables the Style items once the pointer
    // crosses their header; should a click reach them all the same, they refuse.
    void refusalsChangeNothing()
    {
        QFETCH(QString, control);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(int, icon);
        ScriptedPrompts prompts;
        e->setSourceMode(true);
        e->rch->setText("abcd");
        e->rch->setSelStart(2);
        const QString document = e->surface->DocumentHTML();
        if (e->menuBar->item(control))
            e->clickUngatedMenuItem(control);
        else
            e->clickTool(control);

        QCOMPARE(prompts.messages().size(), 1);
        const ScriptedPrompts::Asked& m = prompts.messages().at(0);
        QCOMPARE(m.text + "|" + m.title, message + "|" + title);
        QCOMPARE(int(m.icon), icon);
        QCOMPARE(m.buttons, MsgButtons::OK);
        QCOMPARE(e->rch->Text(), QString("abcd"));
        QCOMPARE(e->rch->SelStart(), 2);
        QCOMPARE(e->surface->DocumentHTML(), document);
        QCOMPARE(panelState(*e, control), QString(e->menuBar->item(control) ? "open, red" : "-"));
    }

    void sourcePaneEditMenu()
    {
        ScriptedPrompts prompts;
        prompts.answerInput("table").cancelInput();
        e->setSourceMode(true);

        // Find: the first match from the start, case ignored, part of a word
        // allowed; cancelled, the selection stays.
        e->rch->setText("<TABLE><TR><TD>a table</TD></TR></TABLE>");
        for (const int at : {1, 20}) {
            e->rch->setSelStart(20);
            e->clickMenuItem("Label14");
            QCOMPARE(e->rch->SelStart(), at);
            QCOMPARE(e->rch->SelLength(), at == 1 ? 5 : 0);
            QCOMPARE(panelState(*e, "Label14"), QString("closed"));
        }
        QVERIFY(questions(prompts).startsWith("Enter Word to Find|Find Text|"));

        e->rch->setText("one two");
        e->clickMenuItem("Label13");  // Select All
        QCOMPARE(e->rch->SelText(), QString("one two"));

        // Toolbar Copy leaves the focus in the source pane.
        e->rch->setSelStart(4);
        e->rch->setSelLength(3);
        e->surface->setFocus();
        e->clickTool("copy");
        QCOMPARE(QApplication::clipboard()->text(), QString("two"));
        QTRY_VERIFY(e->rch->hasFocus());

        e->rch->setSelStart(0);
        e->rch->setSelLength(4);
        e->clickMenuItem("Label10");  // Cut
        QCOMPARE(e->rch->Text() + "|" + QApplication::clipboard()->text(), QString("two|one "));
        e->rch->setSelStart(3);
        e->clickMenuItem("Label12");  // Paste
        QCOMPARE(e->rch->Text(), QString("twoone "));
        e->clickMenuItem("Label8");  // Undo takes the paste back
        QCOMPARE(e->rch->Text(), QString("two"));
        QCOMPARE(panelState(*e, "Label8"), QString("closed"));
    }

    // Source mode: the picture's file name only; a cancelled dialog keeps its last choice.
    void insertImageUsesFileNameOnly()
    {
        ScriptedPrompts prompts;
        prompts.answerFile("/srv/site/images/pic one.gif").cancelFile();
        e->setSourceMode(true);
        e->rch->setText(QString());
        e->clickTool("Image4");
        QCOMPARE(e->rch->Text(), QString("<IMG SRC=\"pic one.gif\">"));
        e->clickTool("Image4");
        QCOMPARE(e->rch->Text(), QString("<IMG SRC=\"pic one.gif\"><IMG SRC=\"pic one.gif\">"));
    }

    void windowOpeners_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("sourceMode");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("panel");
        QTest::newRow("Events Wizard, Edit mode") << "Label56" << false << ""
            << "Please Change to Source Mode to Use This Component" << "closed";
        QTest::newRow("Rollover Wizard, Edit mode") << "Label57" << false << ""
            << "Please Use This Feature in Source Mode" << "open, red";
        QTest::newRow("Events Wizard, Source mode") << "Label56" << true << "javaWiz"
            << "Step 1. Click the Element Where You would Like This Event to Occur!" << "closed";
        QTest::newRow("Ftp") << "Image7" << false << "frmFtp" << "" << "-";
    }

    void windowOpeners()
    {
        QFETCH(QString, control);
        QFETCH(bool, sourceMode);
        QFETCH(QString, opened);
        QFETCH(QString, message);
        QFETCH(QString, panel);
        QStringList shown;
        for (const char* w : {"frmFtp", "javaWiz", "funcFrm"})
            e->wiring->setWindow(w, [&shown, name = QString(w)] { shown << name; });
        ScriptedPrompts prompts;
        e->setSourceMode(sourceMode);
        e->rch->setText("abc");
        e->click(control);
        QCOMPARE(shown.join(","), opened);
        QCOMPARE(prompts.messages().isEmpty() ? QString() : prompts.messages().at(0).text, message);
        QCOMPARE(panelState(*e, control), panel);
        QCOMPARE(e->rch->Text(), QString("abc"));
    }

private:
    std::unique_ptr<WindowFixture> e;
};

ORVANE_TEST_MAIN(tst_Commands)
#include "tst_commands.moc"
