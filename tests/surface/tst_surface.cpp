// The editing surface in a real page: document text, edits, dirty state,
// page scripts, navigation, events and the synchronous bridge.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <QTimer>

using namespace orvane;
using namespace orvane::test;

class tst_Surface : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void writeThenReadReturnsTextWritten_data();
    void writeThenReadReturnsTextWritten();
    void editRewritesWholeDocument_data();
    void editRewritesWholeDocument();
    void typingIsAnEdit();
    void pasteReplacesSelection_data();
    void pasteReplacesSelection();
    void selectionType_data();
    void selectionType();
    void pageColoursLandOnBody();
    void verbatimDocumentRefusesChanges();
    void dirtyFollowsEditsAndDocuments();

    void pageScriptsRunOnlyInPreview();
    void scriptDialogsDoNotBlockPreview();
    void editModeDoesNotNavigate_data();
    void editModeDoesNotNavigate();

    void displayChangedComesAfterTheCall();
    void mouseMoveOverPage_data();
    void mouseMoveOverPage();
    void unansweredCallThrowsInsteadOfHanging();
    void callDuringAnotherCallThrows();

private:
    std::unique_ptr<Surface> edit;
    std::unique_ptr<Surface> preview;
};

namespace {

const QString simplePage = QStringLiteral(
    "<html><head><title>T</title></head><body><p>one two three</p></body></html>");

int count(const QString& haystack, const QString& needle)
{
    return int(haystack.count(needle, Qt::CaseInsensitive));
}

}  // namespace

void tst_Surface::initTestCase()
{
    edit = std::make_unique<Surface>(Surface::Mode::Edit);
    preview = std::make_unique<Surface>(Surface::Mode::Browse);
    showAndSettle(*edit);
    showAndSettle(*preview);
    preview->move(edit->frameGeometry().right() + 20, 0);  // side by side, not stacked
}

void tst_Surface::init()
{
    edit->setCallTimeout(10000);
}

void tst_Surface::writeThenReadReturnsTextWritten_data()
{
    QTest::addColumn<QString>("html");
    QTest::newRow("lower case, CR LF, comment, entity")
        << "<!doctype html>\r\n<html><head><title>t</title></head>\r\n<body bgcolor=red>"
           "<!-- keep -->\r\n<p class='a'>x &amp; y</p></body></html>\r\n";
    QTest::newRow("server blocks") << "<% Response.Write \"a\" %><HTML><BODY><%= x %></BODY></HTML>";
    QTest::newRow("empty") << "";
    QTest::newRow("fragment without html") << "just text <b>bold";
    QTest::newRow("non-latin text") << "<p>\u00e9t\u00e9 \u65e5\u672c \U0001F600</p>";
}

void tst_Surface::writeThenReadReturnsTextWritten()
{
    QFETCH(QString, html);
    edit->setDocumentHTML(html);
    QCOMPARE(edit->DocumentHTML(), html);
    QCOMPARE(edit->DocumentHTML(), html);  // a second read too
    preview->setDocumentHTML(html);
    QCOMPARE(preview->DocumentHTML(), html);
}

void tst_Surface::editRewritesWholeDocument_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("absent");
    const QString generator = "<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">";
    QTest::newRow("no generator yet: one is added to the head")
        << "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
           "<html><head><title>T</title></head><body><p>one two three</p></body></html>"
        << QStringList{"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<html><head>",
                       generator, "<title>T</title></head><body>"}
        << QStringList{};
    QTest::newRow("other generator: its content is replaced")
        << "<html><head><meta name=generator content=\"Kestrova Editor v.1.0\"><title>T</title>"
           "</head><body><p>one two three</p></body></html>"
        << QStringList{"<title>T</title></head>"} << QStringList{"Kestrova"};
    QTest::newRow("two generators become one")
        << "<html><head><META NAME=\"GENERATOR\" Content=\"a\"><title>T</title><meta name=\"Generator\""
           " content=\"b\"></head><body><p>one two three</p></body></html>"
        << QStringList{"<title>T</title>"} << QStringList{"\"a\"", "\"b\""};
    QTest::newRow("untouched attributes, entities, comments and CR LF kept")
        << "<html>\r\n<head><title>T</title></head>\r\n<body>\r\n<!-- note -->\r\n"
           "<p align=\"center\" class=x>a &amp; b&nbsp;&lt;c&gt;</p><img src='i.gif'>\r\n"
           "<p>one two three</p></body></html>"
        << QStringList{"<!-- note -->\r\n<p align=\"center\" class=x>a &amp; b&nbsp;&lt;c&gt;</p>"
                       "<img src='i.gif'>\r\n"}
        << QStringList{};
    QTest::newRow("script and style text kept raw")
        << "<html><head><style>p > b { color: red }</style><script>if (a < b && c) x();</script>"
           "</head><body><p>one two three</p></body></html>"
        << QStringList{"<style>p > b { color: red }</style><script>if (a < b && c) x();</script>"}
        << QStringList{};
}

