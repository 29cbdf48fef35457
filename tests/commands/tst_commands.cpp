// The commands of the menus and the toolbar, clicked as a user clicks them, on
// a real design surface and a real source pane; prompts answered by script.

#include "WindowFixture.h"

#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "commands/Catalogue.h"

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

// The document's HTML without case and quotes, whatever the serialiser's style.
QString normalised(const QString& html)
{
    QString s = html.toLower();
    s.remove(QLatin1Char('"'));
    s.remove(QLatin1Char('\''));
    return s;
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

    void everyControlHasItsCommand();
    void openPanelIsPaintedOverTheDesignSurface();
    void pointerMovesInTheWindowClosePanels_data();
    void pointerMovesInTheWindowClosePanels();
    void sourceModeInsertsAtTheCaret_data();
    void sourceModeInsertsAtTheCaret();
    void editModeRunsEditingCommands_data();
    void editModeRunsEditingCommands();
    void editModePastesBuiltFragments_data();
    void editModePastesBuiltFragments();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void sourcePaneEditMenu();
    void designSurfaceEditMenuAndDialogs();
    void insertImageUsesFileNameOnly();
    void windowOpeners_data();
    void windowOpeners();

private:
    std::unique_ptr<WindowFixture> e;
};

// A control whose name is misspelt in the catalogue would do nothing when clicked.
void tst_Commands::everyControlHasItsCommand()
{
    QStringList controls = e->toolbar->names();
    for (const menubar::PanelRow& p : menubar::menuPanels())
        if (p.name != "Picture1")  // the File menu belongs to the document's life
            for (const menubar::ItemRow& i : p.items)
                controls << i.name;
    controls << "Label_help";
    for (const QString& c : controls) {
        const Command* command = findCommand(c);
        QVERIFY2(command, qPrintable(c));
        QLabel* item = e->menuBar->item(c);
        QCOMPARE(command->panel, item ? item->parentWidget()->objectName() : QString());
        if (item)
            QCOMPARE(item->text(), command->caption);
        else if (e->toolbar->button(c))
            QCOMPARE(e->toolbar->button(c)->toolTip(), command->caption);
    }
    QCOMPARE(commandCatalogue().size(), controls.size());
}

// The web view renders through a child of its own: a raised panel must still
// be drawn over it.
void tst_Commands::openPanelIsPaintedOverTheDesignSurface()
{
    e->surface->setDocumentHTML("<BODY BGCOLOR=#ff0000><P>x</P></BODY>");
    QTest::mouseClick(e->menuBar->header("Label_format"), Qt::LeftButton);
    QWidget* panel = e->menuPanel("Picture_format");
    const QPoint inPanel = panel->mapTo(e->window.get(), QPoint(panel->width() - 6, panel->height() / 2));
    const QPoint besideIt = inPanel + QPoint(panel->width(), 0);
    const QRect surface(e->surface->mapTo(e->window.get(), QPoint(0, 0)), e->surface->size());
    QVERIFY(surface.contains(inPanel) && surface.contains(besideIt));
    QTRY_COMPARE(e->window->grab().toImage().pixelColor(besideIt), QColor(Qt::red));
    QCOMPARE(e->window->grab().toImage().pixelColor(inPanel), panel->palette().color(QPalette::Window));
}

void tst_Commands::pointerMovesInTheWindowClosePanels_data()
{
    QTest::addColumn<int>("frame");            // the frame in front: 0 design, 1 source, 2 preview
    QTest::addColumn<bool>("sourceModeAfter");
    QTest::newRow("design surface") << 0 << false;
    QTest::newRow("source pane") << 1 << true;
    QTest::newRow("preview") << 2 << false;
    QTest::newRow("window background") << -1 << true;
}

void tst_Commands::pointerMovesInTheWindowClosePanels()
{
    QFETCH(int, frame);
    QFETCH(bool, sourceModeAfter);
    e->setSourceMode(true);
    QTest::mouseClick(e->menuBar->header("Label_java"), Qt::LeftButton);
    QTest::mouseClick(e->menuBar->header("Label69"), Qt::LeftButton);
    QVERIFY(e->menuPanel("Picture_java")->isVisible() && e->menuPanel("pic_library")->isVisible());
    if (frame < 0) {
        const QPoint gap((e->menuBar->header("label_file")->geometry().right()
                          + e->menuBar->header("Label_edit")->geometry().left()) / 2, 4);
        QTest::mouseMove(e->window.get(), gap);
    } else {
        e->window->Frame1(frame)->raise();
        QWidget* target = frame == 0 ? e->surface->view()->focusProxy()
            : frame == 1 ? static_cast<QWidget*>(e->rch->viewport())
                         : e->window->DHTMLEdit2()->view()->focusProxy();
        QVERIFY(target);
        QTest::mouseMove(target, QPoint(200, 150));
    }
    QTRY_VERIFY(!e->menuPanel("Picture_java")->isVisible());
    QVERIFY(!e->menuPanel("pic_library")->isVisible());
    QCOMPARE(!e->rch->isHidden(), sourceModeAfter);
}

