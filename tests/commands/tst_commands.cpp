// The commands of the menus and the toolbar, clicked as a user clicks them, on
// a real design surface and a real source pane; prompts answered by script.

#include "EditorFixture.h"

#include "ScriptedPrompts.h"
#include "TestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QRegularExpression>

using namespace orvane;
using orvane::test::EditorFixture;

namespace {

const QString kCancel = QStringLiteral("<cancel>");
const QString CRLF = QStringLiteral("\r\n");

void queueAnswers(ScriptedPrompts& prompts, const QStringList& answers)
{
    for (const QString& a : answers) {
        if (a == kCancel)
            prompts.cancelInput();
        else
            prompts.answerInput(a);
    }
}

// The document's HTML with case and quoting taken out, so attribute order and
// values can be compared whatever the serialiser's style.
QString normalised(const QString& html)
{
    QString s = html.toLower();
    s.remove(QLatin1Char('"'));
    s.remove(QLatin1Char('\''));
    return s;
}

// How a menu item and its panel are left: "open, red", "open, black", "closed";
// toolbar controls have no panel ("-").
QString panelState(EditorFixture& e, const QString& control)
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
    void init();
    void cleanup();

    void sourceModeInsertsFragments_data();
    void sourceModeInsertsFragments();
    void editModeRunsEditingCommands_data();
    void editModeRunsEditingCommands();
    void editMenuOnDesignSurface();
    void surfaceDialogsAskInEditMode();
    void editModePastesFragments_data();
    void editModePastesFragments();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void findSelectsFirstMatchIgnoringCase();
    void selectAllAndClipboardInSourceMode();
    void insertImageUsesFileNameOnly();
    void windowOpeners_data();
    void windowOpeners();
    void openersWithoutWindowDoNothing();

private:
    std::unique_ptr<EditorFixture> e;
};

void tst_Commands::init() { e = std::make_unique<EditorFixture>(); }
void tst_Commands::cleanup() { e.reset(); }

void tst_Commands::sourceModeInsertsFragments_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("panel");

    const auto row = [](const char* name, const QString& control, const QString& inserted,
                        const QString& panel, const QStringList& answers = {}) {
        QTest::newRow(name) << control << "ab" << "XY" << "cd" << answers << inserted << panel;
    };
    // Format menu: the panel stays open; only Bold leaves its item as it was.
    row("menu Bold", "Label15", "<STRONG>    </STRONG>", "open, red");
    row("menu Italics", "Label16", "<I>    </I>", "open, black");
    row("menu Underline", "Label17", "<U>    </U>", "open, black");
    row("menu Indent", "Label18", "<BlockQuote>    </BlockQuote>", "open, black");
    row("menu NonBreaking Space", "Label20", "&nbsp;", "open, black");
    row("menu Copyright", "Label21", "&COPY;", "open, black");
    row("menu Break", "Label22", "<BR>", "open, black");
    // Toolbar.
    row("toolbar Bold", "bold", "<STRONG>    </STRONG>", "-");
    row("toolbar Italics", "italics", "<I>    </I>", "-");
    row("toolbar Underline", "underline", "<U>    </U>", "-");
    row("toolbar Align Left, nothing between the tags", "left1", "<P ALIGN=LEFT></P>", "-");
    row("toolbar Align Center", "center", "<CENTER>    </CENTER>", "-");
    row("toolbar Align Right", "right", "<P ALIGN=RIGHT>    </P>", "-");
    row("toolbar Indent", "Image8", "<BLOCKQUOTE>   </BLOCKQUOTE>", "-");
    row("toolbar Ordered List", "Label51", CRLF + "<OL>" + CRLF + "<LI>   </LI>" + CRLF + "</OL>", "-");
    row("toolbar UnOrdered List", "Label52", CRLF + "<UL>" + CRLF + "<LI>    </LI>" + CRLF + "</UL>",
        "-");
    QTest::newRow("Ordered List on an empty pane")
        << "Label51" << "" << "" << "" << QStringList{}
        << CRLF + "<OL>" + CRLF + "<LI>   </LI>" + CRLF + "</OL>" << "-";
    row("Insert Hyperlink with the default", "Image2", "<A HREF=\"HTTP:\\\\\">  </A>", "-",
        {"HTTP:\\\\"});
    row("Insert Hyperlink cancelled", "Image2", "<A HREF=\"\">  </A>", "-", {kCancel});
    row("Insert Hyperlink, blanks and quotes unescaped", "Image2",
        "<A HREF=\"a \"b\" {1}\">  </A>", "-", {"a \"b\" {1}"});
    // ASP snippets: the panel stays open for the next one.
    row("ASP <% %>", "Label58", "<% %>", "open, black");
    row("ASP Respose.write()", "Label59", "Respose.write()", "open, black");
    row("ASP Response.Redirect", "Label60", "Response.Redirect", "open, black");
    row("ASP Request.QueryString()", "Label61", "Request.QueryString()", "open, black");
    row("ASP Request.Form()", "Label62", "Request.Form()", "open, black");
    row("ASP Sever.CreateObject()", "Label63", "Sever.CreateObject()", "open, black");
    row("ASP Session()", "Label64", "Session()", "open, black");
    row("ASP Application()", "Label65", "Application()", "open, black");
    row("ASP Sub", "Label66", "Sub  End Sub", "open, black");
    row("ASP For", "Label67", "For  Next", "open, black");
    row("ASP While", "Label68", "While  Loop", "open, black");
}