// An edit writes only what it made (new elements in upper case) and keeps the rest;
// the head carries exactly one generator meta element naming the surface.
void tst_Surface::editRewritesWholeDocument()
{
    QFETCH(QString, html);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, absent);
    edit->setDocumentHTML(html);
    selectText(*edit, "two");
    edit->DOM().selection().createRange().pasteHTML("<b>2</b>");
    const QString out = edit->DocumentHTML();
    QVERIFY2(out.contains("<p>one <B>2</B> three</p>"), qPrintable(out));
    QCOMPARE(count(out, "generator"), 1);
    QCOMPARE(count(out, "Microsoft DHTML Editing Control"), 1);
    const int meta = out.indexOf("Microsoft DHTML Editing Control");
    QVERIFY2(meta > out.indexOf("<head", 0, Qt::CaseInsensitive)
                 && meta < out.indexOf("</head>", 0, Qt::CaseInsensitive), qPrintable(out));
    for (const QString& part : expected)
        QVERIFY2(out.contains(part), qPrintable("missing " + part + " in\n" + out));
    for (const QString& part : absent)
        QVERIFY2(!out.contains(part), qPrintable("left " + part + " in\n" + out));
}

void tst_Surface::typingIsAnEdit()
{
    edit->setDocumentHTML(simplePage);
    selectText(*edit, "three");
    typeText(*edit, "3x");
    QTRY_VERIFY(edit->DocumentHTML().contains("<p>one two 3x</p>"));
    QVERIFY(edit->IsDirty());
}

void tst_Surface::pasteReplacesSelection_data()
{
    QTest::addColumn<QString>("select");    // empty: no selection made
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text replaced by markup") << "two" << "<I>deux</I>" << "<p>one <I>deux</I> three</p>";
    QTest::newRow("unbalanced fragment is closed") << "two" << "<B>bold" << "<p>one <B>bold</B> three</p>";
    QTest::newRow("no selection made: start of the page") << "" << "zero " << "<body><p>zero one two three</p>";
}

void tst_Surface::pasteReplacesSelection()
{
    QFETCH(QString, select);
    QFETCH(QString, fragment);
    QFETCH(QString, expected);
    edit->setDocumentHTML(simplePage);
    if (!select.isEmpty())
        selectText(*edit, select);
    SurfaceRange range = edit->DOM().selection().createRange();
    QCOMPARE(edit->DocumentHTML(), simplePage);  // a range alone changes nothing
    range.pasteHTML(fragment);
    const QString out = edit->DocumentHTML();
    QVERIFY2(out.contains(expected), qPrintable(out));
}

void tst_Surface::selectionType_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("rangeText");
    QTest::newRow("nothing selected") << "getSelection().removeAllRanges()" << "None" << "";
    QTest::newRow("caret") << "getSelection().collapse(document.querySelector('p').firstChild, 2)"
                           << "None" << "";
    QTest::newRow("text") << "getSelection().setBaseAndExtent(document.querySelector('p').firstChild, 0,"
                             " document.querySelector('p').firstChild, 3)" << "Text" << "one";
    QTest::newRow("image") << "getSelection().setBaseAndExtent(document.body, 1, document.body, 2)"
                           << "Control" << "";
}

void tst_Surface::selectionType()
{
    QFETCH(QString, script);
    QFETCH(QString, type);
    QFETCH(QString, rangeText);
    edit->setDocumentHTML("<html><body><p>one two</p><img src=x.gif width=20 height=20></body></html>");
    pageScript(*edit, script + ";");
    QCOMPARE(edit->DOM().selection().type(), type);
    QCOMPARE(edit->DOM().selection().createRange().text(), rangeText);
}