void tst_Commands::sourceModeInsertsAtTheCaret_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("before");   // text before the selection
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("panel");

    // Fragments as the command tables give them, written out by hand.
    QTest::newRow("menu Underline") << "Label17" << "ab" << "XY" << QStringList{} << "<U>    </U>"
                                    << "open, black";
    QTest::newRow("menu Indent") << "Label18" << "ab" << "" << QStringList{}
                                 << "<BlockQuote>    </BlockQuote>" << "open, black";
    QTest::newRow("menu Break") << "Label22" << "ab" << "XY" << QStringList{} << "<BR>" << "open, black";
    QTest::newRow("toolbar Italics") << "italics" << "ab" << "XY" << QStringList{} << "<I>    </I>" << "-";
    QTest::newRow("toolbar Align Right") << "right" << "ab" << "" << QStringList{}
                                         << "<P ALIGN=RIGHT>    </P>" << "-";
    QTest::newRow("toolbar Indent: three blanks") << "Image8" << "ab" << "" << QStringList{}
                                                  << "<BLOCKQUOTE>   </BLOCKQUOTE>" << "-";
    QTest::newRow("UnOrdered List: four blanks in the item") << "Label52" << "" << "" << QStringList{}
        << CRLF + "<UL>" + CRLF + "<LI>    </LI>" + CRLF + "</UL>" << "-";
    // The exact texts of the cases users see most.
    QTest::newRow("menu Bold replaces the selection") << "Label15" << "ab" << "XY" << QStringList{}
        << "<STRONG>    </STRONG>" << "open, red";
    QTest::newRow("Ordered List on an empty pane") << "Label51" << "" << "" << QStringList{}
        << CRLF + "<OL>" + CRLF + "<LI>   </LI>" + CRLF + "</OL>" << "-";
    QTest::newRow("Align Left, nothing between the tags") << "left1" << "a" << "" << QStringList{}
        << "<P ALIGN=LEFT></P>" << "-";
    QTest::newRow("ASP Sub on one line") << "Label66" << "a" << "" << QStringList{} << "Sub  End Sub"
                                         << "open, black";
    QTest::newRow("Insert Hyperlink, default") << "Image2" << "a" << "b" << QStringList{"HTTP:\\\\"}
        << "<A HREF=\"HTTP:\\\\\">  </A>" << "-";
    QTest::newRow("Insert Hyperlink, cancelled") << "Image2" << "a" << "" << QStringList{kCancel}
        << "<A HREF=\"\">  </A>" << "-";
    QTest::newRow("Insert Hyperlink, nothing escaped") << "Image2" << "" << "" << QStringList{"a \"b\" {1}"}
        << "<A HREF=\"a \"b\" {1}\">  </A>" << "-";
}

void tst_Commands::sourceModeInsertsAtTheCaret()
{
    QFETCH(QString, control);
    QFETCH(QString, before);
    QFETCH(QString, selected);
    QFETCH(QStringList, answers);
    QFETCH(QString, inserted);
    QFETCH(QString, panel);

    ScriptedPrompts prompts;
    queueAnswers(prompts, answers);
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
    QCOMPARE(prompts.pending(), 0);
    QCOMPARE(prompts.unexpected(), QStringList());
    QCOMPARE(e->surface->DocumentHTML(), document);
    if (control == "Image2") {
        const ScriptedPrompts::Asked& q = prompts.asked().at(0);
        QCOMPARE(q.text + "|" + q.title + "|" + q.defaultText, QString("Enter Url|ENTER URL FOR HREF|HTTP:\\\\"));
    }
}

