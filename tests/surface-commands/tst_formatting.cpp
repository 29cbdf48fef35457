// Text formatting commands on a real surface: each command's effect on the
// serialised page, the state it leaves at the selection, and its undo.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

using namespace orvane;
using namespace orvane::test;

class tst_Formatting : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void commandChangesPageAndUndoes_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("select");
        QTest::addColumn<int>("command");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");   // a regular expression the body must match

        const QString p = "<P>one two three</P>";
        QTest::newRow("bold") << p << "two" << int(DECMD_BOLD) << QVariant() << "<B>two</B>";
        QTest::newRow("bold off") << "<P>one <B>two</B> three</P>" << "two" << int(DECMD_BOLD) << QVariant()
                                  << "^<P>one two three</P>$";
        QTest::newRow("center") << p << "two" << int(DECMD_JUSTIFYCENTER) << QVariant() << "center";
        QTest::newRow("left of centred") << "<P ALIGN=\"center\">one two three</P>" << "two"
                                         << int(DECMD_JUSTIFYLEFT) << QVariant() << "left";
        QTest::newRow("indent") << p << "two" << int(DECMD_INDENT) << QVariant() << "<BLOCKQUOTE";
        QTest::newRow("outdent") << "<BLOCKQUOTE><P>one two three</P></BLOCKQUOTE>" << "two"
                                 << int(DECMD_OUTDENT) << QVariant() << "^<P>one two three</P>$";
        QTest::newRow("ordered list") << p << "two" << int(DECMD_ORDERLIST) << QVariant() << "<OL><LI>one two three";
        QTest::newRow("list off") << "<UL><LI>one two three</LI></UL>" << "two" << int(DECMD_UNORDERLIST)
                                  << QVariant() << "^(?!.*<UL>).*one two three";
        QTest::newRow("unlink") << "<P>one <A HREF=\"x.htm\">two</A> three</P>" << "two" << int(DECMD_UNLINK)
                                << QVariant() << "^<P>one two three</P>$";
        QTest::newRow("font name") << p << "two" << int(DECMD_SETFONTNAME) << QVariant("Courier New")
                                   << "<FONT FACE=\"Courier New\">two</FONT>";
        QTest::newRow("font size") << p << "two" << int(DECMD_SETFONTSIZE) << QVariant(5)
                                   << "<FONT SIZE=\"5\">two</FONT>";
        QTest::newRow("fore colour") << p << "two" << int(DECMD_SETFORECOLOR) << QVariant("#FF0000")
                                     << "<FONT COLOR=\"#ff0000\">two</FONT>";
        QTest::newRow("back colour") << p << "two" << int(DECMD_SETBACKCOLOR) << QVariant("#00FF00")
                                     << "background-color: rgb\\(0, 255, 0\\)";
    }

    void commandChangesPageAndUndoes()
    {
        QFETCH(QString, body);
        QFETCH(QString, select);
        QFETCH(int, command);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        loadBody(*s, body);
        const QString before = bodyHtml(*s);
        selectText(*s, select);
        QSignalSpy display(s.get(), &Surface::DisplayChanged);
        s->ExecCommand(command, OLECMDEXECOPT_DONTPROMPTUSER, value);
        const QString after = bodyHtml(*s);
        QVERIFY2(after.contains(QRegularExpression(expected, QRegularExpression::CaseInsensitiveOption)),
                 qPrintable(after));
        QVERIFY(s->IsDirty());
        QVERIFY(display.wait(2000));

        QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_ENABLED));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), before);
        QCOMPARE(s->QueryStatus(DECMD_REDO), int(DECMDF_ENABLED));
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(bodyHtml(*s), after);
    }

    void stateAtSelection_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("select");
        QTest::addColumn<bool>("caret");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("state");

        const QString mixed = "<P>plain <B>bold</B> end</P>";
        QTest::newRow("caret in bold") << mixed << "old" << true << int(DECMD_BOLD) << int(DECMDF_LATCHED);
        QTest::newRow("selection mixing bold") << mixed << "plain bold" << false << int(DECMD_BOLD) << int(DECMDF_NINCHED);
        QTest::newRow("selection all bold") << mixed << "bold" << false << int(DECMD_BOLD) << int(DECMDF_LATCHED);
        QTest::newRow("italic in I") << "<P><I>slanted</I></P>" << "slant" << true << int(DECMD_ITALIC) << int(DECMDF_LATCHED);
        QTest::newRow("centred paragraph") << "<P ALIGN=center>mid</P>" << "mid" << true << int(DECMD_JUSTIFYCENTER) << int(DECMDF_LATCHED);
        QTest::newRow("left by default") << "<P>plain</P>" << "plain" << true << int(DECMD_JUSTIFYLEFT) << int(DECMDF_LATCHED);
        QTest::newRow("alignments mixed") << "<P ALIGN=right>aa</P><P>bb</P>" << "aa" << false << int(DECMD_JUSTIFYRIGHT) << int(DECMDF_LATCHED);
        QTest::newRow("ordered list latched") << "<OL><LI>item</LI></OL>" << "item" << true << int(DECMD_ORDERLIST) << int(DECMDF_LATCHED);
        QTest::newRow("outdent with nothing indented") << "<P>flat</P>" << "flat" << true << int(DECMD_OUTDENT) << int(DECMDF_DISABLED);
        QTest::newRow("outdent in blockquote") << "<BLOCKQUOTE>deep</BLOCKQUOTE>" << "deep" << true << int(DECMD_OUTDENT) << int(DECMDF_ENABLED);
        QTest::newRow("unlink in link") << "<P><A HREF=a.htm>go</A></P>" << "go" << true << int(DECMD_UNLINK) << int(DECMDF_ENABLED);
        QTest::newRow("font name of two fonts") << "<P><FONT FACE=Arial>aa</FONT><FONT FACE=Courier>bb</FONT></P>"
                                                << "aabb" << false << int(DECMD_GETFONTNAME) << int(DECMDF_NINCHED);
        QTest::newRow("font size of two sizes") << "<P><FONT SIZE=2>aa</FONT><FONT SIZE=5>bb</FONT></P>"
                                                << "aabb" << false << int(DECMD_GETFONTSIZE) << int(DECMDF_NINCHED);
        QTest::newRow("cut with caret") << "<P>text</P>" << "ext" << true << int(DECMD_CUT) << int(DECMDF_DISABLED);
        QTest::newRow("undo on a fresh page") << "<P>text</P>" << "ext" << true << int(DECMD_UNDO) << int(DECMDF_DISABLED);
        QTest::newRow("table command outside table") << "<P>text</P>" << "ext" << true << int(DECMD_INSERTROW) << int(DECMDF_DISABLED);
    }

    void stateAtSelection()
    {
        QFETCH(QString, body);
        QFETCH(QString, select);
        QFETCH(bool, caret);
        QFETCH(int, command);
        QFETCH(int, state);
        loadBody(*s, body);
        selectText(*s, select, caret);
        QCOMPARE(s->QueryStatus(command), state);
    }

    void fontValuesAtSelection()
    {
        loadBody(*s, "<P><FONT FACE=\"Courier New\" SIZE=5>big mono</FONT> plain</P>");
        selectText(*s, "mono", true);
        QCOMPARE(s->ExecCommand(DECMD_GETFONTNAME, OLECMDEXECOPT_DONTPROMPTUSER).toString(), QString("Courier New"));
        QCOMPARE(s->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toInt(), 5);
        selectText(*s, "plain");
        QCOMPARE(s->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toInt(), 3);

        // A status read right after a command reflects it.
        s->ExecCommand(DECMD_SETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER, 7);
        QCOMPARE(s->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toInt(), 7);
        s->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        QCOMPARE(s->QueryStatus(DECMD_BOLD), int(DECMDF_LATCHED));

        // At a caret the command sets the typing style: no markup yet, but latched.
        selectText(*s, "mono", true);
        const QString before = bodyHtml(*s);
        s->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        QCOMPARE(s->QueryStatus(DECMD_BOLD), int(DECMDF_LATCHED));
        QCOMPARE(bodyHtml(*s), before);
    }

    void commandThatCannotActThrows_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("command");
        QTest::newRow("outdent with nothing indented") << "<P>flat</P>" << int(DECMD_OUTDENT);
        QTest::newRow("unlink without link") << "<P>flat</P>" << int(DECMD_UNLINK);
        QTest::newRow("left when already left") << "<P>flat</P>" << int(DECMD_JUSTIFYLEFT);
        QTest::newRow("undo with no history") << "<P>flat</P>" << int(DECMD_UNDO);
        QTest::newRow("unknown identifier") << "<P>flat</P>" << 5001;
    }

    void commandThatCannotActThrows()
    {
        QFETCH(QString, body);
        QFETCH(int, command);
        loadBody(*s, body);
        selectText(*s, "la", true);
        const QString before = bodyHtml(*s);
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(command, OLECMDEXECOPT_DONTPROMPTUSER));
        QCOMPARE(bodyHtml(*s), before);
        QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_DISABLED));  // no empty step recorded
    }

    void badValueIsRefused_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("size 8") << int(DECMD_SETFONTSIZE) << QVariant(8);
        QTest::newRow("colour word") << int(DECMD_SETFORECOLOR) << QVariant("notacolour");
        QTest::newRow("table without parameters") << int(DECMD_INSERTTABLE) << QVariant("2x2");
    }

    void badValueIsRefused()
    {
        QFETCH(int, command);
        QFETCH(QVariant, value);
        loadBody(*s, "<P>text</P>");
        selectText(*s, "ex");
        const QString before = bodyHtml(*s);
        try {
            s->ExecCommand(command, OLECMDEXECOPT_DONTPROMPTUSER, value);
            QFAIL("no error");
        } catch (const SurfaceError& e) {
            QCOMPARE(e.number(), SurfaceErrorNumber::InvalidArgument);
        }
        QCOMPARE(bodyHtml(*s), before);
    }

private:
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_Formatting)
#include "tst_formatting.moc"
