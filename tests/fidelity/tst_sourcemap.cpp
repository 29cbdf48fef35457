// The source map: server blocks taken out by position, element spans as the
// browser would build the elements, and a browser text that gives back the
// source exactly.

#include "FidelityTokens.h"
#include "PagePreparation.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace orvane::fidelity;

namespace {

// Every element as name=source text; implied ones as (name)=source text.
QStringList describe(const QString& text, const SourceTree& tree) {
    QStringList out;
    for (int k = 0; k < tree.elements.size(); ++k) {
        const SourceElement& el = tree.elements[k];
        const QString span = text.mid(el.begin, el.end - el.begin);
        out << (el.implied ? u'(' + tree.nameOf(k) + u')' : tree.nameOf(k)) + u'=' + span;
    }
    return out;
}

// How each server block is shown: M marker element, C comment, T token.
QString presentation(const PreparedPage& page) {
    QString out;
    for (int n = 0; n < page.map.serverBlocks.size(); ++n) {
        const QString token = page.map.standIns.server(n);
        const QString browserText = QString::fromUtf8(page.browserText);
        if (browserText.contains(QStringLiteral("data-orv-srv=\"%1\"").arg(n)))
            out += u'M';
        else if (browserText.contains(page.map.standIns.serverComment(n)))
            out += u'C';
        else if (browserText.contains(token))
            out += u'T';
        else
            out += u'?';
    }
    return out;
}

// The browser text with ids taken out and server blocks put back.
QString undoPreparation(const PreparedPage& page, const QString& source) {
    QString text = QString::fromUtf8(page.browserText);
    text.remove(QRegularExpression(QStringLiteral(" data-orv-i[dn]=\"\\d+\"")));
    for (int n = 0; n < page.map.serverBlocks.size(); ++n) {
        const Span& b = page.map.serverBlocks[n];
        const QString block = source.mid(b.begin, b.end - b.begin);
        text.replace(QRegularExpression(QStringLiteral("<span data-orv-srv=\"%1\"[^>]*></span>").arg(n)), block);
        text.replace(page.map.standIns.serverComment(n), block);
        text.replace(page.map.standIns.server(n), block);
    }
    return text;
}

}  // namespace

class TestSourceMap : public QObject {
    Q_OBJECT
private slots:
    void serverBlocks_data();
    void serverBlocks();
    void elementSpans_data();
    void elementSpans();
    void corpusPreparationIsReversible_data();
    void corpusPreparationIsReversible();
    void generatorEdits_data();
    void generatorEdits();
};

void TestSourceMap::serverBlocks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("directive before html") << "<%@ Language=VBScript %>\r\n<html><body>x</body></html>" << "C";
    QTest::newRow("in the head") << "<html><head><% Response.Buffer = True %><title>t</title></head></html>" << "C";
    QTest::newRow("between table rows")
        << "<table><tr><td>a</td></tr><% For i = 1 To 3 %><tr><td><%= i %></td></tr><% Next %></table>" << "CMC";
    QTest::newRow("in a paragraph") << "<p>Hello <%= name %>!</p>" << "M";
    QTest::newRow("in a start tag") << "<td <% If x Then %>class=on<% End If %>>a</td>" << "TT";
    QTest::newRow("in attribute values")
        << "<a href=\"<%= url %>\" title='<%= t %>' rel=<%= r %>>x</a>" << "TTT";
    QTest::newRow("quote inside a quoted value")
        << "<input value=\"<%= Request(\"q\") %>\"><p>after</p>" << "T";
    QTest::newRow("in client script")
        << "<script>var n = <%= count %>; var s = \"</script>\";</script>" << "T";
    QTest::newRow("closing script tag inside a block")
        << "<script>x = 1;<% w \"</script>\" %></script><p>y</p>" << "T";
    QTest::newRow("in a comment") << "<!-- built <%= Now() %> -->" << "T";
    QTest::newRow("comment end inside a block") << "<!-- <% s = \"-->\" %> still comment --><p>x</p>" << "T";
    QTest::newRow("many lines") << "<body><%\r\nDim a\r\na = 1\r\n%><p>x</p></body>" << "M";
    QTest::newRow("between options") << "<select><option>a<% If b Then %><option>b<% End If %></select>" << "CC";
    QTest::newRow("server comment") << "<p>a<%-- hidden %> still --%>b</p>" << "M";
    QTest::newRow("unclosed is text") << "<p>5 <% 6</p>" << "";
    QTest::newRow("unclosed server comment ends at the next close")
        << "<script>var open = \"<%--\";</script><p><%= user %></p>" << "T";
    QTest::newRow("unclosed server comment with no close runs to the end")
        << "<p>a<%-- the rest <p><%= b </p>" << "M";
    QTest::newRow("only server script") << "<%\r\nResponse.Redirect \"a.asp\"\r\n%>" << "C";
}