void tst_Commands::sourceModeInsertsFragments()
{
    QFETCH(QString, control);
    QFETCH(QString, before);
    QFETCH(QString, selected);
    QFETCH(QString, after);
    QFETCH(QStringList, answers);
    QFETCH(QString, inserted);
    QFETCH(QString, panel);

    ScriptedPrompts prompts;
    queueAnswers(prompts, answers);
    e->setSourceMode(true);
    e->rch->setText(before + selected + after);
    e->rch->setSelStart(int(before.size()));
    e->rch->setSelLength(int(selected.size()));
    const QString documentBefore = e->surface->DocumentHTML();

    e->click(control);

    QCOMPARE(e->rch->Text(), before + inserted + after);
    QCOMPARE(e->rch->SelStart(), int(before.size() + inserted.size()));
    QCOMPARE(e->rch->SelLength(), 0);
    QCOMPARE(panelState(*e, control), panel);
    QCOMPARE(prompts.unexpected(), QStringList());
    QCOMPARE(prompts.pending(), 0);
    QCOMPARE(e->surface->DocumentHTML(), documentBefore);
    if (control == "Image2") {
        QCOMPARE(prompts.asked().at(0).text, QString("Enter Url"));
        QCOMPARE(prompts.asked().at(0).title, QString("ENTER URL FOR HREF"));
        QCOMPARE(prompts.asked().at(0).defaultText, QString("HTTP:\\\\"));
    }
}

