// Pages through the real design surface: read back and saved unedited they
// are byte for byte the file; after one edit only the edited element's text
// differs, every server block is intact, and undo gives the file back.

#include "GeneratedPage.h"
#include "PageCodec.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "PagePreparation.h"

#include <QRegularExpression>

using namespace orvane;
using namespace orvane::test;

namespace {

// Selects the first word of four letters or more in the body's editable text
// where bold is not on already; answers the word and the id of the element holding it.
const char* selectWord = R"JS(
  const skip = new Set(['SCRIPT', 'STYLE', 'TEXTAREA', 'SELECT', 'OPTION', 'TITLE', 'B', 'STRONG',
                        'TH', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6']);
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let n = walker.nextNode(); n; n = walker.nextNode()) {
    let usable = true;
    for (let p = n.parentNode; p && p !== document.body; p = p.parentNode)
      usable = usable && !skip.has(p.nodeName) && p.getAttribute('contenteditable') !== 'false';
    const m = usable && /[A-Za-z]{4,}/.exec(n.data);
    if (!m) continue;
    getSelection().setBaseAndExtent(n, m.index, n, m.index + m[0].length);
    const e = n.parentNode.closest('[data-orv-id]');
    return {word: m[0], id: e ? Number(e.getAttribute('data-orv-id')) : -1};
  }
  return {word: '', id: -1};)JS";

const QString generator = QStringLiteral("<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">");

QStringList serverBlocks(const QString& text) {
    static const QRegularExpression block(QStringLiteral("<%.*?%>"), QRegularExpression::DotMatchesEverythingOption);
    QStringList out;
    for (const QRegularExpressionMatch& m : block.globalMatch(text))
        out << m.captured();
    return out;
}

}  // namespace

class tst_FidelitySurface : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pageKeepsItsText_data();
    void pageKeepsItsText();
    void editsWhereTheBrowserMovedContent_data();
    void editsWhereTheBrowserMovedContent();
    void boldRewritesOnlyTheWord_data();
    void boldRewritesOnlyTheWord();

private:
    void bold(const QString& word) {
        selectText(*edit, word);
        edit->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
    }
    std::unique_ptr<Surface> edit;
    std::unique_ptr<TempSite> site;
};

void tst_FidelitySurface::initTestCase() {
    edit = std::make_unique<Surface>(Surface::Mode::Edit);
    showAndSettle(*edit);
    edit->setCallTimeout(30000);  // the 2 MB page takes a while on a busy machine
    site = std::make_unique<TempSite>();
}

void tst_FidelitySurface::pageKeepsItsText_data() {
    QTest::addColumn<QString>("path");
    const QDir dir(qEnvironmentVariable("ORVANE_TEST_DATA") + QStringLiteral("/pages"));
    for (const QString& f : dir.entryList({"*.htm", "*.asp"}, QDir::Files, QDir::Name))
        QTest::newRow(f.toUtf8().constData()) << dir.filePath(f);
    QTest::newRow("generated-2mb.asp") << QString();  // written by the test itself
}

