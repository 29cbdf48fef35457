// Commands on a real surface: each formatting, positioning, paste and table
// command's effect on the page and its undo, the state it leaves at the
// selection, and the commands that cannot act; the one undo history (typing in
// bursts, commands, the paste route, keyboard undo in the page); the system
// clipboard; the surface's own dialogs (find, hyperlink, image, font) answered
// and cancelled through scripted prompts; and the checks and conversions of
// command values.
#include "ScriptedPrompts.h"
#include "SurfaceCommandsValues.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <QClipboard>
#include <QMimeData>

using namespace orvane;
using namespace orvane::commands;
using namespace orvane::test;

namespace {

const QString stack =
    "<P>text over which things float</P>"
    "<DIV id=\"one\" style=\"position: absolute; left: 10px; top: 10px; z-index: 1;\">one</DIV>"
    "<DIV id=\"two\" style=\"position: absolute; left: 20px; top: 20px; z-index: 5;\">two</DIV>"
    "<DIV id=\"flat\">flat</DIV>";

const QString plain3x3 =
    "<TABLE BORDER=\"1\"><TBODY>"
    "<TR><TD id=\"a\">a</TD><TD id=\"b\">b</TD><TD id=\"c\">c</TD></TR>"
    "<TR><TD id=\"d\">d</TD><TD id=\"e\">e</TD><TD id=\"f\">f</TD></TR>"
    "<TR><TD id=\"g\">g</TD><TD id=\"h\">h</TD><TD id=\"i\">i</TD></TR>"
    "</TBODY></TABLE>";

// a spans rows 0-1; h spans columns 1-2:   a b c / a e f / g h h
const QString spanned =
    "<TABLE BORDER=\"1\"><TBODY>"
    "<TR><TD id=\"a\" ROWSPAN=\"2\">a</TD><TD id=\"b\">b</TD><TD id=\"c\">c</TD></TR>"
    "<TR><TD id=\"e\">e</TD><TD id=\"f\">f</TD></TR>"
    "<TR><TD id=\"g\">g</TD><TD id=\"h\" COLSPAN=\"2\">h</TD></TR>"
    "</TBODY></TABLE>";

}  // namespace

