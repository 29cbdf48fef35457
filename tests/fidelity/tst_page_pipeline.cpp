// The page pipeline without the browser: server blocks taken out by
// position, element spans as the browser would build the elements, and the
// page rebuilt after an edit with only the changed elements rewritten.

#include "FidelityTokens.h"
#include "PageRebuild.h"

#include <QRegularExpression>
#include <QTest>

using namespace orvane::fidelity;

namespace {

// Every element as name=source text; implied ones as (name)=source text; * is the whole text.
QStringList describe(const QString& text, const SourceTree& tree) {
    QStringList out;
    for (int k = 0; k < tree.elements.size(); ++k) {
        const SourceElement& el = tree.elements[k];
        const QString span = el.end - el.begin == text.size() ? QStringLiteral("*") : text.mid(el.begin, el.end - el.begin);
        out << (el.implied ? u'(' + tree.nameOf(k) + u')' : tree.nameOf(k)) + u'=' + span;
    }
    return out;
}

// How each server block is shown: M marker element, B marker block, C
// comment, T token.
QString presentation(const PreparedPage& page) {
    const QString browserText = QString::fromUtf8(page.browserText);
    QString out;
    for (int n = 0; n < page.map.serverBlocks.size(); ++n)
        out += browserText.contains(QStringLiteral("<div data-orv-srv=\"%1\"").arg(page.map.standIns.serverValue(n))) ? u'B'
               : browserText.contains(QStringLiteral("data-orv-srv=\"%1\"").arg(page.map.standIns.serverValue(n))) ? u'M'
               : browserText.contains(page.map.standIns.serverComment(n))         ? u'C'
               : browserText.contains(page.map.standIns.server(n))                ? u'T'
                                                                                 : u'?';
    return out;
}

// The browser text with ids taken out and server blocks put back.
QString undoPreparation(const PreparedPage& page, const QString& source) {
    QString text = QString::fromUtf8(page.browserText);
    text.remove(QRegularExpression(QStringLiteral(" orv=(\\d+i?|\"\\d+i?\")")));
    for (int n = 0; n < page.map.serverBlocks.size(); ++n) {
        const Span& b = page.map.serverBlocks[n];
        const QString block = source.mid(b.begin, b.end - b.begin);
        text.replace(QRegularExpression(QStringLiteral("<(span|div) data-orv-srv=\"%1\"[^>]*></\\1>").arg(page.map.standIns.serverValue(n))), block);
        text.replace(page.map.standIns.serverComment(n), block);
        text.replace(page.map.standIns.server(n), block);
    }
    return text;
}

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

class TestPagePipeline : public QObject {
    Q_OBJECT
private slots:
    void serverBlocks_data();
    void serverBlocks();
    void elementSpans_data();
    void elementSpans();
    void rebuild_data();
    void rebuild();
};

void TestPagePipeline::serverBlocks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("directive before html") << "<%@ Language=VBScript %>\r\n<html><body>x</body></html>" << "C";
    QTest::newRow("between table rows")
        << "<table><tr><td>a</td></tr><% For i = 1 To 3 %><tr><td><%= i %></td></tr><% Next %></table>" << "CBC";
    QTest::newRow("in a paragraph") << "<p>Hello <%= name %>!</p>" << "M";
    QTest::newRow("alone between blocks, at a container's start and end, after a rule")
        << "<p>a</p>\r\n<% x %>\r\n<!-- c --><p>b</p><div><% y %>\n<h1>t</h1><hr><% z %></div>"
           "<ul><li><ul><li>a</li></ul> <% w %> </li></ul><table><tr><td>\n<% v %>\n</td></tr></table>\r\n<% u %>\r\n"
        << "BBBBBB";
    QTest::newRow("beside text, inline elements, other blocks or an open paragraph")
        << "<p>a</p><% x %> text<div><% y %><% z %></div><div><p>a</p><% u %><b>b</b></div>"
           "<p>a\r\n<% v %>\r\n<p>b</p></b><% w %><p>c</p><span><p>d</p><% t %></span>"
        << "MMMMMMM";
    QTest::newRow("in a start tag") << "<td <% If x Then %>class=on<% End If %>>a</td>" << "TT";
    QTest::newRow("in attribute values")
        << "<a href=\"<%= url %>\" title='<%= t %>' rel=<%= r %>>x</a>" << "TTT";
    QTest::newRow("quote inside a quoted value")
        << "<input value=\"<%= Request(\"q\") %>\"><p>after</p>" << "T";
    QTest::newRow("closing script tag inside a block")
        << "<script>x = 1;<% w \"</script>\" %></script><p>y</p>" << "T";
    QTest::newRow("comment end inside a block") << "<!-- <% s = \"-->\" %> still comment --><p>x</p>" << "T";
    QTest::newRow("between options") << "<select><option>a<% If b Then %><option>b<% End If %></select>" << "CC";
    QTest::newRow("server comment") << "<p>a<%-- hidden %> still --%>b</p>" << "M";
    QTest::newRow("unclosed is text") << "<p>5 <% 6</p>" << "";
    QTest::newRow("unclosed server comment ends at the next close")
        << "<script>var open = \"<%--\";</script><p><%= user %></p>" << "T";
    QTest::newRow("unclosed server comment with no close runs to the end")
        << "<p>a<%-- the rest <p><%= b </p>" << "M";
    QTest::newRow("only server script") << "<%\r\nResponse.Redirect \"a.asp\"\r\n%>" << "C";
}

