// The surface's own dialogs (find, hyperlink, image, font) answered and
// cancelled through scripted prompts.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <ScriptedPrompts.h>

using namespace orvane;
using namespace orvane::test;

class tst_CommandDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
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
        QVERIFY(p.unexpected().isEmpty());
    }

    void dialog_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("answers");   // "#rrggbb" a colour, "-" and "-#" cancel a text and a colour
        QTest::addColumn<QString>("expected");       // the paragraph after; empty: unchanged

        QTest::newRow("hyperlink") << int(DECMD_HYPERLINK) << QStringList{"http://example.com/"}
                                   << "one <A HREF=\"http://example.com/\">two</A> three";
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
        for (const QString& a : answers) {
            if (a == "-")
                p.cancelInput();
            else if (a == "-#")
                p.cancelColor();
            else if (a.startsWith('#'))
                p.answerColor(QColor(a));
            else
                p.answerInput(a);
        }
        s->ExecCommand(command, command == DECMD_FONT ? OLECMDEXECOPT_PROMPTUSER : OLECMDEXECOPT_DODEFAULT);
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

    void noPromptTakesValue() {
        loadBody(*s, "<P>one two three</P>");
        selectText(*s, "two");
        ScriptedPrompts p;
        s->ExecCommand(DECMD_HYPERLINK, OLECMDEXECOPT_DONTPROMPTUSER, QString("a.htm"));
        QCOMPARE(bodyHtml(*s), QString("<P>one <A HREF=\"a.htm\">two</A> three</P>"));
        s->ExecCommand(DECMD_FINDTEXT, OLECMDEXECOPT_DONTPROMPTUSER, QString("THREE"));
        QCOMPARE(selected(), QString("three"));
        QVERIFY_THROWS_EXCEPTION(SurfaceError,
                                 s->ExecCommand(DECMD_FINDTEXT, OLECMDEXECOPT_DONTPROMPTUSER, QString("four")));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_IMAGE, OLECMDEXECOPT_DONTPROMPTUSER));
        QVERIFY(p.asked().isEmpty());
    }

private:
    QString selected() { return s->DOM().selection().createRange().text(); }
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_CommandDialogs)
#include "tst_command_dialogs.moc"
