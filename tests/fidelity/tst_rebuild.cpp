// Rebuilding a page after an edit: only the changed elements are rewritten,
// everything else (and every server block) comes back as written.

#include "FidelityTokens.h"
#include "PageRebuild.h"

#include <QRegularExpression>
#include <QTest>

using namespace orvane::fidelity;

namespace {

// The id of the n-th element named `name` ("p#1" is the second p).
int elementId(const PageMap& map, const QString& ref) {
    const QString name = ref.section(u'#', 0, 0);
    int n = ref.section(u'#', 1, 1).toInt();
    for (int k = 0; k < map.tree.elements.size(); ++k)
        if (map.tree.nameOf(k) == name && n-- == 0)
            return k;
    return -1;
}

// What the page script would send: {keep:p#1} and {srv:N} become tokens.
QString scriptHtml(const PageMap& map, QString html) {
    static const QRegularExpression keep(QStringLiteral("\\{keep:([a-z0-9]+#\\d+)\\}"));
    static const QRegularExpression srv(QStringLiteral("\\{srv:(\\d+)\\}"));
    QRegularExpressionMatch m;
    while ((m = keep.match(html)).hasMatch())
        html.replace(m.capturedStart(), m.capturedLength(),
                     map.standIns.keep(elementId(map, m.captured(1))));
    while ((m = srv.match(html)).hasMatch())
        html.replace(m.capturedStart(), m.capturedLength(), map.standIns.server(m.captured(1).toInt()));
    // {s:p#0} start tag, {e:p#0} end tag, {g:p#0} gap inside, {g:p#0+} gap
    // after, {t:p#0,from,to} part of the gap inside.
    static const QRegularExpression piece(QStringLiteral("\\{([segt]):([a-z0-9]+#\\d+)(\\+?)((?:,\\d+)*)\\}"));
    while ((m = piece.match(html)).hasMatch()) {
        const int k = elementId(map, m.captured(2));
        const bool gap = m.captured(1) == u"g" || m.captured(1) == u"t";
        const int n = gap ? 2 * k + (m.captured(3).isEmpty() ? 0 : 1) : k;
        html.replace(m.capturedStart(), m.capturedLength(),
                     QChar(pieceOpen) + map.standIns.marker + m.captured(1) + QString::number(n) + m.captured(4) +
                         QChar(pieceClose));
    }
    return html;
}

const QString generator = QStringLiteral("<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">");

}  // namespace

class TestRebuild : public QObject {
    Q_OBJECT
private slots:
    void rebuild_data();
    void rebuild();
    void pieces_data();
    void pieces();
    void deepChainWithTheInnermostChanged();
    void unchangedPageIsVerbatim();
};

void TestRebuild::rebuild_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("changes");  // "element|html"
    QTest::addColumn<QString>("expected");

