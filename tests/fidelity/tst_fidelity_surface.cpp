// Pages through the real design surface: read back and saved unedited they
// are byte for byte the file; after an edit only the edited text differs, and
// undo gives the file back.

#include "GeneratedPage.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <QClipboard>
#include <QMimeData>
#include <QRegularExpression>
#include <QTimer>

using namespace orvane;
using namespace orvane::test;

namespace {

const QString generator = QStringLiteral("<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">");

}  // namespace

class tst_FidelitySurface : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void newSurfaceAnswersAtOnce();
    void serverScriptOnlyPageIsKept();
    void editsWhereTheBrowserMovedContent_data();
    void editsWhereTheBrowserMovedContent();
    void boldRewritesOnlyTheWord_data();
    void boldRewritesOnlyTheWord();
    void sourceBesideTheEditIsKept_data();
    void sourceBesideTheEditIsKept();
    void copiesCarryNoIds();
    void changeBeforeThePageIsRead();

private:
    void bold(const QString& word) {
        selectText(*edit, word);
        edit->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
    }
    static QString inPage(const QString& body, const QString& head = {}) {
        return "<html><head>" + head + "<title>t</title></head>\n<body>\n" + body + "\n</body>\n</html>\n";
    }
    std::unique_ptr<Surface> edit;
    std::unique_ptr<TempSite> site;
};

void tst_FidelitySurface::initTestCase() {
    edit = std::make_unique<Surface>(Surface::Mode::Edit);
    showAndSettle(*edit);
    edit->setCallTimeout(30000);  // the 1 MB page takes a while on a busy machine
    site = std::make_unique<TempSite>();
}

// Asked straight after it is made, shown or not, or before scripts that come
// late are there, a surface waits for its page's scripts.
void tst_FidelitySurface::newSurfaceAnswersAtOnce() {
    for (bool shown : {false, true}) {
        Surface fresh(Surface::Mode::Edit);
        fresh.setVisible(shown);
        QVERIFY(fresh.DocumentHTML().contains("<BODY>\r\n<P>&nbsp;</P>"));
    }
    edit->setDocumentHTML("<p>late</p>");
    selectText(*edit, "late");  // the load's selection and its push are over
    pageScript(*edit, "window.hiddenOrv = window.orv; delete window.orv;");
    QTimer::singleShot(300, edit.get(), [this] { pageScript(*edit, "window.orv = window.hiddenOrv;"); });
    QCOMPARE(edit->DocumentHTML(), "<p>late</p>");
}

// Such a page is not edited: the surface holds it and gives it back as it is.
void tst_FidelitySurface::serverScriptOnlyPageIsKept() {
    const QString script = "<%@ Language=VBScript %>\r\n<%\r\nIf a Then\r\n  Response.Redirect \"fr.asp\"\r\nEnd If\r\n%>\r\n";
    edit->setDocumentHTML(script);
    QCOMPARE(edit->DocumentHTML(), script);
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
    QTest::newRow("generator meta holding server code")
        << "<html><head><meta name=\"generator\" content=\"<%= app %>\"></head><body><p>Hi</p></body></html>"
        << "document.querySelector('p').textContent = 'Hello';"
        << QStringList{"<meta name=\"generator\" content=\"<%= app %>\">", generator, "Hello"} << QStringList{};
    QTest::newRow("text typed between two server blocks")
        << "<p>a &amp; <%= x %><%= y %> b &copy;</p>" << "document.querySelector('[data-orv-srv]').after('new & more');"
        << QStringList{"<%= x %>", "<%= y %>"} << QStringList{"<p>a &amp; <%= x %>new &amp; more<%= y %> b &copy;</p>"};
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
    QTest::newRow("text beside self-closing tags without attributes")
        << "<p>a<br/>b</p><math><mi>x</mi><mspace/><mi>y</mi></math><svg><g/><text>t</text></svg>"
        << "document.querySelectorAll('mi')[1].firstChild.data = 'z'; document.querySelector('text').textContent = 'u';"
        << QStringList{"<mi>z</mi>", "<text>u</text>"} << QStringList{"<p>a<br/>b</p><math><mi>x</mi><mspace/>", "<svg><g/>"};
    // The head is written from the document here; the surface's own base and
    // stand-in style rule (display:inline-block) stay out of it.
    QTest::newRow("head rewritten around the surface's own elements")
        << "<html><head><title>t</title></head><body><p style=\"display:inline-block\">x</p></body></html>"
        << "document.querySelector('title').remove();"
        << QStringList{"inline-block", "<head>"} << QStringList{};
}

