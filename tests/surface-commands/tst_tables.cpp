// Table commands on plain tables and on tables whose cells span rows and
// columns, each with its undo and redo; building a table from TableParam.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

using namespace orvane;
using namespace orvane::test;

namespace {

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

class tst_Tables : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void editsTableAndUndoes_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("from");   // cell ids of the selection
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("shape");

        QTest::newRow("insert row") << plain3x3 << "#e" << "#e" << int(DECMD_INSERTROW)
                                    << "a b c / _ _ _ / d e f / g h i";
        QTest::newRow("insert column") << plain3x3 << "#e" << "#e" << int(DECMD_INSERTCOL)
                                       << "a _ b c / d _ e f / g _ h i";
        QTest::newRow("delete row") << plain3x3 << "#e" << "#e" << int(DECMD_DELETEROWS) << "a b c / g h i";
        QTest::newRow("delete two rows") << plain3x3 << "#d" << "#h" << int(DECMD_DELETEROWS) << "a b c";
        QTest::newRow("delete column") << plain3x3 << "#e" << "#e" << int(DECMD_DELETECOLS) << "a c / d f / g i";
        QTest::newRow("delete every row removes table") << plain3x3 << "#a" << "#i" << int(DECMD_DELETEROWS)
                                                        << "(no table)";
        QTest::newRow("merge in a row") << plain3x3 << "#e" << "#f" << int(DECMD_MERGECELLS)
                                        << "a b c / d e f<2 / g h i";
        QTest::newRow("merge a block") << plain3x3 << "#b" << "#f" << int(DECMD_MERGECELLS)
                                       << "a b c e f^2<2 / d / g h i";