void tst_Commands::editModeRunsEditingCommands_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("select");   // "all", or a word to find
    QTest::addColumn<int>("latched");      // a command whose state becomes latched, or 0
    QTest::addColumn<QString>("gained");   // appears more often in the normalised document
    QTest::addColumn<QString>("lost");     // appears less often
    QTest::addColumn<QString>("panel");

    const QString para = "<P>word</P>";
    // The design surface outdents what it indented itself.
    const QString quote = "indented";
    const QString table = "<TABLE><TR><TD>a</TD><TD>b</TD></TR><TR><TD>c</TD><TD>d</TD></TR></TABLE>";
    QTest::newRow("menu Bold") << "Label15" << para << "all" << int(DECMD_BOLD) << "" << "" << "closed";
    QTest::newRow("menu Italics") << "Label16" << para << "all" << int(DECMD_ITALIC) << "" << ""
                                  << "closed";
    QTest::newRow("menu Underline") << "Label17" << para << "all" << int(DECMD_UNDERLINE) << ""
                                    << "" << "closed";
    QTest::newRow("toolbar Bold") << "bold" << para << "all" << int(DECMD_BOLD) << "" << "" << "-";
    QTest::newRow("toolbar Italics") << "italics" << para << "all" << int(DECMD_ITALIC) << "" << ""
                                     << "-";
    QTest::newRow("toolbar Underline") << "underline" << para << "all" << int(DECMD_UNDERLINE)
                                       << "" << "" << "-";
    QTest::newRow("toolbar Align Left") << "left1" << "<P ALIGN=center>word</P>" << "all"
                                        << int(DECMD_JUSTIFYLEFT) << "" << "" << "-";
    QTest::newRow("toolbar Align Center") << "center" << para << "all" << int(DECMD_JUSTIFYCENTER)
                                          << "" << "" << "-";
    QTest::newRow("toolbar Align Right") << "right" << para << "all" << int(DECMD_JUSTIFYRIGHT)
                                         << "" << "" << "-";
    QTest::newRow("menu Indent") << "Label18" << para << "all" << 0 << "<blockquote" << ""
                                 << "closed";
    QTest::newRow("toolbar Indent") << "Image8" << para << "all" << 0 << "<blockquote" << "" << "-";
    QTest::newRow("menu Outdent") << "Label19" << quote << "word" << 0 << "" << "<blockquote"
                                  << "closed";
    QTest::newRow("toolbar Outdent") << "Image9" << quote << "word" << 0 << "" << "<blockquote"
                                     << "-";
    QTest::newRow("Ordered List") << "Label51" << para << "all" << 0 << "<ol>" << "" << "-";
    QTest::newRow("UnOrdered List") << "Label52" << para << "all" << 0 << "<ul>" << "" << "-";
    QTest::newRow("Unlink") << "Label23" << "<P><A HREF=x.htm>link</A></P>" << "all" << 0 << ""
                            << "<a href=x.htm>" << "closed";
    QTest::newRow("Add Row") << "Label27" << table << "a" << 0 << "<tr>" << "" << "closed";
    QTest::newRow("Add Column") << "Label28" << table << "a" << 0 << "<td>" << "" << "closed";
    QTest::newRow("Delete Row") << "Label25" << table << "a" << 0 << "" << "<tr>" << "closed";
    QTest::newRow("Delete Column") << "Label26" << table << "a" << 0 << "" << "<td>" << "closed";
    QTest::newRow("Absolute Position") << "Label50" << "<DIV>word</DIV>" << "word" << 0
                                       << "absolute" << "" << "closed";
    // Failures: a command that skips errors still closes its panel; one that
    // does not stops at the failure and leaves it open. Nothing changes.
    QTest::newRow("Delete Row outside a table") << "Label25" << para << "all" << 0 << "" << ""
                                                << "closed";
    QTest::newRow("Send to Back, nothing positioned") << "Label47" << para << "all" << 0 << ""
                                                      << "" << "closed";
    QTest::newRow("Send Backward, nothing positioned") << "Label46" << para << "all" << 0 << ""
                                                       << "" << "open, red";
    QTest::newRow("menu Outdent, nothing indented") << "Label19" << para << "all" << 0 << "" << ""
                                                    << "closed";
    QTest::newRow("menu Bold with nothing editable") << "Label15" << "<FRAMESET></FRAMESET>" << ""
                                                     << 0 << "" << "" << "open, red";
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
    if (!latched && gained.isEmpty() && lost.isEmpty())
        QCOMPARE(after, before);
    else
        QVERIFY(after != before);
    QCOMPARE(panelState(*e, control), panel);
    QCOMPARE(e->rch->Text(), QString("untouched"));
    QCOMPARE(prompts.asked().size(), 0);
}