    const QString crlfPage = QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
        "<html>\r\n<head>\r\n<title>T &amp; C</title>\r\n</head>\r\n"
        "<body bgcolor=white>\r\n<p class=a>one &COPY; <i>two</i> <IMG SRC=a.gif ALT=''>\r\n<P>three</P>\r\n</body>\r\n</html>\r\n");
    QTest::newRow("one paragraph in a CR LF page")
        << crlfPage << QStringList{"p#0|<P CLASS=\"a\">one \u00a9 <B>new\nline</B><I>two</I> {keep:img#0}\n</P>"}
        << QString(crlfPage)
               .replace("<head>", "<head>\r\n" + generator)
               .replace("<p class=a>one &COPY; <i>two</i> <IMG SRC=a.gif ALT=''>\r\n",
                        "<P CLASS=\"a\">one \u00a9 <B>new\r\nline</B><I>two</I> <IMG SRC=a.gif ALT=''>\r\n</P>");
    QTest::newRow("a cell of a clean table")
        << "<TABLE border=1>\n<TR><TD rowspan=2>a<TD>b\n<TR><TD>c</TD></TR></TABLE>"
        << QStringList{"td#1|<TD>B!</TD>"}
        << generator + "\n<TABLE border=1>\n<TR><TD rowspan=2>a<TD>B!</TD><TR><TD>c</TD></TR></TABLE>";
    QTest::newRow("a changed table keeps its clean rows")
        << "<head></head><table>\n<tr><td>1</td></tr>\n<tr><td>2</td></tr>\n</table>"
        << QStringList{"table#0|<TABLE><TBODY>{keep:tr#0}<TR><TD>new</TD></TR>{keep:tr#1}</TBODY></TABLE>"}
        << "<head>\n" + generator + "</head><TABLE><TBODY><tr><td>1</td></tr><TR><TD>new</TD></TR><tr><td>2</td></tr></TBODY></TABLE>";
    QTest::newRow("nested changes: a clean row between changed table and cell")
        << "<table><tr><td>1</td><td>2</td></tr></table><p>x</p>"
        << QStringList{"table#0|<TABLE class=\"t\">{keep:tr#0}</TABLE>", "td#1|<TD>two</TD>"}
        << generator + "\r\n<TABLE class=\"t\"><tr><td>1</td><TD>two</TD></tr></TABLE><p>x</p>";
    QTest::newRow("server blocks in a changed paragraph and attribute")
        << "<%@ Language=VBScript %>\r\n<html><head><title><%= t %></title></head><body>\r\n"
           "<p>Hi <%= name %>, <a href=\"<%= url %>?a=1\">go</a></p>\r\n<% If x Then %><p>z</p><% End If %>\r\n</body></html>"
        << QStringList{"p#0|<P><B>Hi</B> {srv:2}, <A HREF=\"{srv:3}?a=1\">go</A></P>"}
        << "<%@ Language=VBScript %>\r\n<html><head>\r\n" + generator + "<title><%= t %></title></head><body>\r\n"
           "<P><B>Hi</B> <%= name %>, <A HREF=\"<%= url %>?a=1\">go</A></P>\r\n<% If x Then %><p>z</p><% End If %>\r\n</body></html>";
    QTest::newRow("a rewritten image with a server block in its address")
        << "<p><img src=\"<%= url %>\" class=x></p>"
        << QStringList{"img#0|<IMG SRC=\"{srv:0}\" CLASS=\"y\">"}
        << generator + "\r\n<p><IMG SRC=\"<%= url %>\" CLASS=\"y\"></p>";
    QTest::newRow("existing generator replaced in place, second removed")
        << "<HTML><HEAD>\n<META NAME=\"GENERATOR\" Content=\"Kestrova Editor v.1.0\">\n<meta name=generator content=x>\n</HEAD><BODY><P>a</P></BODY></HTML>"
        << QStringList{"p#0|<P>b</P>"}
        << "<HTML><HEAD>\n" + generator + "\n\n</HEAD><BODY><P>b</P></BODY></HTML>";
    QTest::newRow("deleted child is gone, entities of clean children stay")
        << "<div><p>a &eacute;</p><p>b</p><p>c&nbsp;</p></div>"
        << QStringList{"div#0|<DIV>{keep:p#0}{keep:p#2}</DIV>"}
        << generator + "\r\n<DIV><p>a &eacute;</p><p>c&nbsp;</p></DIV>";
    QTest::newRow("implied body rewritten")
        << "<title>t</title>\n<p>a"
        << QStringList{"body#0|<BODY>{keep:p#0}<P>b</P></BODY>"}
        << generator + "\n<title>t</title>\n<BODY><p>a<P>b</P></BODY>";
    QTest::newRow("lone CR page")
        << "<html><head></head><body>\r<p>a</p></body></html>"
        << QStringList{"p#0|<P>a\nb</P>"}
        << "<html><head>\r" + generator + "</head><body>\r<P>a\rb</P></body></html>";
    QTest::newRow("page text with the stand-ins' code points is text")
        << QString::fromUtf8("<head></head><p>price \uFDD20\uFDD3 list \uFDD00\uFDD1</p>")
        << QStringList{QString::fromUtf8("p#0|<P>price \uFDD20\uFDD3 list \uFDD00\uFDD1!</P>")}
        << QString::fromUtf8("<head>\r\n") + generator +
               QString::fromUtf8("</head><P>price \uFDD20\uFDD3 list \uFDD00\uFDD1!</P>");
    QTest::newRow("a generator meta holding server code stays, the surface's goes beside it")
        << "<head><meta name=generator content=\"<%= app %>\"></head><p>a</p>"
        << QStringList{"p#0|<P>b</P>"}
        << "<head>" + generator + "\r\n<meta name=generator content=\"<%= app %>\"></head><P>b</P>";
}

void TestRebuild::rebuild() {
    QFETCH(QString, text);
    QFETCH(QStringList, changes);
    QFETCH(QString, expected);
    const PreparedPage page = preparePage(text);
    QHash<int, QString> changed;
    for (const QString& c : changes) {
        const int id = elementId(page.map, c.section(u'|', 0, 0));
        QVERIFY2(id >= 0, qPrintable(c));
        changed.insert(id, scriptHtml(page.map, c.section(u'|', 1)));
    }
    QCOMPARE(rebuildPage(text, page.map, changed), expected);
}