void tst_FidelitySurface::editsWhereTheBrowserMovedContent() {
    QFETCH(QString, page);
    QFETCH(QString, script);
    QFETCH(QStringList, once);
    QFETCH(QStringList, kept);
    edit->setDocumentHTML(page);
    QCOMPARE(edit->DocumentHTML(), page);
    // What a user's first key does before any change: the page is read.
    pageScript(*edit, "window.dispatchEvent(new Event('keydown')); " + script);
    const QString after = edit->DocumentHTML();
    QVERIFY2(after != page, qPrintable(after));
    for (const QString& t : once)
        QVERIFY2(after.count(t) == 1, qPrintable(t + QStringLiteral(" in ") + after));
    for (const QString& t : kept)
        QVERIFY2(after.contains(t), qPrintable(t + QStringLiteral(" in ") + after));
}

void tst_FidelitySurface::boldRewritesOnlyTheWord_data() {
    QTest::addColumn<QString>("page");    // a body alone is put in a plain page
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
    QTest::newRow("asp page: server blocks in the head, the body tag and around paragraphs")
        << "<%@ LANGUAGE=\"VBSCRIPT\" CODEPAGE=\"65001\" %>\r\n<HTML><HEAD>\r\n"
           "<META NAME=\"GENERATOR\" Content=\"Kestrova Editor v.1.0\">\r\n<TITLE><%= PageTitle %></TITLE>\r\n"
           "<% Call WriteMetaTags() %>\r\n</HEAD>\r\n<BODY BGCOLOR=\"<%= Bg %>\">\r\n<% If Session(\"admin\") Then %>"
           "<P CLASS=admin>Admin tools &amp; more are <B>on</B>.</P><% End If %>\r\n<SCRIPT LANGUAGE=\"VBScript\" RUNAT=\"Server\">"
           "\r\nSub Log(msg)\r\nEnd Sub\r\n</SCRIPT>\r\n<P>Footer <%= Year(Now()) %></P>\r\n</BODY>\r\n</HTML>\r\n"
        << "tools" << "Footer";
    QTest::newRow("entity beside a server block") << "<p>Footer &copy; <%= y %> and more &raquo;</p>" << "Footer"
                                                  << "more";
    QTest::newRow("texts between server blocks, at the start and end of a paragraph")
        << "<p><%= a %>start &copy;<%= b %>&raquo; middle &amp; <%= c %>end&#169;<%= d %></p>" << "middle" << "start";
    QTest::newRow("xhtml page")
        << QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 "
                             "Strict//EN\" \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n<html xmlns=\"http://"
                             "www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n  <meta http-equiv=\"Content-Type\" content="
                             "\"text/html; charset=UTF-8\" />\n  <script type=\"text/javascript\">\n  //<![CDATA[\n  "
                             "if (1 < 2 && 3 > 2) alert(\"<hello>\");\n  //]]>\n  </script>\n</head>\n<body>\n  <div "
                             "id=\"main\">\n    <p>Café <em>résumé</em>.<br />Second line.</p>\n    <hr />\n    <ol>\n"
                             "      <li>first</li>\n    </ol>\n  </div>\n</body>\n</html>\n")
        << "Second" << "first";
    QTest::newRow("generated 1 MB page") << generatedPage(1024 * 1024) << "Opening" << "friends";
}

