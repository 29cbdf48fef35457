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
    void initTestCase()
    {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void findSelectsNextMatchIgnoringCase()
    {
        loadBody(*s, "<P>Alpha beta</P><P>gamma ALPHA <B>al</B>pha</P>");
        selectText(*s, "Alpha", true);
        ScriptedPrompts p;
        p.answerInput("alpha").answerInput("alpha").answerInput("alpha").answerInput("alpha");
        s->ExecCommand(DECMD_FINDTEXT);
        QCOMPARE(selected(), QString("Alpha"));
        QCOMPARE(p.asked().value(0).title, QString("Find"));
        s->ExecCommand(DECMD_FINDTEXT);
        QCOMPARE(selected(), QString("ALPHA"));
        s->ExecCommand(DECMD_FINDTEXT);   // across the bold element
        QCOMPARE(selected(), QString("alpha"));
        s->ExecCommand(DECMD_FINDTEXT);   // round from the top
        QCOMPARE(selected(), QString("Alpha"));
        QVERIFY(p.unexpected().isEmpty());
    }

    void findReportsMissingText()
    {
        loadBody(*s, "<P>Alpha beta</P>");
        selectText(*s, "beta");
        ScriptedPrompts p;
        p.answerInput("delta");
        s->ExecCommand(DECMD_FINDTEXT);
        QCOMPARE(p.messages().size(), 1);
        QVERIFY(p.messages().at(0).text.contains("delta"));
        QCOMPARE(selected(), QString("beta"));
    }

    void dialogAnsweredChangesPage_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("option");
        QTest::addColumn<QStringList>("answers");   // input answers, then a colour when the last is "#..."
        QTest::addColumn<QString>("expected");

        QTest::newRow("hyperlink") << int(DECMD_HYPERLINK) << 0 << QStringList{"http://example.com/"}
                                   << "one <A HREF=\"http://example.com/\">two</A> three";
        QTest::newRow("image") << int(DECMD_IMAGE) << 0 << QStringList{"pic.png", "a picture"}
                               << "one <IMG SRC=\"pic.png\" ALT=\"a picture\"> three";
        QTest::newRow("font") << int(DECMD_FONT) << 1 << QStringList{"Courier New", "5", "#FF0000"}
                              << "one <FONT FACE=\"Courier New\" SIZE=\"5\" COLOR=\"#ff0000\">two</FONT> three";
        QTest::newRow("font, colour only") << int(DECMD_FONT) << 1 << QStringList{"", "", "#0000FF"}
                                           << "one <FONT COLOR=\"#0000ff\">two</FONT> three";
    }

    void dialogAnsweredChangesPage()
    {
        QFETCH(int, command);
        QFETCH(int, option);
        QFETCH(QStringList, answers);
        QFETCH(QString, expected);
        loadBody(*s, "<P>one two three</P>");
        selectText(*s, "two");
        ScriptedPrompts p;
        for (const QString& a : answers) {
            if (a.startsWith('#'))
                p.answerColor(QColor(a));
            else
                p.answerInput(a);
        }
        s->ExecCommand(command, option);
        QCOMPARE(p.pending(), 0);
        QVERIFY(p.unexpected().isEmpty());
        QCOMPARE(bodyHtml(*s), "<P>" + expected + "</P>");
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), QString("<P>one two three</P>"));
    }

    void dialogCancelledChangesNothing_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("answered");   // questions answered before the cancel
        QTest::newRow("find") << int(DECMD_FINDTEXT) << 0 << 0;
        QTest::newRow("hyperlink") << int(DECMD_HYPERLINK) << 0 << 0;
        QTest::newRow("image alternative text") << int(DECMD_IMAGE) << 0 << 1;
        QTest::newRow("font colour") << int(DECMD_FONT) << 1 << 2;
    }

    void dialogCancelledChangesNothing()
    {
        QFETCH(int, command);
        QFETCH(int, option);
        QFETCH(int, answered);
        loadBody(*s, "<P>one two three</P>");
        selectText(*s, "two");
        ScriptedPrompts p;
        const QStringList answers{"Arial", "4"};
        for (int i = 0; i < answered; ++i)
            p.answerInput(command == DECMD_IMAGE ? "pic.png" : answers.value(i));
        if (command == DECMD_FONT && answered == 2)
            p.cancelColor();
        else
            p.cancelInput();
        s->ExecCommand(command, option);
        QCOMPARE(p.pending(), 0);
        QCOMPARE(bodyHtml(*s), QString("<P>one two three</P>"));
        QCOMPARE(selected(), QString("two"));
        QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_DISABLED));
    }

    // The link at the caret and a selected image are edited, their values offered.
    void dialogsOfferTheCurrentValues()
    {
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

    void fontRefusesBadSize()
    {
        loadBody(*s, "<P>one two three</P>");
        selectText(*s, "two");
        ScriptedPrompts p;
        p.answerInput("Arial").answerInput("9");
        s->ExecCommand(DECMD_FONT, OLECMDEXECOPT_PROMPTUSER);
        QCOMPARE(p.asked().last().kind, ScriptedPrompts::Kind::Beep);
        QCOMPARE(bodyHtml(*s), QString("<P>one two three</P>"));
    }

    void noPromptTakesValue()
    {
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