void TestSourceMap::serverBlocks() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    const PreparedPage page = preparePage(text);
    QCOMPARE(presentation(page), shown);
    for (const Span& b : page.map.serverBlocks)
        QVERIFY(!QString::fromUtf8(page.browserText).contains(text.mid(b.begin, b.end - b.begin)));
    QCOMPARE(undoPreparation(page, text), text);
}

void TestSourceMap::elementSpans_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("elements");

    QTest::newRow("implied html, head and body")
        << "<title>t</title><p>x"
        << QStringList{"(html)=<title>t</title><p>x", "(head)=<title>t</title>", "title=<title>t</title>",
                       "(body)=<p>x", "p=<p>x"};
    QTest::newRow("paragraphs closed by paragraphs")
        << "<body><p>one\n<P>two</P>\n<div>d</div></body>"
        << QStringList{"(html)=<body><p>one\n<P>two</P>\n<div>d</div></body>", "(head)=", "body=<body><p>one\n<P>two</P>\n<div>d</div></body>",
                       "p=<p>one\n", "p=<P>two</P>", "div=<div>d</div>"};
    QTest::newRow("list items and definitions")
        << "<ul><li>a<li>b</ul><dl><dt>t<dd>d</dl>"
        << QStringList{"(html)=<ul><li>a<li>b</ul><dl><dt>t<dd>d</dl>", "(head)=", "(body)=<ul><li>a<li>b</ul><dl><dt>t<dd>d</dl>",
                       "ul=<ul><li>a<li>b</ul>", "li=<li>a", "li=<li>b", "dl=<dl><dt>t<dd>d</dl>", "dt=<dt>t", "dd=<dd>d"};
    QTest::newRow("table cells without end tags")
        << "<TABLE BORDER=1><TR><TD ROWSPAN=2>a<TD>b<TR><TD>c</TABLE>"
        << QStringList{"(html)=<TABLE BORDER=1><TR><TD ROWSPAN=2>a<TD>b<TR><TD>c</TABLE>", "(head)=",
                       "(body)=<TABLE BORDER=1><TR><TD ROWSPAN=2>a<TD>b<TR><TD>c</TABLE>",
                       "table=<TABLE BORDER=1><TR><TD ROWSPAN=2>a<TD>b<TR><TD>c</TABLE>",
                       "tr=<TR><TD ROWSPAN=2>a<TD>b", "td=<TD ROWSPAN=2>a", "td=<TD>b", "tr=<TR><TD>c",
                       "td=<TD>c"};
    QTest::newRow("raw text and comments hide tags")
        << "<script>if (a</b) document.write('<p>')</script><!-- <div> --><textarea><b>x</textarea>"
        << QStringList{"(html)=<script>if (a</b) document.write('<p>')</script><!-- <div> --><textarea><b>x</textarea>",
                       "(head)=<script>if (a</b) document.write('<p>')</script><!-- <div> -->",
                       "script=<script>if (a</b) document.write('<p>')</script>",
                       "(body)=<textarea><b>x</textarea>", "textarea=<textarea><b>x</textarea>"};
    QTest::newRow("quoted greater-than and unquoted values")
        << "<body><a title=\"a>b\" href=x.htm>link</a><br/><img src=a.gif alt='>'></body>"
        << QStringList{"(html)=<body><a title=\"a>b\" href=x.htm>link</a><br/><img src=a.gif alt='>'></body>", "(head)=",
                       "body=<body><a title=\"a>b\" href=x.htm>link</a><br/><img src=a.gif alt='>'></body>",
                       "a=<a title=\"a>b\" href=x.htm>link</a>", "br=<br/>", "img=<img src=a.gif alt='>'>"};
    QTest::newRow("options and image map")
        << "<select><option>a<option selected>b</select><map name=m><area shape=rect coords=0,0,1,1></map>"
        << QStringList{"(html)=<select><option>a<option selected>b</select><map name=m><area shape=rect coords=0,0,1,1></map>", "(head)=",
                       "(body)=<select><option>a<option selected>b</select><map name=m><area shape=rect coords=0,0,1,1></map>",
                       "select=<select><option>a<option selected>b</select>", "option=<option>a",
                       "option=<option selected>b", "map=<map name=m><area shape=rect coords=0,0,1,1></map>",
                       "area=<area shape=rect coords=0,0,1,1>"};
    QTest::newRow("a script in a select ends at its end tag")
        << "<select><script>a</script><option>b</select>"
        << QStringList{"(html)=<select><script>a</script><option>b</select>", "(head)=",
                       "(body)=<select><script>a</script><option>b</select>",
                       "select=<select><script>a</script><option>b</select>", "script=<script>a</script>",
                       "option=<option>b"};
    QTest::newRow("stray cell tags outside a table make no element")
        << "<body><td>x</td><p>y</body>"
        << QStringList{"(html)=<body><td>x</td><p>y</body>", "(head)=", "body=<body><td>x</td><p>y</body>", "p=<p>y"};
    QTest::newRow("a form inside a table holds none of its rows")
        << "<table><form action=a.asp><tr><td><input name=q></td></tr></form></table>"
        << QStringList{"(html)=<table><form action=a.asp><tr><td><input name=q></td></tr></form></table>", "(head)=",
                       "(body)=<table><form action=a.asp><tr><td><input name=q></td></tr></form></table>",
                       "table=<table><form action=a.asp><tr><td><input name=q></td></tr></form></table>",
                       "form=<form action=a.asp>", "tr=<tr><td><input name=q></td></tr>",
                       "td=<td><input name=q></td>", "input=<input name=q>"};
    QTest::newRow("quirks page: a table stays in its paragraph")
        << "<p>a<table><tr><td>b</table>c</p>"
        << QStringList{"(html)=<p>a<table><tr><td>b</table>c</p>", "(head)=", "(body)=<p>a<table><tr><td>b</table>c</p>",
                       "p=<p>a<table><tr><td>b</table>c</p>", "table=<table><tr><td>b</table>", "tr=<tr><td>b",
                       "td=<td>b"};
    QTest::newRow("standards page: a table closes the paragraph")
        << "<!DOCTYPE html><p>a<table><tr><td>b</table>c</p>"
        << QStringList{"(html)=<p>a<table><tr><td>b</table>c</p>", "(head)=", "(body)=<p>a<table><tr><td>b</table>c</p>",
                       "p=<p>a", "table=<table><tr><td>b</table>", "tr=<tr><td>b", "td=<td>b"};
    QTest::newRow("script between head and body keeps its text")
        << "<head></head>\n<script src=\"a.js\">var a = 1;</script>\n<body><p>Hi</p></body>"
        << QStringList{"(html)=<head></head>\n<script src=\"a.js\">var a = 1;</script>\n<body><p>Hi</p></body>",
                       "head=<head></head>", "script=<script src=\"a.js\">var a = 1;</script>",
                       "body=<body><p>Hi</p></body>", "p=<p>Hi</p>"};
    QTest::newRow("title after the head end")
        << "</head><title>-"
        << QStringList{"(html)=</head><title>-", "(head)=</head>", "title=<title>-", "(body)="};
    QTest::newRow("a slash does not close a script")
        << "<p>a<script/><p>b</script><p>c"
        << QStringList{"(html)=<p>a<script/><p>b</script><p>c", "(head)=", "(body)=<p>a<script/><p>b</script><p>c",
                       "p=<p>a<script/><p>b</script>", "script=<script/><p>b</script>", "p=<p>c"};
    QTest::newRow("xhtml self-closing tags")
        << "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta charset=\"utf-8\" /></head><body><br /><hr/></body></html>"
        << QStringList{"html=<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta charset=\"utf-8\" /></head><body><br /><hr/></body></html>",
                       "head=<head><meta charset=\"utf-8\" /></head>", "meta=<meta charset=\"utf-8\" />",
                       "body=<body><br /><hr/></body>", "br=<br />", "hr=<hr/>"};
}