void tst_Surface::pageColoursLandOnBody()
{
    edit->setDocumentHTML(simplePage);
    SurfaceDocument dom = edit->DOM();
    dom.setBgColor("#FFFFFF");
    dom.setLinkColor("#0000FF");
    dom.setVlinkColor("#800080");
    dom.setAlinkColor("#FF0000");
    QCOMPARE(dom.bgColor(), "#FFFFFF");
    QCOMPARE(dom.linkColor(), "#0000FF");
    QCOMPARE(dom.vlinkColor(), "#800080");
    QCOMPARE(dom.alinkColor(), "#FF0000");
    QVERIFY(edit->IsDirty());
    const QString out = edit->DocumentHTML();
    QVERIFY2(out.contains("<BODY BGCOLOR=\"#FFFFFF\" LINK=\"#0000FF\" VLINK=\"#800080\" ALINK=\"#FF0000\">"
                          "<p>one two three</p></body>"), qPrintable(out));
}

// A frameset cannot be edited: it is kept and returned exactly as written.
// The preview is read-only.
void tst_Surface::verbatimDocumentRefusesChanges()
{
    const QString frameset = "<HTML><FRAMESET cols=\"50%,*\"><FRAME SRC=a.htm></FRAMESET></HTML>";
    for (Surface* s : {edit.get(), preview.get()}) {
        s->setDocumentHTML(s == edit.get() ? frameset : simplePage);
        for (const auto& change : std::initializer_list<std::function<void()>>{
                 [&] { s->DOM().setBgColor("#000000"); },
                 [&] { s->DOM().selection().createRange().pasteHTML("x"); }}) {
            try {
                change();
                QFAIL("a change to a verbatim document or to the preview was accepted");
            } catch (const SurfaceError& e) {
                QCOMPARE(e.number(), SurfaceErrorNumber::Unexpected);
            }
        }
        QCOMPARE(s->DocumentHTML(), s == edit.get() ? frameset : simplePage);
    }
}

void tst_Surface::dirtyFollowsEditsAndDocuments()
{
    edit->NewDocument();
    QVERIFY(!edit->IsDirty());
    QVERIFY(edit->DocumentHTML().contains("</HEAD>"));
    edit->setDocumentHTML(edit->DocumentHTML());
    QVERIFY2(!edit->IsDirty(), "the text the surface already held");
    edit->setDocumentHTML(simplePage);
    QVERIFY2(edit->IsDirty(), "different text");
    edit->setDocumentHTML(simplePage);
    QVERIFY2(edit->IsDirty(), "stays dirty until saved or replaced");
    edit->NewDocument();
    QVERIFY(!edit->IsDirty());
    edit->DOM().selection().createRange().pasteHTML("x");
    QVERIFY2(edit->IsDirty(), "paste");

    TempSite site;
    const QString file = site.write("page.htm", simplePage.toUtf8());
    edit->LoadDocument(file);
    QVERIFY(!edit->IsDirty());
    QCOMPARE(edit->CurrentDocumentPath(), file);
    selectText(*edit, "two");
    typeText(*edit, "2");
    QTRY_VERIFY(edit->IsDirty());
    edit->SaveDocument(file);
    QVERIFY2(!edit->IsDirty(), "saved");
    QCOMPARE(QString::fromUtf8(TempSite::read(file)), edit->DocumentHTML());
    edit->LoadURL(QUrl::fromLocalFile(file).toString());
    QVERIFY(!edit->IsDirty());
}

void tst_Surface::pageScriptsRunOnlyInPreview()
{
    const QString page = "<html><head><title>before</title></head><body><p id=p>x</p>"
                         "<script>document.title = 'ran'; document.getElementById('p').remove();"
                         "</script></body></html>";
    edit->setDocumentHTML(page);
    QCOMPARE(edit->view()->page()->title(), "before");
    QCOMPARE(pageScript(*edit, "return document.getElementById('p') !== null;").toBool(), true);
    QCOMPARE(edit->DocumentHTML(), page);

    preview->setDocumentHTML(page);
    QTRY_COMPARE(preview->view()->page()->title(), "ran");
    // The page's own change is not an edit: the preview returns its text.
    QCOMPARE(preview->DocumentHTML(), page);
}

void tst_Surface::scriptDialogsDoNotBlockPreview()
{
    preview->setDocumentHTML("<html><head><title>t</title></head><body><script>alert('a');"
                             "var c = confirm('b'); var p = prompt('c', 'd');"
                             "document.title = 'after ' + c + ' ' + p;</script></body></html>");
    QTRY_COMPARE(preview->view()->page()->title(), "after false null");
}

void tst_Surface::editModeDoesNotNavigate_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("click");
    QTest::newRow("link clicked")
        << "<html><body><a id=target href=\"http://127.0.0.1:9/elsewhere.htm\" "
           "style=\"display:block;width:400px;height:200px\">link</a></body></html>" << true;
    QTest::newRow("target blank clicked")
        << "<html><body><a id=target target=_blank href=\"other.htm\" "
           "style=\"display:block;width:400px;height:200px\">link</a></body></html>" << true;
    QTest::newRow("meta refresh")
        << "<html><head><meta http-equiv=refresh content=\"0;url=other.htm\"></head>"
           "<body><p id=target>x</p></body></html>" << false;
}