void TestRebuild::pieces_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("change");  // "element|html", its text pieces from the gap inside
    QTest::addColumn<QString>("parsed");  // that gap's text as the browser made it
    QTest::addColumn<QString>("expected");
    QTest::newRow("tags across lines and entities stay, bold word new")
        << "<head></head><P\nCLASS=x\n>one &copy; <i>two</i>\n</P\n>"
        << "p#0|{s:p#0}{t:p#0,0,4}<B>{t:p#0,4,5}</B>{t:p#0,5,6}{keep:i#0}{g:i#0+}{e:p#0}" << "one \u00a9 "
        << "<head>\n" + generator + "</head><P\nCLASS=x\n>one <B>&copy;</B> <i>two</i>\n</P\n>";
    QTest::newRow("white space the browser moved into the body is not written twice")
        << "<head></head><body>\nSkip\n</body>\n</html>\n"
        << "body#0|{s:body#0}{t:body#0,0,1}<B>{t:body#0,1,5}</B>{t:body#0,5,8}{e:body#0}" << "\nSkip\n\n\n"
        << "<head>\n" + generator + "</head><body>\n<B>Skip</B>\n</body>\n</html>\n";
    QTest::newRow("omitted end tag stays omitted")
        << "<head></head><ul><li>a<li>b</ul>" << "li#0|{s:li#0}<B>{t:li#0,0,1}</B>{e:li#0}" << "a"
        << "<head>\r\n" + generator + "</head><ul><li><B>a</B><li>b</ul>";
    QTest::newRow("reference of two code points, CR LF")
        << "<head></head><p>a&NotEqualTilde;b\r\nc</p>" << "p#0|{s:p#0}{t:p#0,0,1}<B>{t:p#0,1,3}</B>{t:p#0,3,6}{e:p#0}"
        << "a\u2242\u0338b\nc" << "<head>\r\n" + generator + "</head><p>a<B>&NotEqualTilde;</B>b\r\nc</p>";
    QTest::newRow("stray end tag in the text")
        << "<head></head><p>a</font>b</p>" << "p#0|{s:p#0}{t:p#0,0,1}<I>{t:p#0,1,2}</I>{e:p#0}" << "ab"
        << "<head>\r\n" + generator + "</head><p>a</font><I>b</I></p>";
    QTest::newRow("text that is not the source's is written in the editor's spelling")
        << "<head></head><p>x &lt; y</p>" << "p#0|{s:p#0}{t:p#0,0,5}{e:p#0}" << "x < z"
        << "<head>\r\n" + generator + "</head><p>x &lt; z</p>";
}

void TestRebuild::pieces() {
    QFETCH(QString, text);
    QFETCH(QString, change);
    QFETCH(QString, parsed);
    QFETCH(QString, expected);
    const PreparedPage page = preparePage(text);
    const int id = elementId(page.map, change.section(u'|', 0, 0));
    const QString html = scriptHtml(page.map, change.section(u'|', 1));
    const int gap = 2 * id;
    QCOMPARE(rebuildPage(text, page.map, PageChanges({{id, html}}, {{gap, parsed}})), expected);
}

// A chain deeper than any call stack could follow element by element.
void TestRebuild::deepChainWithTheInnermostChanged() {
    const int depth = 40000;
    const QString text = QStringLiteral("<head></head>") + QStringLiteral("<div>").repeated(depth) + u'x' +
                         QStringLiteral("</div>").repeated(depth);
    const PreparedPage page = preparePage(text);
    const int innermost = elementId(page.map, QStringLiteral("div#%1").arg(depth - 1));
    QVERIFY(innermost >= 0);
    const QString out = rebuildPage(text, page.map, QHash<int, QString>{{innermost, QStringLiteral("<DIV>y</DIV>")}});
    QCOMPARE(out, QStringLiteral("<head>\r\n") + generator + QStringLiteral("</head>") +
                      QStringLiteral("<div>").repeated(depth - 1) + QStringLiteral("<DIV>y</DIV>") +
                      QStringLiteral("</div>").repeated(depth - 1));
}

void TestRebuild::unchangedPageIsVerbatim() {
    const QString text = QStringLiteral("<p>a<% x %></p>");
    const PreparedPage page = preparePage(text);
    QCOMPARE(rebuildPage(text, page.map, {}), text);
}

QTEST_GUILESS_MAIN(TestRebuild)
#include "tst_rebuild.moc"