void tst_Commands::editModeRunsEditingCommands_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("html");     // "indented": a paragraph the surface indented
    QTest::addColumn<QString>("select");   // "all", or a word to find
    QTest::addColumn<int>("latched");      // a command whose state becomes latched, or 0
    QTest::addColumn<QString>("gained");   // appears more often in the normalised document
    QTest::addColumn<QString>("lost");     // appears less often
    QTest::addColumn<QString>("panel");

    const QString p = "<P>word</P>";
    const QString table = "<TABLE><TR><TD>a</TD><TD>b</TD></TR><TR><TD>c</TD><TD>d</TD></TR></TABLE>";
    QTest::newRow("menu Bold") << "Label15" << p << "all" << int(DECMD_BOLD) << "" << "" << "closed";
    QTest::newRow("toolbar Bold") << "bold" << p << "all" << int(DECMD_BOLD) << "" << "" << "-";
    QTest::newRow("toolbar Italics") << "italics" << p << "all" << int(DECMD_ITALIC) << "" << "" << "-";
    QTest::newRow("Align Left") << "left1" << "<P ALIGN=center>word</P>" << "all" << int(DECMD_JUSTIFYLEFT) << "" << "" << "-";
    QTest::newRow("Align Center") << "center" << p << "all" << int(DECMD_JUSTIFYCENTER) << "" << "" << "-";
    QTest::newRow("menu Indent") << "Label18" << p << "all" << 0 << "<blockquote" << "" << "closed";
    QTest::newRow("toolbar Indent") << "Image8" << p << "all" << 0 << "<blockquote" << "" << "-";
    QTest::newRow("menu Outdent") << "Label19" << "indented" << "word" << 0 << "" << "<blockquote" << "closed";
    QTest::newRow("Ordered List") << "Label51" << p << "all" << 0 << "<ol>" << "" << "-";
    QTest::newRow("Unlink") << "Label23" << "<P><A HREF=x.htm>link</A></P>" << "all" << 0 << "" << "<a href" << "closed";
    QTest::newRow("Add Row") << "Label27" << table << "a" << 0 << "<tr>" << "" << "closed";
    QTest::newRow("Delete Row") << "Label25" << table << "a" << 0 << "" << "<tr>" << "closed";
    QTest::newRow("Absolute Position") << "Label50" << "<DIV>word</DIV>" << "word" << 0 << "absolute" << "" << "closed";
    // A failing command that skips errors still closes its panel; one that does
    // not stops at the failure and leaves it open. The page is unchanged.
    QTest::newRow("Delete Row outside a table") << "Label25" << p << "all" << 0 << "" << "" << "closed";
    QTest::newRow("Send to Back, nothing positioned") << "Label47" << p << "all" << 0 << "" << "" << "closed";
    QTest::newRow("menu Outdent, nothing indented") << "Label19" << p << "all" << 0 << "" << "" << "closed";
    QTest::newRow("Send Backward, nothing positioned") << "Label46" << p << "all" << 0 << "" << "" << "open, red";
    QTest::newRow("menu Bold, nothing editable") << "Label15" << "<FRAMESET></FRAMESET>" << "" << 0 << "" << "" << "open, red";
}

void tst_Commands::editModeRunsEditingCommands()
{
    QFETCH(QString, control);
    QFETCH(QString, html);
    QFETCH(QString, select);
    QFETCH(int, latched);
    QFETCH(QString, gained);
    QFETCH(QString, lost);
    QFETCH(QString, panel);

    ScriptedPrompts prompts;
    e->setSourceMode(false);
    e->rch->setText("untouched");
    e->surface->setDocumentHTML(html == "indented" ? QString("<P>word</P>") : html);
    if (html == "indented") {
        e->surface->ExecCommand(DECMD_SELECTALL);
        e->surface->ExecCommand(DECMD_INDENT, OLECMDEXECOPT_DONTPROMPTUSER);
    }
    if (select == "all")
        e->surface->ExecCommand(DECMD_SELECTALL);
    else if (!select.isEmpty())
        e->surface->ExecCommand(DECMD_FINDTEXT, OLECMDEXECOPT_DONTPROMPTUSER, select);
    const QString before = normalised(e->surface->DocumentHTML());

    e->click(control);

    const QString after = normalised(e->surface->DocumentHTML());
    if (latched)
        QCOMPARE(e->surface->QueryStatus(latched), int(DECMDF_LATCHED));
    if (!gained.isEmpty())
        QVERIFY2(after.count(gained) > before.count(gained), qPrintable(after));
    if (!lost.isEmpty())
        QVERIFY2(after.count(lost) < before.count(lost), qPrintable(after));
    QCOMPARE(after != before, latched || !gained.isEmpty() || !lost.isEmpty());
    QCOMPARE(panelState(*e, control), panel);
    QCOMPARE(e->rch->Text(), QString("untouched"));
    QCOMPARE(prompts.asked().size(), 0);
}