void tst_Commands::editMenuOnDesignSurface()
{
    ScriptedPrompts prompts;
    e->setSourceMode(false);
    e->surface->setDocumentHTML("<P>word</P>");
    const auto selected = [this] { return e->surface->DOM().selection().createRange().text(); };

    e->clickMenuItem("Label13");  // Select All
    QCOMPARE(selected(), QString("word"));
    QCOMPARE(panelState(*e, "Label13"), QString("closed"));

    e->clickMenuItem("Label11");  // Copy
    QCOMPARE(QApplication::clipboard()->text(), QString("word"));

    e->clickTool("bold");
    QCOMPARE(e->surface->QueryStatus(DECMD_BOLD), int(DECMDF_LATCHED));
    e->clickMenuItem("Label8");  // Undo
    QVERIFY(!normalised(e->surface->DocumentHTML()).contains("<b>"));
    QCOMPARE(panelState(*e, "Label8"), QString("closed"));
    e->clickMenuItem("Label9");  // Redo
    QVERIFY(normalised(e->surface->DocumentHTML()).contains("<b>"));
    QCOMPARE(panelState(*e, "Label9"), QString("closed"));

    e->surface->ExecCommand(DECMD_SELECTALL);
    e->clickMenuItem("Label10");  // Cut
    QVERIFY(!e->surface->DocumentHTML().contains("word"));
    QCOMPARE(panelState(*e, "Label10"), QString("closed"));
    e->clickTool("paste");
    QVERIFY(e->surface->DocumentHTML().contains("word"));

    // Paste skips its errors: with an empty clipboard it still closes the panel.
    QApplication::clipboard()->clear();
    const QString before = e->surface->DocumentHTML();
    e->clickMenuItem("Label12");
    QCOMPARE(panelState(*e, "Label12"), QString("closed"));
    QCOMPARE(e->surface->DocumentHTML(), before);
    QCOMPARE(prompts.asked().size(), 0);
}

// In Edit mode Find, Insert Hyperlink and Insert Image ask nothing of their
// own: the design surface's dialogs do the asking.
void tst_Commands::surfaceDialogsAskInEditMode()
{
    ScriptedPrompts prompts;
    prompts.answerInput("word").answerInput("x.htm").answerInput("pic.gif").answerInput("a picture");
    e->setSourceMode(false);
    e->surface->setDocumentHTML("<P>a word here</P>");

    e->clickMenuItem("Label14");
    QCOMPARE(e->surface->DOM().selection().createRange().text(), QString("word"));
    QCOMPARE(panelState(*e, "Label14"), QString("closed"));

    e->clickTool("Image2");
    QVERIFY(normalised(e->surface->DocumentHTML()).contains("<a href=x.htm>word</a>"));

    e->clickTool("Image4");
    QVERIFY(normalised(e->surface->DocumentHTML()).contains("src=pic.gif"));

    QCOMPARE(prompts.asked().size(), 4);
    QVERIFY(prompts.asked().at(0).title != "Find Text");  // not the source pane's question
    QVERIFY(prompts.asked().at(1).title != "ENTER URL FOR HREF");
    QCOMPARE(prompts.pending(), 0);
}