void tst_FidelitySurface::pageKeepsItsText() {
    QFETCH(QString, path);
    if (path.isEmpty())
        path = site->write("generated-2mb.asp", generatedPage(2 * 1024 * 1024).toUtf8());
    const QByteArray bytes = TempSite::read(path);
    const QString text = decodePage(bytes).text;
    try {
        edit->LoadDocument(path);
    } catch (const SurfaceError& e) {
        // A page of server script only is refused by a load; its text still
        // goes through the surface as document HTML.
        QCOMPARE(e.number(), SurfaceErrorNumber::ServerScriptOnly);
        edit->setDocumentHTML(text);
        QCOMPARE(edit->DocumentHTML(), text);
        return;
    }
    for (int i = 0; i < 3; ++i)
        QCOMPARE(edit->DocumentHTML(), text);
    const QString unedited = site->path(QStringLiteral("unedited-") + QFileInfo(path).fileName());
    edit->SaveDocument(unedited);
    QCOMPARE(TempSite::read(unedited), bytes);

    const QVariantMap picked = pageScript(*edit, selectWord).toMap();
    const QString word = picked.value("word").toString();
    QVERIFY2(!word.isEmpty(), "no word to make bold");
    settlePageState(*edit);
    edit->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
    const QString after = edit->DocumentHTML();
    QVERIFY2(after.contains(QStringLiteral("<B>") + word), qPrintable(word));  // (bold may take the space after it)
    QCOMPARE(serverBlocks(after), serverBlocks(text));
    // One generator meta, naming the surface.
    static const QRegularExpression meta(QStringLiteral("<meta\\b[^>]*\\bname=[\"']?generator\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    QCOMPARE(after.count(meta), 1);
    QCOMPARE(after.count(QStringLiteral("Microsoft DHTML Editing Control")), 1);
    // Everything after the edited element is as written.
    const fidelity::PreparedPage prepared = fidelity::preparePage(text);
    const int id = picked.value("id").toInt();
    QVERIFY(id >= 0 && id < prepared.map.tree.elements.size());
    QVERIFY(after.endsWith(text.mid(prepared.map.tree.elements[id].span().end)));

    edit->ExecCommand(DECMD_UNDO, OLECMDEXECOPT_DONTPROMPTUSER);
    QCOMPARE(edit->DocumentHTML(), text);
}

void tst_FidelitySurface::editsWhereTheBrowserMovedContent_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("script");    // an edit made straight on the document
    QTest::addColumn<QStringList>("once");  // texts the result holds exactly once
    QTest::addColumn<QStringList>("kept");  // source texts that stay as written

    QTest::newRow("row added to a table keeps its rows as written")
        << "<table>\n<tr><td>a &amp; b</td></tr>\n</table>"
        << "document.querySelector('table').insertRow(-1).insertCell(0).textContent = 'new';"
        << QStringList{"<TD>new</TD>", "a &amp; b"} << QStringList{"<tr><td>a &amp; b</td></tr>"};
    QTest::newRow("cell edited beside text moved out of the table")
        << "<table><tr><td>a</td></tr>stray<tr><td>b</td></tr></table>"
        << "document.querySelector('td').textContent = 'changed';"
        << QStringList{"stray", "changed", ">b<"} << QStringList{"<tr><td>b</td></tr>"};
    QTest::newRow("text after mis-nested bold")
        << "<div><b>1<p>2</b>3</p></div><p>&COPY; other</p>" << "document.querySelectorAll('p')[0].lastChild.data = 'X';"
        << QStringList{"1", "2", "X"} << QStringList{"<p>&COPY; other</p>"};
    QTest::newRow("pasted copy of a paragraph holds its own text")
        << "<p>one &COPY; two</p><p>three</p>"
        << "const c = document.querySelector('p').cloneNode(false); c.textContent = 'copy'; document.body.appendChild(c);"
        << QStringList{"one &COPY; two", "<P>copy</P>", "three"} << QStringList{"<p>one &COPY; two</p><p>three</p>"};
    QTest::newRow("deleted server marker")
        << "<p>Hi <%= name %> there</p><p><%= other %></p>" << "document.querySelector('[data-orv-srv]').remove();"
        << QStringList{"<%= other %>", "there"} << QStringList{"<p><%= other %></p>"};
    QTest::newRow("generator meta holding server code")
        << "<html><head><meta name=\"generator\" content=\"<%= app %>\"></head><body><p>Hi</p></body></html>"
        << "document.querySelector('p').textContent = 'Hello';"
        << QStringList{"<meta name=\"generator\" content=\"<%= app %>\">", generator, "Hello"} << QStringList{};
    QTest::newRow("comment holding one server block")
        << "<p>Total: 4 <!--<%= debug %>--></p><p>other</p>" << "document.querySelector('p').firstChild.data = 'Total: 5 ';"
        << QStringList{"Total: 5 <!--<%= debug %>-->"} << QStringList{"<p>other</p>"};
    QTest::newRow("text with the stand-ins' code points")
        << QString::fromUtf8("<p>price \uFDD20\uFDD3 list</p>") << "document.querySelector('p').firstChild.data += '!';"
        << QStringList{QString::fromUtf8("price \uFDD20\uFDD3 list!")} << QStringList{};
    QTest::newRow("generator meta moved out of a table")
        << "<table><meta name=generator content=x><tr><td>a</td></tr></table>"
        << "document.body.appendChild(document.createElement('p')).textContent = 'new';"
        << QStringList{"Microsoft DHTML Editing Control", ">new<", ">a<"} << QStringList{};
    // The head is written from the document here; the surface's own base and
    // stand-in style rule (background #ffe08a) stay out of it.
    QTest::newRow("head rewritten around the surface's own elements")
        << "<html><head><title>t</title></head><body><p style=\"background:#ffe08a\">x</p></body></html>"
        << "document.querySelector('title').remove();"
        << QStringList{"#ffe08a", "<head>"} << QStringList{};
}

void tst_FidelitySurface::editsWhereTheBrowserMovedContent() {
    QFETCH(QString, page);
    QFETCH(QString, script);
    QFETCH(QStringList, once);
    QFETCH(QStringList, kept);
    edit->setDocumentHTML(page);
    QCOMPARE(edit->DocumentHTML(), page);
    pageScript(*edit, script);
    const QString after = edit->DocumentHTML();
    QVERIFY2(after != page, qPrintable(after));
    for (const QString& t : once)
        QVERIFY2(after.count(t) == 1, qPrintable(t + QStringLiteral(" in ") + after));
    for (const QString& t : kept)
        QVERIFY2(after.contains(t), qPrintable(t + QStringLiteral(" in ") + after));
}

void tst_FidelitySurface::boldRewritesOnlyTheWord_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("first");   // made bold, then the page saved and opened again
    QTest::addColumn<QString>("second");  // made bold next
    QTest::newRow("word in a link") << "<p>See <a href=\"next.html\" class=nav>the following page</a> for more.</p>"
                                    << "following" << "more";
    QTest::newRow("word in nested font and italics")
        << "<p><font face=\"Arial\" size=2><i>An italic word here</i></font> after</p>" << "italic" << "after";
    QTest::newRow("word in a cell without its end tag")
        << "<table border=1>\n<tr><td>first cell\n<td>second cell &amp; more\n</table>" << "second" << "first";
    QTest::newRow("word in a list without end tags") << "<ul>\n<li>alpha item\n<li>beta item &raquo;\n</ul>" << "beta"
                                                     << "alpha";
    QTest::newRow("words among named and numeric entities")
        << "<p>&copy; 2024 &mdash; &#8220;quoted&#8221; words&nbsp;here &#60;tag&#62; &AMP; &eacute;t&eacute;</p>"
        << "words" << "quoted";
    QTest::newRow("tags broken across lines")
        << "<P\nCLASS=\"ADDRESS\"\n><SPAN\nCLASS=\"firstname\"\n>Jane</SPAN\n> <SPAN\nCLASS=\"surname\"\n>Roe</SPAN\n>"
           " wrote this</P\n>"
        << "wrote" << "Jane";
    QTest::newRow("server blocks in attributes")
        << "<ul><li><a href=\"<%= Request(\"next\") %>\">Next page</a><li><a href='<%= prev %>' title=\"<%= t %>\">"
           "Previous one</a></ul>"
        << "Next" << "Previous";
    QTest::newRow("text straight in the body") << "<p>Intro</p>Skip to content" << "Skip" << "Intro";
    QTest::newRow("text after a comment straight in the body") << "<p>Intro</p><!-- note -->Skip to content" << "Skip"
                                                               << "Intro";
    QTest::newRow("bold taken off an author's own <b>") << "<p>a <b>heavy</b> word</p>" << "heavy" << "";
}