class tst_PageCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void commandChangesPageAndUndoes_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("place");      // see place()
        QTest::addColumn<int>("command");
        QTest::addColumn<QVariant>("value");
        // A regular expression the body must match; on a table, the table's
        // shape (see tableShape()); empty: the command throws and changes nothing.
        QTest::addColumn<QString>("expected");

        const QString p = "<P>one two three</P>";
        const QVariant none;
        QTest::newRow("bold") << p << "two" << int(DECMD_BOLD) << none << "<B>two</B>";
        QTest::newRow("left of centred") << "<P ALIGN=\"center\">one two three</P>" << "two"
                                         << int(DECMD_JUSTIFYLEFT) << none << "left";
        QTest::newRow("indent") << p << "two" << int(DECMD_INDENT) << none << "<BLOCKQUOTE";
        QTest::newRow("outdent") << "<BLOCKQUOTE><P>one two three</P></BLOCKQUOTE>" << "two"
                                 << int(DECMD_OUTDENT) << none << "^<P>one two three</P>$";
        QTest::newRow("ordered list") << p << "two" << int(DECMD_ORDERLIST) << none << "<OL><LI>one two three";
        QTest::newRow("list off") << "<UL><LI>one two three</LI></UL>" << "two" << int(DECMD_UNORDERLIST)
                                  << none << "^(?!.*<UL>).*one two three";
        QTest::newRow("unlink") << "<P>one <A HREF=\"x.htm\">two</A> three</P>" << "two" << int(DECMD_UNLINK)
                                << none << "^<P>one two three</P>$";
        QTest::newRow("font name") << p << "two" << int(DECMD_SETFONTNAME) << QVariant("Courier New")
                                   << "<FONT FACE=\"Courier New\">two</FONT>";
        QTest::newRow("font size") << p << "two" << int(DECMD_SETFONTSIZE) << QVariant(5)
                                   << "<FONT SIZE=\"5\">two</FONT>";
        QTest::newRow("back colour") << p << "two" << int(DECMD_SETBACKCOLOR) << QVariant("#00FF00")
                                     << "background-color: rgb\\(0, 255, 0\\)";
        QTest::newRow("bring forward") << stack << "one" << int(DECMD_BRING_FORWARD) << none << "z-index: 2;";
        QTest::newRow("to front") << stack << "one" << int(DECMD_BRING_TO_FRONT) << none << "z-index: 6;";
        QTest::newRow("below text") << stack << "one" << int(DECMD_SEND_BELOW_TEXT) << none << "z-index: -1;";
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

        // Tables between two paragraphs.
        const QString plain = "<P>before</P>" + plain3x3 + "<P>after</P>", span = "<P>before</P>" + spanned + "<P>after</P>";
        QTest::newRow("insert row") << plain << "#e..#e" << int(DECMD_INSERTROW) << none
                                    << "a b c / _ _ _ / d e f / g h i";
        QTest::newRow("insert column") << plain << "#e..#e" << int(DECMD_INSERTCOL) << none
                                       << "a _ b c / d _ e f / g _ h i";
        QTest::newRow("delete row") << plain << "#e..#e" << int(DECMD_DELETEROWS) << none << "a b c / g h i";
        QTest::newRow("delete two rows") << plain << "#d..#h" << int(DECMD_DELETEROWS) << none << "a b c";
        QTest::newRow("delete column") << plain << "#e..#e" << int(DECMD_DELETECOLS) << none << "a c / d f / g i";
        QTest::newRow("delete every row removes table") << plain << "#a..#i" << int(DECMD_DELETEROWS) << none
                                                        << "(no table)";
        QTest::newRow("merge in a row") << plain << "#e..#f" << int(DECMD_MERGECELLS) << none
                                        << "a b c / d e f<2 / g h i";
        QTest::newRow("merge a block") << plain << "#b..#f" << int(DECMD_MERGECELLS) << none
                                       << "a b c e f^2<2 / d / g h i";
        QTest::newRow("merge across a row span") << span << "#a..#e" << int(DECMD_MERGECELLS) << none
                                                 << "a b e^2<2 c / f / g h<2";
        QTest::newRow("merge takes in a column span") << span << "#e..#h" << int(DECMD_MERGECELLS) << none
                                                      << "a^2 b c / e f h^2<2 / g";
        QTest::newRow("merge widens to a row span") << span << "#g..#f" << int(DECMD_MERGECELLS) << none
                                                    << "a b c e f g h^3<3 /  / ";
        QTest::newRow("split a column span") << span << "#h..#h" << int(DECMD_SPLITCELL) << none
                                             << "a^2 b c / e f / g h _";
        QTest::newRow("split a row span") << span << "#a..#a" << int(DECMD_SPLITCELL) << none
                                          << "a b c / _ e f / g h<2";
        QTest::newRow("delete a column a span crosses") << span << "#c..#c" << int(DECMD_DELETECOLS) << none
                                                        << "a^2 b / e / g h";
        QTest::newRow("delete the column of a row span") << span << "#g..#g" << int(DECMD_DELETECOLS) << none
                                                         << "b c / e f / h<2";
        QTest::newRow("insert row inside a row span") << span << "#e..#e" << int(DECMD_INSERTROW) << none
                                                      << "a^3 b c / _ _ / e f / g h<2";
        QTest::newRow("insert column a span crosses") << span << "#c..#c" << int(DECMD_INSERTCOL) << none
                                                      << "a^2 b _ c / e _ f / g h<3";
        QTest::newRow("insert column before a row span") << span << "#a..#a" << int(DECMD_INSERTCOL) << none
                                                         << "_^2 a^2 b c / e f / _ g h<2";
        QTest::newRow("delete the first row of a row span") << span << "#b..#b" << int(DECMD_DELETEROWS) << none
                                                            << "a e f / g h<2";
        QTest::newRow("delete the last row of a row span") << span << "#e..#e" << int(DECMD_DELETEROWS) << none
                                                           << "a b c / g h<2";
        QTest::newRow("a row span stops at the end of its row group")
            << "<P>before</P><TABLE><THEAD><TR><TD id=\"a\" ROWSPAN=\"2\">a</TD><TD id=\"b\">b</TD></TR></THEAD>"
               "<TBODY><TR><TD id=\"c\">c</TD><TD id=\"d\">d</TD></TR></TBODY></TABLE><P>after</P>"
            << "#c..#c" << int(DECMD_DELETECOLS) << none << "b / d";

        const QString table = "<P>flat</P><TABLE><TR><TD>a</TD><TD>b</TD></TR></TABLE>";
        QTest::newRow("unlink without link") << "<P>flat</P>" << "|la" << int(DECMD_UNLINK) << none << "";
        QTest::newRow("left when already left") << "<P>flat</P>" << "|la" << int(DECMD_JUSTIFYLEFT) << none << "";
        QTest::newRow("unknown identifier") << "<P>flat</P>" << "|la" << 5001 << none << "";
        QTest::newRow("size 8") << "<P>flat</P>" << "|la" << int(DECMD_SETFONTSIZE) << QVariant(8) << "";
        QTest::newRow("insert row outside a table") << table << "|la" << int(DECMD_INSERTROW) << none << "";
        QTest::newRow("delete columns outside a table") << table << "|la" << int(DECMD_DELETECOLS) << none << "";
        QTest::newRow("z-order of a flat div") << stack << "|la" << int(DECMD_BRING_TO_FRONT) << none << "";

        // A new table goes where the selection was; its attributes cannot break out.
        const auto param = [](int rows, int cols, const QString& table, const QString& cell) {
            return QVariant::fromValue(TableParam{rows, cols, table, cell, {}});
        };
        QTest::newRow("table replaces the selection")
            << "<P>x</P>" << "x" << int(DECMD_INSERTTABLE)
            << param(2, 3, "Border=\"1\" Cellpadding=\"1\" Cellspacing=\"1\"", "valign=\"top\"")
            << "^<TABLE BORDER=\"1\" CELLPADDING=\"1\" CELLSPACING=\"1\"><TBODY>"
                   + QString("<TR>" + QString("<TD VALIGN=\"top\"></TD>").repeated(3) + "</TR>").repeated(2) + "</TBODY></TABLE>$";
        QTest::newRow("table splits the paragraph at the caret")
            << "<P>left<B>right</B></P>" << "left|" << int(DECMD_INSERTTABLE) << param(1, 1, {}, {})
            << "^<P>left</P><TABLE><TBODY><TR><TD></TD></TR></TBODY></TABLE><P><B>right</B></P>$";
        QTest::newRow("table at the start of a paragraph goes before it")
            << "<P>x</P>" << "|x" << int(DECMD_INSERTTABLE) << param(1, 1, "width=50><IMG src=evil.png", "x=\"1\"></TD><TD")
            << "^<TABLE WIDTH=\"50\"><TBODY><TR><TD X=\"1\"></TD></TR></TBODY></TABLE><P>x</P>$";
    }

    void commandChangesPageAndUndoes() {
        QFETCH(QString, body);
        QFETCH(QString, place);
        QFETCH(int, command);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        loadBody(*s, body);
        const QString before = bodyHtml(*s);
        this->place(place);
        if (expected.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(command, OLECMDEXECOPT_DONTPROMPTUSER, value));
            QCOMPARE(bodyHtml(*s), before);
            QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_DISABLED));  // no empty step recorded
            return;
        }
        if (command == DECMD_PASTE)
            QGuiApplication::clipboard()->setText(value.toString());
        QSignalSpy display(s.get(), &Surface::DisplayChanged);
        s->ExecCommand(command, OLECMDEXECOPT_DONTPROMPTUSER, value);
        const QString after = bodyHtml(*s);
        QVERIFY(s->IsDirty());
        if (body.contains("<TABLE")) {
            QCOMPARE(tableShape(*s), expected);
        } else {
            QVERIFY2(after.contains(QRegularExpression(expected, QRegularExpression::CaseInsensitiveOption)),
                     qPrintable(after));
            QVERIFY(display.wait(2000));  // the toolbar hears of the new formatting
        }
        if (command == DECMD_INSERTTABLE)
            QCOMPARE(s->QueryStatus(DECMD_INSERTROW), int(DECMDF_ENABLED));  // the caret waits in its first cell
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), before);
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(bodyHtml(*s), after);
    }

    void stateAtSelection_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("state");
        QTest::addColumn<QVariant>("value");  // what the command reads there, if anything

        const QString mixed = "<P>plain <B>bold</B> end</P>", font = "<P><FONT FACE=\"Courier New\" SIZE=5>mono</FONT> plain</P>";
        const int latched = DECMDF_LATCHED, ninched = DECMDF_NINCHED, enabled = DECMDF_ENABLED, off = DECMDF_DISABLED;
        const QVariant none;
        QTest::newRow("caret in bold") << mixed << "|old" << int(DECMD_BOLD) << latched << none;
        QTest::newRow("selection mixing bold") << mixed << "plain bold" << int(DECMD_BOLD) << ninched << none;
        QTest::newRow("left by default") << "<P>plain</P>" << "|plain" << int(DECMD_JUSTIFYLEFT) << latched << none;
        QTest::newRow("outdent with nothing indented") << "<P>flat</P>" << "|flat" << int(DECMD_OUTDENT) << off << none;
        QTest::newRow("font size of two sizes") << "<P><FONT SIZE=2>aa</FONT><FONT SIZE=5>bb</FONT></P>"
                                                << "aabb" << int(DECMD_GETFONTSIZE) << ninched << none;
        QTest::newRow("font name at a caret") << font << "|ono" << int(DECMD_GETFONTNAME) << enabled << QVariant("Courier New");
        QTest::newRow("font size at a caret") << font << "|ono" << int(DECMD_GETFONTSIZE) << enabled << QVariant(5);
        QTest::newRow("font size by default") << font << "plain" << int(DECMD_GETFONTSIZE) << enabled << QVariant(3);
        QTest::newRow("make absolute in plain text") << stack << "|float" << int(DECMD_MAKE_ABSOLUTE) << off << none;
        QTest::newRow("make absolute in a positioned div") << stack << "|one" << int(DECMD_MAKE_ABSOLUTE) << latched << none;
        QTest::newRow("forward in a flat div") << stack << "|flat" << int(DECMD_BRING_FORWARD) << off << none;
        QTest::newRow("above text when above") << stack << "|one" << int(DECMD_BRING_ABOVE_TEXT) << off << none;
        const QString cells = "<P>text</P>" + spanned;
        QTest::newRow("insert row in a cell") << cells << "#e..#e" << int(DECMD_INSERTROW) << enabled << none;
        QTest::newRow("insert row outside") << cells << "|text" << int(DECMD_INSERTROW) << off << none;
        QTest::newRow("merge one cell") << cells << "#e..#e" << int(DECMD_MERGECELLS) << off << none;
        QTest::newRow("merge two cells") << cells << "#e..#f" << int(DECMD_MERGECELLS) << enabled << none;
        QTest::newRow("split a spanning cell") << cells << "#a..#a" << int(DECMD_SPLITCELL) << enabled << none;
    }

    void stateAtSelection() {
        QFETCH(QString, body);
        QFETCH(QString, place);
        QFETCH(int, command);
        QFETCH(int, state);
        QFETCH(QVariant, value);
        loadBody(*s, body);
        this->place(place);
        QCOMPARE(s->QueryStatus(command), state);
        if (value.isValid())
            QCOMPARE(s->ExecCommand(command, OLECMDEXECOPT_DONTPROMPTUSER).toString(), value.toString());
    }

    // A status read right after a command reflects it; at a caret a command
    // sets the typing style: no markup yet, but latched.
    void statusFollowsCommandAtOnce() {
        loadBody(*s, "<P>big plain</P>");
        place("plain");
        s->ExecCommand(DECMD_SETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER, 7);
        QCOMPARE(s->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toInt(), 7);
        place("|big");
        const QString before = bodyHtml(*s);
        s->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        QCOMPARE(s->QueryStatus(DECMD_BOLD), int(DECMDF_LATCHED));
        QCOMPARE(bodyHtml(*s), before);
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
                 qPrintable(QString("moved by %1,%2").arg(after.x() - before.x()).arg(after.y() - before.y())));
        QCOMPARE(s->QueryStatus(DECMD_SEND_TO_BACK), int(DECMDF_ENABLED));
        s->ExecCommand(DECMD_MAKE_ABSOLUTE);   // back in the flow
        QCOMPARE(topLeft(), before);
        QCOMPARE(s->QueryStatus(DECMD_SEND_TO_BACK), int(DECMDF_DISABLED));
        s->ExecCommand(DECMD_UNDO);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(s->QueryStatus(DECMD_MAKE_ABSOLUTE), int(DECMDF_ENABLED));
        QVERIFY(!bodyHtml(*s).contains("absolute"));
    }

    // Command values taken as plain functions; an expected "" means refused as
    // an invalid argument.
    void values_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("colour, lower hex") << "colour" << QVariant("#0c0b0a") << "#0C0B0A";
        QTest::newRow("colour, short hex") << "colour" << QVariant("#0f0") << "#00FF00";
        QTest::newRow("colour name") << "colour" << QVariant("navy") << "#000080";
        QTest::newRow("colour, blanks around") << "colour" << QVariant(" #123456 ") << "#123456";
        QTest::newRow("colour without hash") << "colour" << QVariant("FF0000") << "";
        QTest::newRow("colour word") << "colour" << QVariant("notacolour") << "";
        QTest::newRow("colour with alpha") << "colour" << QVariant("#80FF0000") << "";
        QTest::newRow("size 0") << "size" << QVariant(0) << "";
        QTest::newRow("size fraction") << "size" << QVariant("2.5") << "";
        QTest::newRow("table of no rows") << "table" << QVariant::fromValue(TableParam{0, 3, {}, {}, {}}) << "";
        QTest::newRow("table of too many cells") << "table" << QVariant::fromValue(TableParam{100000, 1000, {}, {}, {}}) << "";
        QTest::newRow("not a table parameter") << "table" << QVariant(QString("2,2")) << "";
        QTest::newRow("clipboard fragment marks")
            << "clipboard" << QVariant("<html><body><!--StartFragment--><b>x</b><!--EndFragment--></body></html>") << "<b>x</b>";
        QTest::newRow("clipboard whole document")
            << "clipboard" << QVariant("<html><head><title>t</title></head><body class=a><i>y</i></body></html>") << "<i>y</i>";
        QTest::newRow("clipboard charset meta first") << "clipboard" << QVariant("<meta charset=\"utf-8\"><p>z</p>") << "<p>z</p>";
    }

    void values() {
        QFETCH(QString, kind);
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        try {
            const QString got = kind == "colour" ? htmlColor(value)
                                : kind == "size" ? QString::number(htmlFontSize(value))
                                : kind == "table" ? QString::fromUtf8(QJsonDocument(tableEntry(value)).toJson())
                                                  : fragmentFromClipboardHtml(value.toString());
            QCOMPARE(got, expected);
        } catch (const SurfaceError& e) {
            QVERIFY2(expected.isEmpty(), "refused");
            QCOMPARE(e.number(), SurfaceErrorNumber::InvalidArgument);
        }
    }

    // A burst of typing is one step, a pause starts the next; commands and
    // typing undo in order, from the program or from the keyboard.
    void undoHistory() {
        loadBody(*s, "<P id=\"p\">one two</P>");
        caretAfterText(*s, "two");
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
        pageScript(*s, "document.querySelector('#p').setAttribute('orv', 'x'); return 1;");
        s->setFocus();
        QTest::keyClick(s->view()->focusProxy(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(paragraph(), QString("one twoab"));
        QVERIFY(pageScript(*s, "return document.querySelector('#p').firstChild === window.keptText;").toBool());
        QCOMPARE(pageScript(*s, "return document.querySelector('#p').getAttribute('orv');").toString(),
                 QString("x"));
        QTest::keyClick(s->view()->focusProxy(), Qt::Key_Y, Qt::ControlModifier);
        QTRY_COMPARE(paragraph(), QString("<u>one</u> twoab"));

        // The paste route is undoable, undo brings the selection back, a new
        // change drops what could be redone.
        loadBody(*s, "<P id=\"p\">one two</P>");
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

    void clipboard() {
        const QString table = "<TABLE><TBODY><TR><TD>four</TD><TD>five</TD></TR></TBODY></TABLE>";
        loadBody(*s, "<P>one <B>two</B> three</P>" + table);
        selectAcross(*s, "td", "td + td");  // cells go with their row and table, without the page's ids
        s->ExecCommand(DECMD_COPY);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->html(), QString(table).toLower());
        selectText(*s, "two");
        s->ExecCommand(DECMD_COPY);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->text(), QString("two"));
        caretAfterText(*s, "three");
        QCOMPARE(s->QueryStatus(DECMD_COPY), int(DECMDF_DISABLED));
        s->ExecCommand(DECMD_PASTE);
        QCOMPARE(bodyHtml(*s), "<P>one <B>two</B> three<B>two</B></P>" + table);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), "<P>one <B>two</B> three</P>" + table);
        // The browser's own cut goes through the Cut command: one undo step, no ids.
        loadBody(*s, "<P>one <B>two</B></P><P>three</P>" + table);
        selectAcross(*s, "p", "p + p");
        QTest::keyClick(s->view()->focusProxy(), Qt::Key_X, Qt::ControlModifier);
        QTRY_COMPARE(QGuiApplication::clipboard()->text(), QString("one two\n\nthree"));
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->html(), QString("<p>one <b>two</b></p><p>three</p>"));
        QCOMPARE(bodyHtml(*s), "<P><BR></P>" + table);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), "<P>one <B>two</B></P><P>three</P>" + table);

        QGuiApplication::clipboard()->clear();
        QCOMPARE(s->QueryStatus(DECMD_PASTE), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_PASTE));

        // A read-only surface copies but does not edit.
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
    // Sets the selection a row names: "#a..#b" from the start of one element's
    // content to the end of another's; "|text" and "text|" a caret before or
    // after the text; otherwise the text selected.
    void place(const QString& where) {
        if (where.contains(".."))
            return selectAcross(*s, where.section("..", 0, 0), where.section("..", 1));
        placeInText(*s, QString(where).remove('|'),
                    where.startsWith('|') ? InText::Before : where.endsWith('|') ? InText::After : InText::Select);
    }
    QPointF topLeft() {
        const QVariantList r = pageScript(*s, "const b = document.querySelector('#t').getBoundingClientRect();"
                                              " return [b.left, b.top];").toList();
        return QPointF(r.value(0).toDouble(), r.value(1).toDouble());
    }
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_PageCommands)
#include "tst_page_commands.moc"