void tst_Commands::editModePastesFragments_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("questions");  // "prompt | title | default", in order
    QTest::addColumn<QString>("expected");       // appears once more in the normalised document
    QTest::addColumn<QString>("panel");

    QTest::newRow("NonBreaking Space") << "Label20" << QStringList{} << QStringList{}
                                       << "&nbsp;" << "closed";
    QTest::newRow("Break") << "Label22" << QStringList{} << QStringList{} << "<br>" << "closed";
    QTest::newRow("Form") << "Label70" << QStringList{"http://h/p.asp"}
                          << QStringList{"Enter an Action | Form Element Name | HTTP://"}
                          << "<form action=http://h/p.asp method=post>" << "closed";
    QTest::newRow("Textbox") << "Label32" << QStringList{"t1"}
                             << QStringList{"Enter a Name For Your Textbox. | Form Element Name | "}
                             << "<input type=text name=t1>" << "closed";
    QTest::newRow("Password cancelled") << "Label33" << QStringList{kCancel}
        << QStringList{"Enter a Name For Your Password box. | Form Element Name | "}
        << "<input type=password name=>" << "closed";
    QTest::newRow("Radio: value written before name") << "Label34" << QStringList{"r1", "yes"}
        << QStringList{"Enter a Name for Your Radio Button. | Form Element Name | ",
                       "Enter a Value for Your Radio Button. | Form Element Value | "}
        << "<input type=radio value=yes name=r1>" << "closed";
    QTest::newRow("Checkbox") << "Label35" << QStringList{"c1", "on"}
        << QStringList{"Enter a Name for Your Checkbox. | Enter Form Element Name | ",
                       "Enter a Value for Your Checkbox. | Form Element Value | "}
        << "<input type=checkbox value=on name=c1>" << "closed";
    QTest::newRow("TextArea") << "Label36" << QStringList{"ta"}
        << QStringList{"Enter a Name for Your Textarea. | Form Element Name | "}
        << "<textarea cols=20 rows=20 name=ta>" << "closed";
    QTest::newRow("Submit: name written before value") << "Label37" << QStringList{"Send", "s1"}
        << QStringList{"Enter a Value for Your Submit Button. | Form Element Value | ",
                       "Enter a Name for your Submit Button. | Form Element Name | "}
        << "<input type=submit name=s1 value=send>" << "closed";
    QTest::newRow("Reset") << "Label38" << QStringList{} << QStringList{} << "<input type=reset>"
                           << "closed";
    QTest::newRow("Button") << "Label39" << QStringList{"Go", "b1"}
        << QStringList{"Enter a Value for Your Button. | Form Element Value | ",
                       "Enter a Name for your Button. | Form Element Name | "}
        << "<input type=button name=b1 value=go>" << "closed";
    QTest::newRow("Hidden") << "Label40" << QStringList{"h1"}
        << QStringList{"Enter a Name for your Hidden Field. | Form Element Name | "}
        << "<input type=hidden name=h1>" << "closed";
    QTest::newRow("Create a DIV: class before id") << "Label42" << QStringList{"i1", "c1"}
        << QStringList{"Enter an Id For Your Division. | CSS ID | ",
                       "Enter a Class For Your Division. | CSS Class | "}
        << "<div class=c1 id=i1>" << "closed";
    QTest::newRow("Create a Span, both cancelled") << "Label43" << QStringList{kCancel, kCancel}
        << QStringList{"Enter an Id For Your Span. | CSS ID | ",
                       "Enter a Class For Your Span. | CSS Class | "}
        << "<span class=id=>" << "closed";  // "Class= Id=" parses as one attribute
}

void tst_Commands::editModePastesFragments()
{
    QFETCH(QString, control);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, questions);
    QFETCH(QString, expected);
    QFETCH(QString, panel);

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
        asked << a.text + " | " + a.title + " | " + a.defaultText;
    QCOMPARE(asked, questions);
    QCOMPARE(prompts.pending(), 0);
    QCOMPARE(panelState(*e, control), panel);
    QCOMPARE(e->rch->Text(), QString("untouched"));
}

void tst_Commands::refusalsChangeNothing_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("panel");

    const int none = int(MsgIcon::None);
    const int info = int(MsgIcon::Information);
    QTest::newRow("menu Outdent") << "Label19" << true << "Please Use This Menu Item in Edit Mode"
                                  << "orvane" << none << "open, red";
    QTest::newRow("toolbar Outdent") << "Image9" << true << "Please Use this in Edit Mode"
                                     << "orvane" << none << "-";
    QTest::newRow("Create a DIV") << "Label42" << true << "Please Use this Menu in Edit Mode"
                                  << "Orvane Tip" << info << "open, red";
    QTest::newRow("Create a Span") << "Label43" << true << "Please Use this Menu in Edit Mode"
                                   << "Orvane Tip" << info << "open, red";
    QTest::newRow("Bring Forward") << "Label44" << true << "Please Use this Menu in Edit Mode"
                                   << "Orvane Tip" << info << "open, red";
    QTest::newRow("Bring to Front") << "Label45" << true << "Please Use this Menu in Edit Mode"
                                    << "Orvane Tip" << info << "open, red";
}