void TestSourceMap::elementSpans() {
    QFETCH(QString, text);
    QFETCH(QStringList, elements);
    const PreparedPage page = preparePage(text);
    QCOMPARE(describe(text, page.map.tree), elements);
}

void TestSourceMap::corpusPreparationIsReversible_data() {
    QTest::addColumn<QString>("path");
    const QDir dir(qEnvironmentVariable("ORVANE_TEST_DATA") + QStringLiteral("/pages"));
    const QStringList files = dir.entryList({"*.htm", "*.html", "*.asp"}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& f : files)
        QTest::newRow(f.toUtf8().constData()) << dir.filePath(f);
}

// Taking the ids out of the browser text and putting the server blocks
// back gives the page itself: preparation adds nothing and loses nothing.
void TestSourceMap::corpusPreparationIsReversible() {
    QFETCH(QString, path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(f.readAll());
    const PreparedPage page = preparePage(text);
    QCOMPARE(undoPreparation(page, text), text);
    for (int k = 0; k < page.map.tree.elements.size(); ++k) {
        const SourceElement& el = page.map.tree.elements[k];
        QVERIFY(el.begin <= el.end);
        if (el.parent >= 0) {
            const SourceElement& p = page.map.tree.elements[el.parent];
            QVERIFY2(el.begin >= p.begin && el.end <= p.end, qPrintable(page.map.tree.nameOf(k)));
        }
    }
}

void TestSourceMap::generatorEdits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("edited");
    QTest::newRow("double-quoted content")
        << "<META NAME=\"GENERATOR\" Content=\"Kestrova Editor v.1.0\">"
        << QStringList{"<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">"};
    QTest::newRow("unquoted content and name")
        << "<meta name=Generator content=Notepad>"
        << QStringList{"<meta name=Generator content=\"Microsoft DHTML Editing Control\">"};
    QTest::newRow("no content attribute")
        << "<meta name='generator' />"
        << QStringList{"<meta name='generator' Content=\"Microsoft DHTML Editing Control\" />"};
    QTest::newRow("two of them, other metas untouched")
        << "<meta name=author content=me><meta name=generator content=a><meta name=GENERATOR content='b'>"
        << QStringList{"<meta name=generator content=\"Microsoft DHTML Editing Control\">",
                       "<meta name=GENERATOR content='Microsoft DHTML Editing Control'>"};
    QTest::newRow("one holding server code stays, the surface's meta goes beside it")
        << "<meta name=\"generator\" content=\"<%= app %>\">"
        << QStringList{"<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">\r\n"
                       "<meta name=\"generator\" content=\"<%= app %>\">"};
    QTest::newRow("one holding a server comment open to the end of the page")
        << "<meta name=generator content=\"<%-- x\"><p>y"
        << QStringList{"<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">\r\n"
                       "<meta name=generator content=\"<%-- x\"><p>y"};
    QTest::newRow("a plain one is edited, one holding server code stays")
        << "<meta name=generator content=\"<%= v %>\"><meta name=generator content=a>"
        << QStringList{"<meta name=generator content=\"Microsoft DHTML Editing Control\">"};
}

void TestSourceMap::generatorEdits() {
    QFETCH(QString, text);
    QFETCH(QStringList, edited);
    const PreparedPage page = preparePage(text);
    QStringList got;
    for (const GeneratorEdit& g : page.map.generators) {
        const Span s = page.map.tree.elements[g.element].span();
        QString tag = text.mid(s.begin, s.end - s.begin);
        tag.replace(g.replace.begin - s.begin, g.replace.end - g.replace.begin, g.replacement);
        got << tag;
    }
    QCOMPARE(got, edited);
}

QTEST_GUILESS_MAIN(TestSourceMap)
#include "tst_sourcemap.moc"