void TestPagePipeline::serverBlocks() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    const PreparedPage page = preparePage(text);
    QCOMPARE(presentation(page), shown);
    for (const Span& b : page.map.serverBlocks)
        QVERIFY(!QString::fromUtf8(page.browserText).contains(text.mid(b.begin, b.end - b.begin)));
    QCOMPARE(undoPreparation(page, text), text);
}

void TestPagePipeline::elementSpans_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("elements");

    QTest::newRow("implied html, head and body")
        << "<title>t</title><p>x"
        << QStringList{"(html)=*", "(head)=<title>t</title>", "title=<title>t</title>", "(body)=<p>x", "p=<p>x"};
    QTest::newRow("paragraphs closed by paragraphs")
        << "<body><p>one\n<P>two</P>\n<div>d</div></body>"
        << QStringList{"(html)=*", "(head)=", "body=*", "p=<p>one\n", "p=<P>two</P>", "div=<div>d</div>"};
    QTest::newRow("table cells without end tags")
        << "<TABLE BORDER=1><TR><TD ROWSPAN=2>a<TD>b<TR><TD>c</TABLE>"
        << QStringList{"(html)=*", "(head)=", "(body)=*", "table=*", "tr=<TR><TD ROWSPAN=2>a<TD>b",
                       "td=<TD ROWSPAN=2>a", "td=<TD>b", "tr=<TR><TD>c", "td=<TD>c"};
    QTest::newRow("raw text and comments hide tags")
        << "<script>if (a</b) document.write('<p>')</script><!-- <div> --><textarea><b>x</textarea>"
        << QStringList{"(html)=*", "(head)=<script>if (a</b) document.write('<p>')</script><!-- <div> -->",
                       "script=<script>if (a</b) document.write('<p>')</script>", "(body)=<textarea><b>x</textarea>",
                       "textarea=<textarea><b>x</textarea>"};
    QTest::newRow("stray cell tags outside a table make no element")
        << "<body><td>x</td><p>y</body>"
        << QStringList{"(html)=*", "(head)=", "body=*", "p=<p>y"};
    QTest::newRow("a form inside a table holds none of its rows")
        << "<table><form action=a.asp><tr><td><input name=q></td></tr></form></table>"
        << QStringList{"(html)=*", "(head)=", "(body)=*", "table=*", "form=<form action=a.asp>",
                       "tr=<tr><td><input name=q></td></tr>", "td=<td><input name=q></td>", "input=<input name=q>"};
    QTest::newRow("quirks page: a table stays in its paragraph")
        << "<p>a<table><tr><td>b</table>c</p>"
        << QStringList{"(html)=*", "(head)=", "(body)=*", "p=*", "table=<table><tr><td>b</table>", "tr=<tr><td>b",
                       "td=<td>b"};
    QTest::newRow("standards page: a table closes the paragraph")
        << "<!DOCTYPE html><p>a<table><tr><td>b</table>c</p>"
        << QStringList{"(html)=<p>a<table><tr><td>b</table>c</p>", "(head)=",
                       "(body)=<p>a<table><tr><td>b</table>c</p>", "p=<p>a", "table=<table><tr><td>b</table>",
                       "tr=<tr><td>b", "td=<td>b"};
    QTest::newRow("script between head and body keeps its text")
        << "<head></head>\n<script src=\"a.js\">var a = 1;</script>\n<body><p>Hi</p></body>"
        << QStringList{"(html)=*", "head=<head></head>", "script=<script src=\"a.js\">var a = 1;</script>",
                       "body=<body><p>Hi</p></body>", "p=<p>Hi</p>"};
    QTest::newRow("title after the head end")
        << "</head><title>-"
        << QStringList{"(html)=*", "(head)=</head>", "title=<title>-", "(body)="};
    QTest::newRow("a slash does not close a script")
        << "<p>a<script/><p>b</script><p>c"
        << QStringList{"(html)=*", "(head)=", "(body)=*", "p=<p>a<script/><p>b</script>",
                       "script=<script/><p>b</script>", "p=<p>c"};
    QTest::newRow("xhtml self-closing tags")
        << "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta charset=\"utf-8\" /></head><body><br /><hr/></body></html>"
        << QStringList{"html=*", "head=<head><meta charset=\"utf-8\" /></head>", "meta=<meta charset=\"utf-8\" />",
                       "body=<body><br /><hr/></body>", "br=<br />", "hr=<hr/>"};
}