// Read back and saved unedited, the page is the file. Bold one word: only
// <B>..</B> around it and the generator meta are new; saved, opened again and
// another word bold: nothing else grows; undo gives the page back. Bold on an
// author's <b> takes it off, leaving no span.
void tst_FidelitySurface::boldRewritesOnlyTheWord() {
    QFETCH(QString, page);
    QFETCH(QString, first);
    QFETCH(QString, second);
    if (!page.contains("</html>", Qt::CaseInsensitive))
        page = "<html><head><title>t</title></head>\n<body>\n" + page + "\n</body>\n</html>\n";
    auto bolded = [](QString text, const QString& word) {
        const QRegularExpression re(QStringLiteral("\\b%1\\b(?![^<]*>)").arg(word));
        const QRegularExpressionMatch m = re.match(text, text.indexOf(u"<body", 0, Qt::CaseInsensitive));
        return text.replace(m.capturedStart(), word.size(), "<B>" + word + "</B>");
    };
    const QString withMeta = page.contains("Kestrova Editor v.1.0")
                                 ? QString(page).replace("Kestrova Editor v.1.0", "Microsoft DHTML Editing Control")
                                 : QString(page).replace("<head>", "<head>\n" + generator);
    const QString once = second.isEmpty() ? QString(withMeta).replace("<b>heavy</b>", "heavy") : bolded(withMeta, first);
    const QString path = site->write(QStringLiteral("bold.asp"), page.toUtf8());
    edit->LoadDocument(path);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(edit->DocumentHTML(), page);
    edit->SaveDocument(site->path("unedited.asp"));
    QCOMPARE(TempSite::read(site->path("unedited.asp")), page.toUtf8());
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

// An edit next to comments, stray tags, NULs and server blocks, or of a
// block, keeps every byte of the page that it did not touch. A block copied
// within the page is pasted with its copy; a stand-in pasted from elsewhere
// (another page, an older load) is no block of this page.
void tst_FidelitySurface::sourceBesideTheEditIsKept_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("script");     // an edit made straight on the document
    QTest::addColumn<QString>("clipboard");  // when set, pasted with Ctrl+V after the script
    QTest::addColumn<QString>("saved");
    const QString append = "document.querySelector('p').lastChild.data += '!';";
    const QString dropBlock = "document.querySelector('[data-orv-srv]').remove();";
    const QString inFirst = "getSelection().selectAllChildren(document.querySelector('p'));";
    const QString standIn = "<span data-orv-srv=\"%1\" contenteditable=\"false\"></span>";
    QTest::newRow("stray end tag between server blocks")
        << "<p>one <%= a %></font><%= b %> two</p>" << append << "" << "<p>one <%= a %></font><%= b %> two!</p>";
    QTest::newRow("NULs around server blocks") << QString("<p>%1<%= a %>%1<%= b %> x &amp; y%1</p>").arg(QChar(0))
        << append << "" << QString("<p>%1<%= a %>%1<%= b %> x &amp; y%1!</p>").arg(QChar(0));
    QTest::newRow("page and bogus comments among entities")
        << "<p>&copy; 2024 <!-- note --> &mdash; <?php echo 1 ?> more </> &raquo;</p>" << append << ""
        << "<p>&copy; 2024 <!-- note --> &mdash; <?php echo 1 ?> more </> &raquo;!</p>";
    QTest::newRow("page comment changed among entities")
        << "<p>&copy; 2024 <!-- note --> &mdash; more</p>" << "document.querySelector('p').childNodes[1].data = ' new ';"
        << "" << "<p>&copy; 2024 <!-- new --> &mdash; more</p>";
    QTest::newRow("page comment deleted among entities")
        << "<p>&copy; 2024 <!-- note --> &mdash; <!-- kept --> more</p>" << "document.querySelector('p').childNodes[1].remove();"
        << "" << "<p>&copy; 2024  &mdash; <!-- kept --> more</p>";
    QTest::newRow("server block deleted between entities")
        << "<p>Hi &amp; <%= name %> there &copy; now</p>" << dropBlock << "" << "<p>Hi &amp;  there &copy; now</p>";
    QTest::newRow("server block deleted before a stray end tag")
        << "<p>x &lt; <%= a %></font><%= b %> y &gt;</p>" << dropBlock << "" << "<p>x &lt; </font><%= b %> y &gt;</p>";
    QTest::newRow("text the browser replaced after a kept block") << "<p>Hi &amp; <%= a %> there &copy; now</p>"
        << "const t = document.querySelector('p').lastChild; t.replaceWith('\\u00a0' + t.data.slice(1));" << ""
        << "<p>Hi &amp; <%= a %>&nbsp;there &copy; now</p>";
    QTest::newRow("text deleted before a stray end tag") << "<p><%= a %>gone</font><%= b %> kept &amp;</p>"
        << "document.querySelector('[data-orv-srv]').nextSibling.remove();" << "" << "<p><%= a %></font><%= b %> kept &amp;</p>";
    QTest::newRow("server block copied within the page") << "<p>target</p>\n<p>a &amp; <%= a %> b</p>"
        << "const p = document.querySelectorAll('p'); getSelection().selectAllChildren(p[1]);"
           "const h = orv.cmd.exec('copy').value.html;" + inFirst + "orv.cmd.exec('paste', h);"
        << "" << "<p>a &amp; <%= a %> b</p>\n<p>a &amp; <%= a %> b</p>";
    QTest::newRow("other loads' stand-ins pasted") << "<p>target</p>\n<p><%= a %></p>"
        << inFirst + QString("orv.cmd.exec('paste', '<i orv=\"1\">x</i>%1y%2');").arg(standIn.arg(0), standIn.arg("abcdefghijkl0"))
        << "" << "<p><I>x</I>y</p>\n<p><%= a %></p>";
    QTest::newRow("another load's stand-in pasted by keys") << "<p>target</p>\n<p><%= a %></p>" << inFirst
        << "x" + standIn.arg(0) << "<p>x</p>\n<p><%= a %></p>";
}

