// Formatting, positioning and paste commands on a real surface: each command's
// effect on the page, the state it leaves at the selection, and its undo.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <QClipboard>

using namespace orvane;
using namespace orvane::test;

namespace {

const QString stack =
    "<P>text over which things float</P>"
    "<DIV id=\"one\" style=\"position: absolute; left: 10px; top: 10px; z-index: 1;\">one</DIV>"
    "<DIV id=\"two\" style=\"position: absolute; left: 20px; top: 20px; z-index: 5;\">two</DIV>"
    "<DIV id=\"flat\">flat</DIV>";

}  // namespace

class tst_Formatting : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void commandChangesPageAndUndoes_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("select");
        QTest::addColumn<int>("command");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");   // a regular expression the body must match

        const QString p = "<P>one two three</P>";
        QTest::newRow("bold") << p << "two" << int(DECMD_BOLD) << QVariant() << "<B>two</B>";
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
        QTest::newRow("back colour") << p << "two" << int(DECMD_SETBACKCOLOR) << QVariant("#00FF00")
                                     << "background-color: rgb\\(0, 255, 0\\)";
        QTest::newRow("bring forward") << stack << "one" << int(DECMD_BRING_FORWARD) << QVariant() << "z-index: 2;";
        QTest::newRow("to front") << stack << "one" << int(DECMD_BRING_TO_FRONT) << QVariant() << "z-index: 6;";
        QTest::newRow("below text") << stack << "one" << int(DECMD_SEND_BELOW_TEXT) << QVariant() << "z-index: -1;";
        // Pasted lines (the value is the clipboard's text) stay where the selection was.
        const QString bold = "<P>one <B>two</B> three</P>", paste = "x\ny";
        QTest::newRow("paste lines at start") << bold << "one" << int(DECMD_PASTE) << QVariant("a<b>&c\nnext")
                                              << "^<P>a&lt;b&gt;&amp;c<BR>next <B>two</B> three</P>$";
        QTest::newRow("paste lines at end") << bold << "three" << int(DECMD_PASTE) << QVariant(paste)
                                            << "^<P>one <B>two</B> x<BR>y</P>$";
        QTest::newRow("paste lines into bold") << bold << "e two" << int(DECMD_PASTE) << QVariant(paste)
                                               << "^<P>onx<BR>y three</P>$";
        QTest::newRow("paste lines across paragraphs") << "<P>one</P><P>two</P>" << "netw" << int(DECMD_PASTE)
                                                       << QVariant(paste) << "^<P>ox<BR>yo</P>$";
        QTest::newRow("paste lines into emptied paragraph") << "<P>one<BR></P>" << "one" << int(DECMD_PASTE)
                                                            << QVariant(paste) << "^<P>x<BR>y</P>$";
    }

    void commandChangesPageAndUndoes() {
        QFETCH(QString, body);
        QFETCH(QString, select);
        QFETCH(int, command);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        loadBody(*s, body);
        const QString before = bodyHtml(*s);
        selectText(*s, select);
        if (command == DECMD_PASTE)
            QGuiApplication::clipboard()->setText(value.toString());
        QSignalSpy display(s.get(), &Surface::DisplayChanged);
        s->ExecCommand(command, OLECMDEXECOPT_DONTPROMPTUSER, value);
        const QString after = bodyHtml(*s);
        QVERIFY2(after.contains(QRegularExpression(expected, QRegularExpression::CaseInsensitiveOption)),
                 qPrintable(after));
        QVERIFY(s->IsDirty());
        QVERIFY(display.wait(2000));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), before);
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(bodyHtml(*s), after);
    }

    void stateAtSelection_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("select");
        QTest::addColumn<bool>("caret");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("state");

        const QString mixed = "<P>plain <B>bold</B> end</P>";
        QTest::newRow("caret in bold") << mixed << "old" << true << int(DECMD_BOLD) << int(DECMDF_LATCHED);
        QTest::newRow("selection mixing bold") << mixed << "plain bold" << false << int(DECMD_BOLD) << int(DECMDF_NINCHED);
        QTest::newRow("left by default") << "<P>plain</P>" << "plain" << true << int(DECMD_JUSTIFYLEFT) << int(DECMDF_LATCHED);
        QTest::newRow("outdent with nothing indented") << "<P>flat</P>" << "flat" << true << int(DECMD_OUTDENT) << int(DECMDF_DISABLED);
        QTest::newRow("font size of two sizes") << "<P><FONT SIZE=2>aa</FONT><FONT SIZE=5>bb</FONT></P>"
                                                << "aabb" << false << int(DECMD_GETFONTSIZE) << int(DECMDF_NINCHED);
        QTest::newRow("make absolute in plain text") << stack << "float" << true << int(DECMD_MAKE_ABSOLUTE) << int(DECMDF_DISABLED);
        QTest::newRow("make absolute in a positioned div") << stack << "one" << true << int(DECMD_MAKE_ABSOLUTE) << int(DECMDF_LATCHED);
        QTest::newRow("forward in a flat div") << stack << "flat" << true << int(DECMD_BRING_FORWARD) << int(DECMDF_DISABLED);
        QTest::newRow("above text when above") << stack << "one" << true << int(DECMD_BRING_ABOVE_TEXT) << int(DECMDF_DISABLED);
    }

    void stateAtSelection() {
        QFETCH(QString, body);
        QFETCH(QString, select);
        QFETCH(bool, caret);
        QFETCH(int, command);
        QFETCH(int, state);
        loadBody(*s, body);
        selectText(*s, select, caret);
        QCOMPARE(s->QueryStatus(command), state);
    }

    void fontValuesAtSelection() {
        loadBody(*s, "<P><FONT FACE=\"Courier New\" SIZE=5>big mono</FONT> plain</P>");
        selectText(*s, "mono", true);
        QCOMPARE(s->ExecCommand(DECMD_GETFONTNAME, OLECMDEXECOPT_DONTPROMPTUSER).toString(), QString("Courier New"));
        QCOMPARE(s->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toInt(), 5);
        selectText(*s, "plain");
        QCOMPARE(s->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toInt(), 3);
        // A status read right after a command reflects it.
        s->ExecCommand(DECMD_SETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER, 7);
        QCOMPARE(s->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toInt(), 7);
        // At a caret the command sets the typing style: no markup yet, but latched.
        selectText(*s, "mono", true);
        const QString before = bodyHtml(*s);
        s->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        QCOMPARE(s->QueryStatus(DECMD_BOLD), int(DECMDF_LATCHED));
        QCOMPARE(bodyHtml(*s), before);
    }

    void commandThatCannotActThrows_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("command");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("unlink without link") << "<P>flat</P>" << int(DECMD_UNLINK) << QVariant();
        QTest::newRow("left when already left") << "<P>flat</P>" << int(DECMD_JUSTIFYLEFT) << QVariant();
        QTest::newRow("unknown identifier") << "<P>flat</P>" << 5001 << QVariant();
        QTest::newRow("size 8") << "<P>flat</P>" << int(DECMD_SETFONTSIZE) << QVariant(8);
        const QString table = "<P>flat</P><TABLE><TR><TD>a</TD><TD>b</TD></TR></TABLE>";
        QTest::newRow("insert row outside a table") << table << int(DECMD_INSERTROW) << QVariant();
        QTest::newRow("delete columns outside a table") << table << int(DECMD_DELETECOLS) << QVariant();
        QTest::newRow("z-order of a flat div") << stack << int(DECMD_BRING_TO_FRONT) << QVariant();
    }

    void commandThatCannotActThrows() {
        QFETCH(QString, body);
        QFETCH(int, command);
        QFETCH(QVariant, value);
        loadBody(*s, body);
        selectText(*s, "la", true);
        const QString before = bodyHtml(*s);
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(command, OLECMDEXECOPT_DONTPROMPTUSER, value));
        QCOMPARE(bodyHtml(*s), before);
        QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_DISABLED));  // no empty step recorded
    }

    void makeAbsoluteKeepsPlaceAndToggles_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("asObject");   // selected as an object rather than a caret inside
        const QString lead = "<P>a first paragraph</P><P>and a second one</P>";
        QTest::newRow("div by caret") << lead + "<DIV id=\"t\">inside the div</DIV>" << false;
        QTest::newRow("image") << lead + "<P>x <IMG id=\"t\" width=\"40\" height=\"30\"> y</P>" << true;
        QTest::newRow("inside positioned parent") << "<DIV style=\"position: relative; margin-left: 50px\">" + lead
                                                         + "<DIV id=\"t\">nested</DIV></DIV>" << false;
    }

    void makeAbsoluteKeepsPlaceAndToggles() {
        QFETCH(QString, body);
        QFETCH(bool, asObject);
        loadBody(*s, body);
        if (asObject)
            selectElement(*s, "#t");
        else
            pageScript(*s, "getSelection().collapse(document.querySelector('#t').firstChild, 2); return 1;");
        const QPointF before = topLeft();
        s->ExecCommand(DECMD_MAKE_ABSOLUTE);
        QCOMPARE(pageScript(*s, "return getComputedStyle(document.querySelector('#t')).position;").toString(),
                 QString("absolute"));
        const QPointF after = topLeft();
        QVERIFY2(qAbs(after.x() - before.x()) <= 1 && qAbs(after.y() - before.y()) <= 1,
                 qPrintable(QString("moved from %1,%2 to %3,%4").arg(before.x()).arg(before.y())
                                .arg(after.x()).arg(after.y())));
        QCOMPARE(s->QueryStatus(DECMD_SEND_TO_BACK), int(DECMDF_ENABLED));
        s->ExecCommand(DECMD_MAKE_ABSOLUTE);   // back in the flow
        QCOMPARE(topLeft(), before);
        QCOMPARE(s->QueryStatus(DECMD_SEND_TO_BACK), int(DECMDF_DISABLED));
        s->ExecCommand(DECMD_UNDO);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(s->QueryStatus(DECMD_MAKE_ABSOLUTE), int(DECMDF_ENABLED));
        QVERIFY(!bodyHtml(*s).contains("absolute"));
    }

private:
    QPointF topLeft() {
        const QVariantList r = pageScript(*s, "const b = document.querySelector('#t').getBoundingClientRect();"
                                              " return [b.left, b.top];").toList();
        return QPointF(r.value(0).toDouble(), r.value(1).toDouble());
    }
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_Formatting)
#include "tst_formatting.moc"