void tst_Commands::editModePastesBuiltFragments_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("expected");   // appears once more in the normalised document
    QTest::addColumn<QString>("questions");  // "prompt|title|default" of each question, or empty

    QTest::newRow("NonBreaking Space") << "Label20" << QStringList{} << "&nbsp;" << "";
    QTest::newRow("Copyright") << "Label21" << QStringList{} << "©" << "";
    QTest::newRow("Form") << "Label70" << QStringList{"p.asp"} << "<form action=p.asp method=post>"
                          << "Enter an Action|Form Element Name|HTTP://";
    QTest::newRow("Textbox") << "Label32" << QStringList{"t1"} << "<input type=text name=t1>" << "";
    QTest::newRow("Password, cancelled") << "Label33" << QStringList{kCancel} << "<input type=password name=>" << "";
    QTest::newRow("Radio: value written before name") << "Label34" << QStringList{"r1", "yes"}
        << "<input type=radio value=yes name=r1>"
        << "Enter a Name for Your Radio Button.|Form Element Name||Enter a Value for Your Radio Button.|Form Element Value|";
    QTest::newRow("Checkbox") << "Label35" << QStringList{"c1", "on"} << "<input type=checkbox value=on name=c1>"
        << "Enter a Name for Your Checkbox.|Enter Form Element Name||Enter a Value for Your Checkbox.|Form Element Value|";
    QTest::newRow("TextArea") << "Label36" << QStringList{"ta"} << "<textarea cols=20 rows=20 name=ta>" << "";
    QTest::newRow("Submit: name written before value") << "Label37" << QStringList{"Send", "s1"}
        << "<input type=submit name=s1 value=send>"
        << "Enter a Value for Your Submit Button.|Form Element Value||Enter a Name for your Submit Button.|Form Element Name|";
    QTest::newRow("Create a DIV: class before id") << "Label42" << QStringList{"i1", "c1"} << "<div class=c1 id=i1>"
        << "Enter an Id For Your Division.|CSS ID||Enter a Class For Your Division.|CSS Class|";
    // "Class= Id=" parses as one attribute whose value is "Id=".
    QTest::newRow("Create a Span, both cancelled") << "Label43" << QStringList{kCancel, kCancel}
        << "<span class=id=>" << "";
}

void tst_Commands::editModePastesBuiltFragments()
{
    QFETCH(QString, control);
    QFETCH(QStringList, answers);
    QFETCH(QString, expected);
    QFETCH(QString, questions);

    ScriptedPrompts prompts;
    queueAnswers(prompts, answers);
    e->setSourceMode(false);
    e->rch->setText("untouched");
    const qsizetype before = normalised(e->surface->DocumentHTML()).count(expected);

    e->click(control);

    QVERIFY2(normalised(e->surface->DocumentHTML()).count(expected) == before + 1,
             qPrintable(e->surface->DocumentHTML()));
    QStringList asked;
    for (const ScriptedPrompts::Asked& a : prompts.asked())
        asked << a.text + "|" + a.title + "|" + a.defaultText;
    if (!questions.isEmpty())
        QCOMPARE(asked.join("|"), questions);
    QCOMPARE(asked.size(), answers.size());
    QCOMPARE(panelState(*e, control), QString("closed"));
    QCOMPARE(e->rch->Text(), QString("untouched"));
}

void tst_Commands::refusalsChangeNothing_data()
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
void tst_Commands::refusalsChangeNothing()
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

void tst_Commands::sourcePaneEditMenu()
{
    ScriptedPrompts prompts;
    prompts.answerInput("table").answerInput("table").cancelInput();
    e->setSourceMode(true);

    // Find: the first match, case ignored, part of a word allowed, from the start every time.
    e->rch->setText("<TABLE><TR><TD>a table</TD></TR></TABLE>");
    for (int i = 0; i < 3; ++i) {  // the third is cancelled: the selection stays
        e->rch->setSelStart(20);
        e->clickMenuItem("Label14");
        QCOMPARE(e->rch->SelText(), i < 2 ? QString("TABLE") : QString());
        QCOMPARE(e->rch->SelStart(), i < 2 ? 1 : 20);
        QCOMPARE(panelState(*e, "Label14"), QString("closed"));
    }
    QCOMPARE(prompts.asked().at(0).text + "|" + prompts.asked().at(0).title, QString("Enter Word to Find|Find Text"));

    e->rch->setText(QString());
    e->clickMenuItem("Label13");  // Select All on an empty pane
    QCOMPARE(e->rch->SelLength(), 0);
    QCOMPARE(panelState(*e, "Label13"), QString("closed"));
    e->rch->setText("one two");
    e->clickMenuItem("Label13");
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
    QCOMPARE(prompts.pending(), 0);
}