void tst_Surface::editModeDoesNotNavigate()
{
    QFETCH(QString, html);
    QFETCH(bool, click);
    edit->setDocumentHTML(html);
    const QUrl before = edit->view()->page()->url();
    if (click) {
        QWidget* target = edit->view()->focusProxy();
        for (auto modifier : {Qt::NoModifier, Qt::ControlModifier}) {
            QTest::mouseClick(target, Qt::LeftButton, modifier, QPoint(100, 50));
            QTest::mouseDClick(target, Qt::LeftButton, modifier, QPoint(100, 50));
        }
    }
    QTest::qWait(500);
    QCOMPARE(edit->view()->page()->url(), before);
    QCOMPARE(edit->DocumentHTML().contains("target"), true);
    QCOMPARE(pageScript(*edit, "return document.getElementById('target') !== null;").toBool(), true);
}

// Display changes reach the program only once the surface call has returned.
void tst_Surface::displayChangedComesAfterTheCall()
{
    edit->setDocumentHTML(simplePage);
    QTest::qWait(50);
    selectText(*edit, "two");
    QSignalSpy spy(edit.get(), &Surface::DisplayChanged);
    edit->DOM().selection().createRange().pasteHTML("2");
    QCOMPARE(spy.count(), 0);
    edit->DocumentHTML();
    QCOMPARE(spy.count(), 0);
    QVERIFY(spy.wait(5000));

    bool handlerCouldCall = false;
    auto c = connect(edit.get(), &Surface::DisplayChanged, this, [&] {
        handlerCouldCall = edit->DocumentHTML().contains("one 2 3");
    });
    selectText(*edit, "three");
    edit->DOM().selection().createRange().pasteHTML("3");
    QTRY_VERIFY(handlerCouldCall);
    disconnect(c);
}

void tst_Surface::mouseMoveOverPage_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::newRow("design surface") << true;
    QTest::newRow("preview") << false;
}

void tst_Surface::mouseMoveOverPage()
{
    QFETCH(bool, editMode);
    Surface& s = editMode ? *edit : *preview;
    QSignalSpy spy(&s, &Surface::onmousemove);
    QWidget* target = s.view()->focusProxy();
    QVERIFY(target);
    QWindow* window = s.window()->windowHandle();
    QTest::mouseMove(window, target->mapTo(s.window(), QPoint(30, 30)));
    QTest::mouseMove(window, target->mapTo(s.window(), QPoint(60, 40)));
    QTRY_VERIFY(spy.count() >= 1);
}

// The page is kept busy by a script of the test; the surface gives up waiting.
void tst_Surface::unansweredCallThrowsInsteadOfHanging()
{
    edit->setDocumentHTML(simplePage);
    edit->DOM().selection().createRange().pasteHTML("x");  // reads now need the page
    edit->setCallTimeout(300);
    edit->view()->page()->runJavaScript("{ const end = Date.now() + 3000; while (Date.now() < end); }",
                                        QWebEngineScript::ApplicationWorld);
    QElapsedTimer clock;
    clock.start();
    try {
        edit->DocumentHTML();
        QFAIL("a call to a busy page returned");
    } catch (const SurfaceError& e) {
        QCOMPARE(e.number(), SurfaceErrorNumber::Unexpected);
    }
    QVERIFY2(clock.elapsed() < 2500, "the call waited for the page");
    edit->setCallTimeout(10000);
    QVERIFY(edit->DocumentHTML().contains("x"));  // and the surface works again
}

void tst_Surface::callDuringAnotherCallThrows()
{
    edit->setDocumentHTML(simplePage);
    edit->DOM().selection().createRange().pasteHTML("x");
    edit->view()->page()->runJavaScript("{ const end = Date.now() + 400; while (Date.now() < end); }",
                                        QWebEngineScript::ApplicationWorld);
    std::int32_t nested = 0;
    QTimer::singleShot(100, this, [&] {
        try {
            edit->DocumentHTML();
        } catch (const SurfaceError& e) {
            nested = e.number();
        }
    });
    QVERIFY(edit->DocumentHTML().contains("x"));
    QCOMPARE(nested, SurfaceErrorNumber::Unexpected);
}

ORVANE_TEST_MAIN(tst_Surface)
#include "tst_surface.moc"