void TestPagePipeline::elementSpans() {
    QFETCH(QString, text);
    QFETCH(QStringList, elements);
    const PreparedPage page = preparePage(text);
    QCOMPARE(describe(text, page.map.tree), elements);
}

void TestPagePipeline::rebuild_data() {
    QTest::addColumn<QString>("text");
    // "element|html", or "element|html|text": the text of the gap inside the
    // element as the browser parsed it, the html then naming pieces of it.
    QTest::addColumn<QStringList>("changes");
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
    QTest::newRow("unquoted generator gets quotes, other metas untouched")
        << "<meta name=author content=me><meta name=Generator content=Notepad><p>a" << QStringList{"p#0|<P>b</P>"}
        << "<meta name=author content=me><meta name=Generator content=\"Microsoft DHTML Editing Control\"><P>b</P>";
    QTest::newRow("single-quoted generator stays single-quoted")
        << "<meta name=GENERATOR content='b'><p>a" << QStringList{"p#0|<P>b</P>"}
        << "<meta name=GENERATOR content='Microsoft DHTML Editing Control'><P>b</P>";
    QTest::newRow("a generator holding server code stays, the surface's meta goes beside it")
        << "<meta name=\"generator\" content=\"<%= app %>\"><p>a" << QStringList{"p#0|<P>b</P>"}
        << generator + "\r\n<meta name=\"generator\" content=\"<%= app %>\"><P>b</P>";
    QTest::newRow("a plain generator is edited, one holding server code stays")
        << "<meta name=generator content=\"<%= v %>\"><meta name=generator content=a><p>a" << QStringList{"p#0|<P>b</P>"}
        << "<meta name=generator content=\"<%= v %>\"><meta name=generator content=\"Microsoft DHTML Editing Control\"><P>b</P>";
    // Pieces: {s:p#0} start tag, {e:p#0} end tag, {g:p#0} gap inside, {g:p#0+}
    // gap after, {t:p#0,from,to} part of the gap inside.
    QTest::newRow("pieces: tags across lines and entities stay, bold word new")
        << "<head></head><P\nCLASS=x\n>one &copy; <i>two</i>\n</P\n>"
        << QStringList{"p#0|{s:p#0}{t:p#0,0,4}<B>{t:p#0,4,5}</B>{t:p#0,5,6}{keep:i#0}{g:i#0+}{e:p#0}|one \u00a9 "}
        << "<head>\n" + generator + "</head><P\nCLASS=x\n>one <B>&copy;</B> <i>two</i>\n</P\n>";
    QTest::newRow("pieces: white space the browser moved into the body is not written twice")
        << "<head></head><body>\nSkip\n</body>\n</html>\n"
        << QStringList{"body#0|{s:body#0}{t:body#0,0,1}<B>{t:body#0,1,5}</B>{t:body#0,5,8}{e:body#0}|\nSkip\n\n\n"}
        << "<head>\n" + generator + "</head><body>\n<B>Skip</B>\n</body>\n</html>\n";
    QTest::newRow("pieces: omitted end tag stays omitted")
        << "<head></head><ul><li>a<li>b</ul>" << QStringList{"li#0|{s:li#0}<B>{t:li#0,0,1}</B>{e:li#0}|a"}
        << "<head>\r\n" + generator + "</head><ul><li><B>a</B><li>b</ul>";
    QTest::newRow("pieces: reference of two code points, CR LF")
        << "<head></head><p>a&NotEqualTilde;b\r\nc</p>"
        << QStringList{"p#0|{s:p#0}{t:p#0,0,1}<B>{t:p#0,1,3}</B>{t:p#0,3,6}{e:p#0}|a\u2242\u0338b\nc"}
        << "<head>\r\n" + generator + "</head><p>a<B>&NotEqualTilde;</B>b\r\nc</p>";
    QTest::newRow("pieces: stray end tag in the text")
        << "<head></head><p>a</font>b</p>" << QStringList{"p#0|{s:p#0}{t:p#0,0,1}<I>{t:p#0,1,2}</I>{e:p#0}|ab"}
        << "<head>\r\n" + generator + "</head><p>a</font><I>b</I></p>";
    QTest::newRow("pieces: text that is not the source's is written in the editor's spelling")
        << "<head></head><p>x &lt; y</p>" << QStringList{"p#0|{s:p#0}{t:p#0,0,5}{e:p#0}|x < z"}
        << "<head>\r\n" + generator + "</head><p>x &lt; z</p>";
    // A chain deeper than any call stack could follow element by element.
    const int depth = 40000;
    QTest::newRow("deep chain with the innermost changed")
        << "<head></head>" + QString("<div>").repeated(depth) + "x" + QString("</div>").repeated(depth)
        << QStringList{QStringLiteral("div#%1|<DIV>y</DIV>").arg(depth - 1)}
        << "<head>\r\n" + generator + "</head>" + QString("<div>").repeated(depth - 1) + "<DIV>y</DIV>" +
               QString("</div>").repeated(depth - 1);
}

void TestPagePipeline::rebuild() {
    QFETCH(QString, text);
    QFETCH(QStringList, changes);
    QFETCH(QString, expected);
    const PreparedPage page = preparePage(text);
    PageChanges changed;
    for (const QString& c : changes) {
        const int id = elementId(page.map, c.section(u'|', 0, 0));
        QVERIFY2(id >= 0, qPrintable(c));
        changed.elements.insert(id, scriptHtml(page.map, c.section(u'|', 1, 1)));
        if (c.count(u'|') == 2)
            changed.texts.insert({2 * id, -1}, c.section(u'|', 2));
    }
    QCOMPARE(rebuildPage(text, page.map, changed), expected);
}

QTEST_GUILESS_MAIN(TestPagePipeline)
#include "tst_page_pipeline.moc"