void tst_Commands::designSurfaceEditMenuAndDialogs()
{
    ScriptedPrompts prompts;
    e->setSourceMode(false);
    e->surface->setDocumentHTML("<P>a word</P>");
    const auto html = [this] { return normalised(e->surface->DocumentHTML()); };

    e->clickMenuItem("Label13");  // Select All
    e->clickMenuItem("Label11");  // Copy
    QCOMPARE(QApplication::clipboard()->text(), QString("a word"));
    e->clickTool("bold");
    e->clickMenuItem("Label8");  // Undo
    QVERIFY(!html().contains("<b>"));
    e->clickMenuItem("Label9");  // Redo
    QVERIFY(html().contains("<b>"));
    e->surface->ExecCommand(DECMD_SELECTALL);
    e->clickMenuItem("Label10");  // Cut
    QVERIFY(!html().contains("word"));
    e->clickTool("paste");
    QVERIFY(html().contains("word"));
    // Paste skips its errors: with an empty clipboard it still closes its panel.
    QApplication::clipboard()->clear();
    const QString before = html();
    e->clickMenuItem("Label12");
    QCOMPARE(panelState(*e, "Label12"), QString("closed"));
    QCOMPARE(html(), before);
    QCOMPARE(prompts.asked().size(), 0);

    // Find, Insert Hyperlink and Insert Image ask through the surface's own dialogs.
    prompts.answerInput("word").answerInput("x.htm").answerInput("pic.gif").answerInput("");
    e->clickMenuItem("Label14");
    QCOMPARE(e->surface->DOM().selection().createRange().text(), QString("word"));
    QCOMPARE(panelState(*e, "Label14"), QString("closed"));
    e->clickTool("Image2");
    QVERIFY(html().contains("<a href=x.htm>word</a>"));
    e->clickTool("Image4");
    QVERIFY(html().contains("src=pic.gif"));
    QCOMPARE(prompts.pending(), 0);
    QVERIFY(prompts.asked().at(0).title != "Find Text" && prompts.asked().at(1).title != "ENTER URL FOR HREF");
}

void tst_Commands::insertImageUsesFileNameOnly()
{
    ScriptedPrompts prompts;
    prompts.answerFile("/srv/site/images/pic one.gif").cancelFile();
    e->setSourceMode(true);
    e->rch->setText(QString());
    e->clickTool("Image4");
    QCOMPARE(e->rch->Text(), QString("<IMG SRC=\"pic one.gif\">"));
    e->clickTool("Image4");  // cancelled: the dialog keeps its last choice
    QCOMPARE(e->rch->Text(), QString("<IMG SRC=\"pic one.gif\"><IMG SRC=\"pic one.gif\">"));
}

void tst_Commands::windowOpeners_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("panel");

    QTest::newRow("toolbar Table Wizard") << "Image3" << true << "tblfFrm" << "" << "-";
    QTest::newRow("Table menu Wizard") << "Label24" << false << "tblfFrm" << "" << "closed";
    QTest::newRow("Create a Style Class") << "Label41" << false << "StyleFrm" << "" << "closed";
    QTest::newRow("toolbar Change Colors, Source mode") << "Image6" << true << "clrfrm" << "" << "-";
    QTest::newRow("Ftp") << "Image7" << false << "frmFtp" << "" << "-";
    QTest::newRow("Events Wizard, Source mode") << "Label56" << true << "javaWiz"
        << "Step 1. Click the Element Where You would Like This Event to Occur!" << "closed";
    QTest::newRow("Events Wizard, Edit mode") << "Label56" << false << ""
        << "Please Change to Source Mode to Use This Component" << "closed";
    QTest::newRow("Rollover Wizard, Source mode") << "Label57" << true << "funcFrm" << "" << "closed";
    QTest::newRow("Rollover Wizard, Edit mode") << "Label57" << false << ""
        << "Please Use This Feature in Source Mode" << "open, red";
    QTest::newRow("Image Library") << "L" << false << "IlibFrm" << "" << "closed";
    QTest::newRow("Help") << "Label_help" << false << "helpFrm" << "" << "-";
}

void tst_Commands::windowOpeners()
{
    QFETCH(QString, control);
    QFETCH(bool, sourceMode);
    QFETCH(QString, opened);
    QFETCH(QString, message);
    QFETCH(QString, panel);

    QStringList shown;
    for (const char* w : {"tblfFrm", "StyleFrm", "frmMain", "clrfrm", "frmFtp", "javaWiz",
                          "funcFrm", "IlibFrm", "SlibFrm", "helpFrm"})
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

ORVANE_TEST_MAIN(tst_Commands)
#include "tst_commands.moc"