// Bold one word: only <B>..</B> around it and the generator meta are new;
// saved, opened again and another word bold: nothing else grows; undo gives
// the page back. Bold on an author's <b> takes it off, leaving no span.
void tst_FidelitySurface::boldRewritesOnlyTheWord() {
    QFETCH(QString, body);
    QFETCH(QString, first);
    QFETCH(QString, second);
    const QString page = "<html><head><title>t</title></head>\n<body>\n" + body + "\n</body>\n</html>\n";
    auto bolded = [](QString text, const QString& word) {
        const QRegularExpression re(QStringLiteral("\\b%1\\b(?![^<]*>)").arg(word));
        const QRegularExpressionMatch m = re.match(text, text.indexOf(u"<body>"));
        return text.replace(m.capturedStart(), word.size(), "<B>" + word + "</B>");
    };
    const QString withMeta = QString(page).replace("<head>", "<head>\n" + generator);
    const QString once = second.isEmpty() ? QString(withMeta).replace("<b>heavy</b>", "heavy") : bolded(withMeta, first);
    const QString path = site->write(QStringLiteral("bold.asp"), page.toUtf8());
    edit->LoadDocument(path);
    bold(first);
    QCOMPARE(edit->DocumentHTML(), once);
    if (second.isEmpty())
        return;
    const QString twice = bolded(once, second);
    bold(second);
    QCOMPARE(edit->DocumentHTML(), twice);
    edit->ExecCommand(DECMD_UNDO, OLECMDEXECOPT_DONTPROMPTUSER);
    edit->ExecCommand(DECMD_UNDO, OLECMDEXECOPT_DONTPROMPTUSER);
    QCOMPARE(edit->DocumentHTML(), page);

    bold(first);
    edit->SaveDocument(path);
    edit->LoadDocument(path);
    bold(second);
    edit->SaveDocument(path);
    QCOMPARE(QString::fromUtf8(TempSite::read(path)), twice);
}

ORVANE_TEST_MAIN(tst_FidelitySurface)
#include "tst_fidelity_surface.moc"