void tst_Commands::refusalsChangeNothing()
{
    QFETCH(QString, control);
    QFETCH(bool, sourceMode);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QString, panel);

    ScriptedPrompts prompts;
    e->setSourceMode(sourceMode);
    e->rch->setText("abcd");
    e->rch->setSelStart(2);
    const QString documentBefore = e->surface->DocumentHTML();
    // The menu bar disables the Style items in Source mode once the pointer
    // crosses their header: should a click reach the command all the same, it refuses.
    if (e->menuBar->item(control))
        e->clickUngatedMenuItem(control);
    else
        e->clickTool(control);

    QCOMPARE(prompts.messages().size(), 1);
    const ScriptedPrompts::Asked& m = prompts.messages().at(0);
    QCOMPARE(m.text, message);
    QCOMPARE(m.title, title);
    QCOMPARE(int(m.icon), icon);
    QCOMPARE(m.buttons, MsgButtons::OK);
    QCOMPARE(e->rch->Text(), QString("abcd"));
    QCOMPARE(e->rch->SelStart(), 2);
    QCOMPARE(e->surface->DocumentHTML(), documentBefore);
    QCOMPARE(panelState(*e, control), panel);
}

void tst_Commands::findSelectsFirstMatchIgnoringCase()
{
    ScriptedPrompts prompts;
    prompts.answerInput("table").answerInput("table").cancelInput();
    e->setSourceMode(true);
    e->rch->setText("<TABLE><TR><TD>a table</TD></TR></TABLE>");
    e->clickMenuItem("Label14");
    QCOMPARE(e->rch->SelStart(), 1);
    QCOMPARE(e->rch->SelText(), QString("TABLE"));
    QCOMPARE(panelState(*e, "Label14"), QString("closed"));
    QCOMPARE(prompts.asked().at(0).text, QString("Enter Word to Find"));
    QCOMPARE(prompts.asked().at(0).title, QString("Find Text"));

    e->rch->setSelStart(20);  // a second Find starts again at the beginning
    e->clickMenuItem("Label14");
    QCOMPARE(e->rch->SelStart(), 1);
    QCOMPARE(e->rch->SelLength(), 5);

    e->clickMenuItem("Label14");  // cancelled: the selection stays
    QCOMPARE(e->rch->SelStart(), 1);
    QCOMPARE(e->rch->SelLength(), 5);
    QCOMPARE(prompts.pending(), 0);
}

void tst_Commands::selectAllAndClipboardInSourceMode()
{
    ScriptedPrompts prompts;
    e->setSourceMode(true);
    e->rch->setText(QString());
    e->clickMenuItem("Label13");
    QCOMPARE(e->rch->SelLength(), 0);
    QCOMPARE(panelState(*e, "Label13"), QString("closed"));

    e->rch->setText("one two");
    e->clickMenuItem("Label13");
    QCOMPARE(e->rch->SelText(), QString("one two"));

    // Toolbar Copy keeps the focus in the source pane.
    e->rch->setSelStart(4);
    e->rch->setSelLength(3);
    e->surface->setFocus();
    e->clickTool("copy");
    QCOMPARE(QApplication::clipboard()->text(), QString("two"));
    QTRY_VERIFY(e->rch->hasFocus());

    e->rch->setSelStart(0);
    e->rch->setSelLength(4);
    e->clickMenuItem("Label10");  // Cut
    QCOMPARE(e->rch->Text(), QString("two"));
    QCOMPARE(QApplication::clipboard()->text(), QString("one "));
    QCOMPARE(panelState(*e, "Label10"), QString("closed"));

    e->rch->setSelStart(3);
    e->clickMenuItem("Label12");  // Paste
    QCOMPARE(e->rch->Text(), QString("twoone "));

    e->clickMenuItem("Label8");  // Undo takes the paste back
    QCOMPARE(e->rch->Text(), QString("two"));
    QCOMPARE(prompts.asked().size(), 0);
}