        QTest::newRow("merge across a row span") << spanned << "#a" << "#e" << int(DECMD_MERGECELLS)
                                                 << "a b e^2<2 c / f / g h<2";
        QTest::newRow("merge takes in a column span") << spanned << "#e" << "#h" << int(DECMD_MERGECELLS)
                                                      << "a^2 b c / e f h^2<2 / g";
        QTest::newRow("merge widens to a row span") << spanned << "#g" << "#f" << int(DECMD_MERGECELLS)
                                                    << "a b c e f g h^3<3 /  / ";
        QTest::newRow("split a column span") << spanned << "#h" << "#h" << int(DECMD_SPLITCELL)
                                             << "a^2 b c / e f / g h _";
        QTest::newRow("split a row span") << spanned << "#a" << "#a" << int(DECMD_SPLITCELL)
                                          << "a b c / _ e f / g h<2";
        QTest::newRow("delete a column a span crosses") << spanned << "#c" << "#c" << int(DECMD_DELETECOLS)
                                                        << "a^2 b / e / g h";
        QTest::newRow("delete the column of a row span") << spanned << "#g" << "#g" << int(DECMD_DELETECOLS)
                                                         << "b c / e f / h<2";
        QTest::newRow("insert row inside a row span") << spanned << "#e" << "#e" << int(DECMD_INSERTROW)
                                                      << "a^3 b c / _ _ / e f / g h<2";
        QTest::newRow("insert column a span crosses") << spanned << "#c" << "#c" << int(DECMD_INSERTCOL)
                                                      << "a^2 b _ c / e _ f / g h<3";
        QTest::newRow("insert column before a row span") << spanned << "#a" << "#a" << int(DECMD_INSERTCOL)
                                                         << "_^2 a^2 b c / e f / _ g h<2";
        QTest::newRow("delete the first row of a row span") << spanned << "#b" << "#b" << int(DECMD_DELETEROWS)
                                                            << "a e f / g h<2";
        QTest::newRow("delete the last row of a row span") << spanned << "#e" << "#e" << int(DECMD_DELETEROWS)
                                                           << "a b c / g h<2";
        QTest::newRow("a row span stops at the end of its row group")
            << "<TABLE><THEAD><TR><TD id=\"a\" ROWSPAN=\"2\">a</TD><TD id=\"b\">b</TD></TR></THEAD>"
               "<TBODY><TR><TD id=\"c\">c</TD><TD id=\"d\">d</TD></TR></TBODY></TABLE>"
            << "#c" << "#c" << int(DECMD_DELETECOLS) << "b / d";
    }

    void editsTableAndUndoes() {
        QFETCH(QString, table);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, command);
        QFETCH(QString, shape);
        loadBody(*s, "<P>before</P>" + table + "<P>after</P>");
        const QString original = tableShape(*s);
        selectAcross(*s, from, to);
        s->ExecCommand(command, OLECMDEXECOPT_DODEFAULT);
        QCOMPARE(tableShape(*s), shape);
        const QString edited = bodyHtml(*s);

        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(tableShape(*s), original);
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(tableShape(*s), shape);
        QCOMPARE(bodyHtml(*s), edited);
    }

    void statusFollowsSelection_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("state");
        QTest::newRow("insert row in a cell") << "#e" << "#e" << int(DECMD_INSERTROW) << int(DECMDF_ENABLED);
        QTest::newRow("insert row outside") << "p" << "p" << int(DECMD_INSERTROW) << int(DECMDF_DISABLED);
        QTest::newRow("merge one cell") << "#e" << "#e" << int(DECMD_MERGECELLS) << int(DECMDF_DISABLED);
        QTest::newRow("merge two cells") << "#e" << "#f" << int(DECMD_MERGECELLS) << int(DECMDF_ENABLED);
        QTest::newRow("split a spanning cell") << "#a" << "#a" << int(DECMD_SPLITCELL) << int(DECMDF_ENABLED);
    }

    void statusFollowsSelection() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, command);
        QFETCH(int, state);
        loadBody(*s, "<P>text</P>" + spanned);
        selectAcross(*s, from, to);
        QCOMPARE(s->QueryStatus(command), state);
    }

    void insertTable_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("place");   // "text" selected, "|text" a caret before it, "text|" after it
        QTest::addColumn<TableParam>("param");
        QTest::addColumn<QString>("expected");
        QTest::newRow("replaces the selection")
            << "<P>x</P>" << "x" << TableParam{2, 3, "Border=\"1\" Cellpadding=\"1\" Cellspacing=\"1\"", "valign=\"top\"", {}}
            << "<TABLE BORDER=\"1\" CELLPADDING=\"1\" CELLSPACING=\"1\"><TBODY>"
                   + QString("<TR>" + QString("<TD VALIGN=\"top\"></TD>").repeated(3) + "</TR>").repeated(2) + "</TBODY></TABLE>";
        QTest::newRow("splits the paragraph at the caret") << "<P>left<B>right</B></P>" << "left|" << TableParam{1, 1, {}, {}, {}}
            << "<P>left</P><TABLE><TBODY><TR><TD></TD></TR></TBODY></TABLE><P><B>right</B></P>";
        QTest::newRow("caret at the start: before the paragraph; attributes cannot break out")
            << "<P>x</P>" << "|x" << TableParam{1, 1, "width=50><IMG src=evil.png", "x=\"1\"></TD><TD", {}}
            << "<TABLE WIDTH=\"50\"><TBODY><TR><TD X=\"1\"></TD></TR></TBODY></TABLE><P>x</P>";
    }

    // The table goes where the selection was, the caret waits in its first
    // cell, and one undo takes it back.
    void insertTable() {
        QFETCH(QString, body);
        QFETCH(QString, place);
        QFETCH(TableParam, param);
        QFETCH(QString, expected);
        loadBody(*s, body);
        placeInText(*s, QString(place).remove('|'),
                    place.startsWith('|') ? InText::Before : place.endsWith('|') ? InText::After : InText::Select);
        s->ExecCommand(DECMD_INSERTTABLE, OLECMDEXECOPT_DONTPROMPTUSER, QVariant::fromValue(param));
        QCOMPARE(bodyHtml(*s), expected);
        QCOMPARE(s->QueryStatus(DECMD_INSERTROW), int(DECMDF_ENABLED));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), body);
    }

private:
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_Tables)
#include "tst_tables.moc"