void tst_FidelitySurface::sourceBesideTheEditIsKept() {
    QFETCH(QString, body);
    QFETCH(QString, script);
    QFETCH(QString, clipboard);
    QFETCH(QString, saved);
    edit->setDocumentHTML(inPage(body));
    QCOMPARE(edit->DocumentHTML(), inPage(body));
    pageScript(*edit, "window.dispatchEvent(new Event('keydown')); " + script);
    if (!clipboard.isEmpty()) {
        auto* mime = new QMimeData;
        mime->setHtml(clipboard);
        QGuiApplication::clipboard()->setMimeData(mime);
        QTest::keyClick(edit->view()->focusProxy(), Qt::Key_V, Qt::ControlModifier);
    }
    QTRY_COMPARE(edit->DocumentHTML(), inPage(saved, "\n" + generator));
}

// Copies by keys and drags carry no element ids; a server block goes as an empty
// span with its mark of this load, which a paste back makes its box again.
void tst_FidelitySurface::copiesCarryNoIds() {
    const QString copied = "<p>a <b>bold &amp;</b> <%= a %> <i>it</i></p>\n<p>two <%= b %> end</p>";
    edit->setDocumentHTML(inPage("<p>target</p>\n" + copied));
    selectAcross(*edit, "p:nth-of-type(2)", "p:nth-of-type(3)");
    const QString dragged = pageScript(*edit, "const d = new DataTransfer(); d.setData('text/html', document.body.innerHTML);"
                                              "document.body.dispatchEvent(new DragEvent('dragstart', {dataTransfer: d})); return d.getData('text/html');").toString();
    QTest::keyClick(edit->view()->focusProxy(), Qt::Key_C, Qt::ControlModifier);
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), QString("a bold &  it\n\ntwo  end"));
    for (const QString& html : {dragged, QGuiApplication::clipboard()->mimeData()->html()})
        QVERIFY2(html.contains(QRegularExpression("<p>a <b>bold &amp;</b> <span data-orv-srv=\"[a-z]{12}0\"></span> <i>it</i></p>"
                                                  "\\s*<p>two <span data-orv-srv=\"[a-z]{12}1\"></span> end</p>"))
                     && !html.contains(QRegularExpression("\\borv=|contenteditable")), qPrintable(html));
    caretAfterText(*edit, "target");
    QTest::keyClick(edit->view()->focusProxy(), Qt::Key_V, Qt::ControlModifier);
    QTRY_COMPARE(edit->DocumentHTML(), inPage("<p>targeta <B>bold &amp;</B> <%= a %> <I>it</I></p>\n<P>two <%= b %> end</P>\n" + copied, "\n" + generator));
    QCOMPARE(pageScript(*edit, "return document.querySelectorAll('[data-orv-srv]:not([contenteditable=false])').length;").toInt(), 0);
}

// The page reads its elements' ids while it is idle after the load. A change
// that comes before that is done, with no key first, still leaves the source
// around it as written.
void tst_FidelitySurface::changeBeforeThePageIsRead() {
    QString rows;
    for (int i = 0; i < 8000; ++i)
        rows += QStringLiteral("<div><b>r%1</b> <i>&COPY;</i></div>\n").arg(i);
    const QString body = "<p>first &amp; only</p>\n" + rows + "<p id=last>last</p>";
    edit->setDocumentHTML(inPage(body));
    QVERIFY2(pageScript(*edit, "const early = !orv.fidelity.mapRead();"
                               "document.getElementById('last').firstChild.data = 'changed'; return early;").toBool(),
             "the page was read before the change: nothing here tests a change that comes first");
    const QString after = edit->DocumentHTML();
    QVERIFY2(after.contains("<p>first &amp; only</p>\n" + rows) && after.count("changed") == 1
                 && !after.contains(">last<"), qPrintable(after.right(300)));
}

ORVANE_TEST_MAIN(tst_FidelitySurface)
#include "tst_fidelity_surface.moc"