void tst_Commands::insertImageUsesFileNameOnly()
{
    ScriptedPrompts prompts;
    prompts.answerFile("/srv/site/images/pic one.gif").cancelFile();
    e->setSourceMode(true);
    e->rch->setText(QString());
    e->clickTool("Image4");
    QCOMPARE(e->rch->Text(), QString("<IMG SRC=\"pic one.gif\">"));
    // Cancel keeps the dialog's last choice, which is inserted again.
    e->clickTool("Image4");
    QCOMPARE(e->rch->Text(), QString("<IMG SRC=\"pic one.gif\"><IMG SRC=\"pic one.gif\">"));
    QCOMPARE(prompts.pending(), 0);
}

void tst_Commands::windowOpeners_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("window");   // expected to open, or empty
    QTest::addColumn<QString>("message");  // expected message, or empty
    QTest::addColumn<QString>("panel");

    QTest::newRow("toolbar Table Wizard in Source mode") << "Image3" << true << "tblfFrm" << ""
                                                         << "-";
    QTest::newRow("Table menu Wizard") << "Label24" << false << "tblfFrm" << "" << "closed";
    QTest::newRow("Create a Style Class") << "Label41" << false << "StyleFrm" << "" << "closed";
    QTest::newRow("toolbar SS") << "Label53" << true << "StyleFrm" << "" << "-";
    QTest::newRow("Image Map Wizard") << "Image5" << false << "frmMain" << "" << "-";
    QTest::newRow("Change Colors") << "Image6" << true << "clrfrm" << "" << "-";
    QTest::newRow("Ftp") << "Image7" << false << "frmFtp" << "" << "-";
    QTest::newRow("Events Wizard in Source mode")
        << "Label56" << true << "javaWiz"
        << "Step 1. Click the Element Where You would Like This Event to Occur!" << "closed";
    QTest::newRow("Events Wizard in Edit mode")
        << "Label56" << false << "" << "Please Change to Source Mode to Use This Component"
        << "closed";
    QTest::newRow("Image Rollover Wizard in Source mode") << "Label57" << true << "funcFrm" << ""
                                                          << "closed";
    QTest::newRow("Image Rollover Wizard in Edit mode")
        << "Label57" << false << "" << "Please Use This Feature in Source Mode" << "open, red";
    QTest::newRow("Image Library") << "L" << false << "IlibFrm" << "" << "closed";
    QTest::newRow("Script Library") << "S" << true << "SlibFrm" << "" << "closed";
    QTest::newRow("Help") << "Label_help" << false << "helpFrm" << "" << "-";
}

void tst_Commands::windowOpeners()
{
    QFETCH(QString, control);
    QFETCH(bool, sourceMode);
    QFETCH(QString, window);
    QFETCH(QString, message);
    QFETCH(QString, panel);

    QStringList opened;
    for (const char* w : {"tblfFrm", "StyleFrm", "frmMain", "clrfrm", "frmFtp", "javaWiz",
                          "funcFrm", "IlibFrm", "SlibFrm", "helpFrm"})
        e->wiring->setWindow(w, [&opened, name = QString(w)] { opened << name; });
    ScriptedPrompts prompts;
    e->setSourceMode(sourceMode);
    e->rch->setText("abc");
    e->click(control);

    QCOMPARE(opened, window.isEmpty() ? QStringList() : QStringList{window});
    QCOMPARE(prompts.messages().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(prompts.messages().at(0).text, message);
    QCOMPARE(panelState(*e, control), panel);
    QCOMPARE(e->rch->Text(), QString("abc"));
}

void tst_Commands::openersWithoutWindowDoNothing()
{
    ScriptedPrompts prompts;
    e->setSourceMode(false);
    for (const QString& control : {"Label24", "Label56", "Label57", "S"}) {
        e->clickMenuItem(control);
        QCOMPARE(panelState(*e, control), QString("open, red"));
    }
    e->clickTool("Image7");
    QCOMPARE(prompts.asked().size(), 0);
}

ORVANE_TEST_MAIN(tst_Commands)
#include "tst_commands.moc"
