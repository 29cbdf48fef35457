// The surface's one undo history (typing in bursts, commands, the paste
// route, keyboard undo in the page), the system clipboard, and the surface's
// own dialogs (find, hyperlink, image, font) answered and cancelled through
// scripted prompts.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <ScriptedPrompts.h>

#include <QClipboard>
#include <QMimeData>

using namespace orvane;
using namespace orvane::test;

class tst_CommandHistory : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void init() {
        loadBody(*s, "<P id=\"p\">one two</P>");
        caretAfterText(*s, "two");
    }

    // A burst of typing is one step, a pause starts the next; commands and
    // typing undo in order, from the program or from the keyboard.
    void typingAndCommandsUndoInOrder() {
        typeText(*s, "ab");
        QTRY_COMPARE(paragraph(), QString("one twoab"));
        QTest::qWait(1200);
        typeText(*s, "cd");
        QTRY_COMPARE(paragraph(), QString("one twoabcd"));
        selectText(*s, "one");
        s->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        caretAfterText(*s, "cd");
        s->ExecCommand(DECMD_INSERTTABLE, OLECMDEXECOPT_DONTPROMPTUSER, QVariant::fromValue(TableParam{1, 2, {}, {}, {}}));
        QVERIFY(bodyHtml(*s).contains("<TABLE>"));

        s->ExecCommand(DECMD_UNDO);
        QVERIFY(!bodyHtml(*s).contains("<TABLE>"));
        QCOMPARE(paragraph(), QString("<b>one</b> twoabcd"));
        for (const char* back : {"one twoabcd", "one twoab", "one two"}) {
            s->ExecCommand(DECMD_UNDO);
            QCOMPARE(paragraph(), QString(back));
        }
        QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_UNDO));
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(paragraph(), QString("one twoab"));

        // Control+Z and Control+Y in the page use the same history, which brings
        // back the very nodes and keeps marks set after the change.
        pageScript(*s, "window.keptText = document.querySelector('#p').firstChild; return 1;");
        selectText(*s, "one");
        s->ExecCommand(DECMD_UNDERLINE, OLECMDEXECOPT_DONTPROMPTUSER);
        pageScript(*s, "document.querySelector('#p').setAttribute('data-orv-mark', 'x'); return 1;");
        s->setFocus();
        QTest::keyClick(s->view()->focusProxy(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(paragraph(), QString("one twoab"));
        QVERIFY(pageScript(*s, "return document.querySelector('#p').firstChild === window.keptText;").toBool());
        QCOMPARE(pageScript(*s, "return document.querySelector('#p').getAttribute('data-orv-mark');").toString(),
                 QString("x"));
        QTest::keyClick(s->view()->focusProxy(), Qt::Key_Y, Qt::ControlModifier);
        QTRY_COMPARE(paragraph(), QString("<u>one</u> twoab"));
    }

    // The paste route is undoable, undo brings the selection back, a new
    // change drops what could be redone.
    void pasteUndoRedo() {
        selectText(*s, "one");
        s->DOM().selection().createRange().pasteHTML("<I>new</I>");
        QCOMPARE(paragraph(), QString("<i>new</i> two"));
        selectText(*s, "two", true);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(paragraph(), QString("one two"));
        QCOMPARE(s->DOM().selection().createRange().text(), QString("one"));
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(paragraph(), QString("<i>new</i> two"));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(s->QueryStatus(DECMD_REDO), int(DECMDF_ENABLED));
        selectText(*s, "two");
        s->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        QCOMPARE(s->QueryStatus(DECMD_REDO), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_REDO));
    }

    void copyPasteAndSelectAll() {
        const QString table = "<TABLE><TBODY><TR><TD>four</TD></TR></TBODY></TABLE>";
        loadBody(*s, "<P>one <B>two</B> three</P>" + table);
        selectText(*s, "two");
        s->ExecCommand(DECMD_COPY);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->text(), QString("two"));
        caretAfterText(*s, "three");
        QCOMPARE(s->QueryStatus(DECMD_COPY), int(DECMDF_DISABLED));
        s->ExecCommand(DECMD_PASTE);
        QCOMPARE(bodyHtml(*s), "<P>one <B>two</B> three<B>two</B></P>" + table);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), "<P>one <B>two</B> three</P>" + table);

        s->ExecCommand(DECMD_SELECTALL);
        QCOMPARE(pageScript(*s, "return getSelection().toString();").toString().simplified(),
                 QString("one two three four"));

        QGuiApplication::clipboard()->clear();
        QCOMPARE(s->QueryStatus(DECMD_PASTE), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_PASTE));
    }

    void readOnlySurfaceCopiesButDoesNotEdit() {
        Surface preview(Surface::Mode::Browse);
        showAndSettle(preview);
        loadBody(preview, "<P>look only</P>");
        selectText(preview, "only");
        QCOMPARE(preview.QueryStatus(DECMD_BOLD), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, preview.ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER));
        preview.ExecCommand(DECMD_COPY);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("only"));
    }

    void findSelectsNextMatchIgnoringCase() {
        loadBody(*s, "<P>Alpha beta</P><P>gamma ALPHA <B>al</B>pha</P>");
        selectText(*s, "Alpha", true);
        ScriptedPrompts p;
        p.answerInput("alpha").answerInput("alpha").answerInput("alpha").answerInput("alpha").answerInput("delta");
        // The third match runs across the bold element; the fourth is found from the top again.
        for (const char* match : {"Alpha", "ALPHA", "alpha", "Alpha"}) {
            s->ExecCommand(DECMD_FINDTEXT);
            QCOMPARE(selected(), QString(match));
        }
        QCOMPARE(p.asked().value(0).title, QString("Find"));
        s->ExecCommand(DECMD_FINDTEXT);
        QCOMPARE(p.messages().size(), 1);
        QVERIFY(p.messages().at(0).text.contains("delta"));
        QCOMPARE(selected(), QString("Alpha"));
        // A given value asks nothing; without one, no-prompt commands refuse.
        s->ExecCommand(DECMD_FINDTEXT, OLECMDEXECOPT_DONTPROMPTUSER, QString("GAMMA"));
        QCOMPARE(selected(), QString("gamma"));
        QVERIFY_THROWS_EXCEPTION(SurfaceError,
                                 s->ExecCommand(DECMD_FINDTEXT, OLECMDEXECOPT_DONTPROMPTUSER, QString("four")));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_IMAGE, OLECMDEXECOPT_DONTPROMPTUSER));
        QCOMPARE(p.asked().size(), 6);  // five finds and the not-found message
        QVERIFY(p.unexpected().isEmpty());
    }

    void dialog_data() {
        QTest::addColumn<int>("command");
        // "#rrggbb" a colour, "-" and "-#" cancel a text and a colour, "=text" a value given without prompting
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("expected");       // the paragraph after; empty: unchanged

        QTest::newRow("hyperlink") << int(DECMD_HYPERLINK) << QStringList{"http://example.com/"}
                                   << "one <A HREF=\"http://example.com/\">two</A> three";
        QTest::newRow("hyperlink given its address") << int(DECMD_HYPERLINK) << QStringList{"=a.htm"}
                                                     << "one <A HREF=\"a.htm\">two</A> three";
        QTest::newRow("image") << int(DECMD_IMAGE) << QStringList{"pic.png", "a picture"}
                               << "one <IMG SRC=\"pic.png\" ALT=\"a picture\"> three";
        QTest::newRow("font") << int(DECMD_FONT) << QStringList{"Courier New", "5", "#FF0000"}
                              << "one <FONT FACE=\"Courier New\" SIZE=\"5\" COLOR=\"#ff0000\">two</FONT> three";
        QTest::newRow("font, colour only") << int(DECMD_FONT) << QStringList{"", "", "#0000FF"}
                                           << "one <FONT COLOR=\"#0000ff\">two</FONT> three";
        QTest::newRow("find cancelled") << int(DECMD_FINDTEXT) << QStringList{"-"} << "";
        QTest::newRow("hyperlink cancelled") << int(DECMD_HYPERLINK) << QStringList{"-"} << "";
        QTest::newRow("image alternative text cancelled") << int(DECMD_IMAGE) << QStringList{"pic.png", "-"} << "";
        QTest::newRow("font colour cancelled") << int(DECMD_FONT) << QStringList{"Arial", "4", "-#"} << "";
        QTest::newRow("font size 9 refused with a beep") << int(DECMD_FONT) << QStringList{"Arial", "9"} << "";
    }

    void dialog() {
        QFETCH(int, command);
        QFETCH(QStringList, answers);
        QFETCH(QString, expected);
        loadBody(*s, "<P>one two three</P>");
        selectText(*s, "two");
        ScriptedPrompts p;
        QVariant value;
        for (const QString& a : answers) {
            if (a.startsWith('='))
                value = a.mid(1);
            else if (a == "-")
                p.cancelInput();
            else if (a == "-#")
                p.cancelColor();
            else if (a.startsWith('#'))
                p.answerColor(QColor(a));
            else
                p.answerInput(a);
        }
        s->ExecCommand(command, value.isValid()            ? OLECMDEXECOPT_DONTPROMPTUSER
                                : command == DECMD_FONT ? OLECMDEXECOPT_PROMPTUSER
                                                        : OLECMDEXECOPT_DODEFAULT, value);
        QCOMPARE(p.pending(), 0);
        QVERIFY(p.unexpected().isEmpty());
        if (answers.last() == "9")
            QCOMPARE(p.asked().last().kind, ScriptedPrompts::Kind::Beep);
        if (expected.isEmpty()) {
            QCOMPARE(bodyHtml(*s), QString("<P>one two three</P>"));
            QCOMPARE(selected(), QString("two"));
            QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_DISABLED));
            return;
        }
        QCOMPARE(bodyHtml(*s), "<P>" + expected + "</P>");
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), QString("<P>one two three</P>"));
    }

    // The link at the caret and a selected image are edited, their values offered.
    void dialogsOfferTheCurrentValues() {
        loadBody(*s, "<P>go <A HREF=\"old.htm\">there</A> a <IMG SRC=\"old.png\" ALT=\"old\"> b</P>");
        selectText(*s, "her", true);
        ScriptedPrompts p;
        p.answerInput("new.htm").answerInput("new.png").answerInput("fresh");
        s->ExecCommand(DECMD_HYPERLINK);
        selectElement(*s, "img");
        s->ExecCommand(DECMD_IMAGE);
        QCOMPARE(p.asked().value(0).defaultText + "|" + p.asked().value(1).defaultText + "|" + p.asked().value(2).defaultText,
                 QString("old.htm|old.png|old"));
        QCOMPARE(bodyHtml(*s), QString("<P>go <A HREF=\"new.htm\">there</A> a <IMG SRC=\"new.png\" ALT=\"fresh\"> b</P>"));
    }

private:
    QString selected() { return s->DOM().selection().createRange().text(); }
    QString paragraph() { return pageScript(*s, "return document.querySelector('p').innerHTML;").toString(); }
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_CommandHistory)
#include "tst_command_history.moc"
