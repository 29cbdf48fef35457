// The editing surface in a real page: what it refuses, refused file
// operations, page scripts and navigation, the synchronous bridge's time limit;
// and its plain text functions: page kinds, the served head, the links' base.
#include "PageKind.h"
#include "ServedPage.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <QImage>
#include <QWebEngineScriptCollection>
#include <algorithm>

using namespace orvane;
using namespace orvane::test;

Q_DECLARE_METATYPE(orvane::PageKind)

namespace {

const QString simplePage = QStringLiteral(
    "<html><head><title>T</title></head><body><p>one two three</p></body></html>");

std::int32_t errorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const SurfaceError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

class tst_Surface : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        edit = std::make_unique<Surface>(Surface::Mode::Edit);
        preview = std::make_unique<Surface>(Surface::Mode::Browse);
        showAndSettle(*edit);
        showAndSettle(*preview);
        preview->move(edit->frameGeometry().right() + 20, 0);  // side by side, not stacked
    }

    void init() { edit->setCallTimeout(10000); }

    // A frameset cannot be edited: it is kept and returned exactly as written.
    // The preview is read-only.
    void verbatimDocumentRefusesChanges()
    {
        const QString frameset = "<HTML><FRAMESET cols=\"50%,*\"><FRAME SRC=a.htm></FRAMESET></HTML>";
        for (Surface* s : {edit.get(), preview.get()}) {
            s->setDocumentHTML(s == edit.get() ? frameset : simplePage);
            QCOMPARE(errorOf([&] { s->DOM().setBgColor("#000000"); }), SurfaceErrorNumber::Unexpected);
            QCOMPARE(errorOf([&] { s->DOM().selection().createRange().pasteHTML("x"); }), SurfaceErrorNumber::Unexpected);
            QCOMPARE(s->DocumentHTML(), s == edit.get() ? frameset : simplePage);
        }
    }

    void refusedFileOperations_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("path");
        QTest::addColumn<std::int32_t>("number");
        QTest::newRow("load, unreadable file") << false << "/proc/self/mem" << SurfaceErrorNumber::AccessDenied;
        QTest::newRow("save, no path, no prompt") << true << QString() << SurfaceErrorNumber::InvalidArgument;
        QTest::newRow("save, web address") << true << "http://127.0.0.1/page.htm" << SurfaceErrorNumber::InvalidArgument;
        QTest::newRow("save, a folder") << true << "folder.htm" << SurfaceErrorNumber::AccessDenied;
    }

    // A refused load or save leaves the document, its path and its changes as
    // they were, and no temporary file behind.
    void refusedFileOperations()
    {
        QFETCH(bool, save);
        QFETCH(QString, path);
        QFETCH(std::int32_t, number);
        TempSite site;
        const QByteArray goodText = simplePage.toUtf8();
        const QString goodPage = site.write("good.htm", goodText);
        QDir().mkpath(site.path("folder.htm"));
        if (path == "folder.htm")
            path = site.path(path);
        edit->LoadDocument(goodPage);
        edit->DOM().selection().createRange().pasteHTML("new ");
        const QString text = edit->DocumentHTML();
        QCOMPARE(errorOf([&] { save ? edit->SaveDocument(path) : edit->LoadDocument(path); }), number);
        QCOMPARE(edit->DocumentHTML(), text);
        QVERIFY(edit->IsDirty());
        QCOMPARE(edit->CurrentDocumentPath(), goodPage);
        QCOMPARE(TempSite::read(goodPage), goodText);
        QCOMPARE(QDir(site.path()).entryList(QDir::Files), QStringList{"good.htm"});
    }

    // A file path or a file URL loads the page, served from a private file
    // of its own (the one before is removed), its images relative to it or
    // to the page's own base.
    void loadUrl()
    {
        TempSite site;
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QDir().mkpath(site.path("img"));
        QVERIFY(picture.save(site.path("img/pic.png")));
        const QString pictureWidth = "const i = document.getElementById('pic'); return i && i.complete ? i.naturalWidth : -1;";
        const QByteArray text = "<html><body><p>web</p><img id=pic src=\"img/pic.png\"></body></html>";
        const QString path = site.write("web.htm", text);
        QStringList served;
        for (const QString& url : {path, QUrl::fromLocalFile(path).toString()}) {
            edit->LoadURL(url);
            QCOMPARE(edit->DocumentHTML(), QString::fromUtf8(text));
            QCOMPARE(edit->CurrentDocumentPath(), path);
            QTRY_COMPARE(pageScript(*edit, pictureWidth).toInt(), 3);
            served << edit->view()->url().toLocalFile();
            const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
            QCOMPARE(QFile::permissions(served.last()) & others, QFile::Permissions());
        }
        QVERIFY(!QFile::exists(served.first()));
        QVERIFY(QFile::exists(served.last()));
        const QByteArray withBase = "<html><head><base href=\"img/\"></head><body><img id=pic src=\"pic.png\"></body></html>";
        edit->LoadURL(site.write("based.htm", withBase));
        QTRY_COMPARE(pageScript(*edit, pictureWidth).toInt(), 3);
        QCOMPARE(edit->DocumentHTML(), QString::fromUtf8(withBase));
    }

    // Scripts and their dialogs run in the preview only, without blocking it;
    // the page's own changes are not edits.
    void pageScriptsRunOnlyInPreview()
    {
        const QString page = "<html><head><title>before</title></head><body><p id=p>x</p>"
                             "<script>alert('a'); var c = confirm('b'); var p = prompt('c', 'd');"
                             "document.title = 'after ' + c + ' ' + p; document.getElementById('p').remove();"
                             "</script></body></html>";
        edit->setDocumentHTML(page);
        QCOMPARE(edit->view()->page()->title(), "before");
        QCOMPARE(pageScript(*edit, "return document.getElementById('p') !== null;").toBool(), true);
        QCOMPARE(edit->DocumentHTML(), page);

        preview->setDocumentHTML(page);
        QTRY_COMPARE(preview->view()->page()->title(), "after false null");
        QCOMPARE(preview->DocumentHTML(), page);
    }

    void editModeDoesNotNavigate_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("click");
        const QString link = "<html><body><a id=target %1 style=\"display:block;width:400px;height:200px\">"
                             "link</a></body></html>";
        QTest::newRow("target blank clicked") << link.arg("target=_blank href=\"other.htm\"") << true;
        QTest::newRow("meta refresh") << "<html><head><meta http-equiv=refresh content=\"0;url=other.htm\">"
                                         "</head><body><p id=target>x</p></body></html>" << false;
    }

    void editModeDoesNotNavigate()
    {
        QFETCH(QString, html);
        QFETCH(bool, click);
        edit->setDocumentHTML(html);
        const QUrl before = edit->view()->page()->url();
        QSignalSpy navigated(edit->view()->page(), &QWebEnginePage::urlChanged);
        for (auto modifier : {Qt::NoModifier, Qt::ControlModifier}) {
            if (!click)
                break;
            QTest::mouseClick(edit->view()->focusProxy(), Qt::LeftButton, modifier, QPoint(100, 50));
            QTest::mouseDClick(edit->view()->focusProxy(), Qt::LeftButton, modifier, QPoint(100, 50));
        }
        QVERIFY(!navigated.wait(500));
        QCOMPARE(edit->view()->page()->url(), before);
        QCOMPARE(pageScript(*edit, "return document.getElementById('target') !== null;").toBool(), true);
    }

    // The page is kept busy by a script of the test: the surface gives up
    // waiting instead of hanging, and works again afterwards.
    void busyPageCallThrowsInsteadOfHanging()
    {
        edit->setDocumentHTML(simplePage);
        edit->DOM().selection().createRange().pasteHTML("x");  // reads now need the page
        edit->setCallTimeout(300);
        edit->view()->page()->runJavaScript("{ const end = Date.now() + 3000; while (Date.now() < end); }",
                                            QWebEngineScript::ApplicationWorld);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(errorOf([&] { edit->DocumentHTML(); }), SurfaceErrorNumber::Unexpected);
        QVERIFY2(clock.elapsed() < 2500, "the call waited for the page");
        edit->setCallTimeout(10000);
        QVERIFY(edit->DocumentHTML().contains("x"));
    }

    // A page whose scripts come after its load has ended (a fresh renderer
    // on a busy machine) is set up for editing before the load returns.
    void scriptsAfterTheLoad()
    {
        Surface late(Surface::Mode::Edit);
        showAndSettle(late);
        QWebEnginePage* page = late.view()->page();
        QList<QWebEngineScript> scripts = page->scripts().toList();
        page->scripts().clear();
        // The channel's client, then bridge.js, which the others build on.
        auto rank = [](const QWebEngineScript& s) {
            return std::make_pair(s.name() == "qwebchannel.js" ? 0 : s.name() == "bridge.js" ? 1 : 2, s.name());
        };
        std::sort(scripts.begin(), scripts.end(), [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
        connect(page, &QWebEnginePage::loadFinished, &late, [&] {
            QTimer::singleShot(300, &late, [&] {
                for (const QWebEngineScript& s : scripts)
                    page->runJavaScript(s.sourceCode(), QWebEngineScript::ApplicationWorld);
            });
        }, Qt::SingleShotConnection);
        loadBody(late, "<P>one</P>");
        typeText(late, "x");
        QTRY_VERIFY(late.DocumentHTML().contains("<P>xone</P>"));
    }

    void classify_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<PageKind>("kind");
        QTest::newRow("ordinary page") << "<html><body><p>x</p></body></html>" << PageKind::Editable;
        QTest::newRow("frameset") << "<HTML><FRAMESET ROWS=\"*,*\"><FRAME SRC=a></FRAMESET>" << PageKind::Frameset;
        QTest::newRow("frameset only in a comment") << "<!-- <frameset> --><p>x</p>" << PageKind::Editable;
        QTest::newRow("word starting with frameset") << "<framesetter>" << PageKind::Editable;
        QTest::newRow("frameset right after a comment holding one")
            << "<!--<frameset>--><frameset rows=*>" << PageKind::Frameset;
        QTest::newRow("frameset in an unclosed comment") << "<p>x<!-- <frameset>" << PageKind::Editable;
        QTest::newRow("server block and text") << "<% x %> hello" << PageKind::Editable;
        QTest::newRow("server blocks only") << "<%@ Language=VBScript %>\r\n<% x = 1 %>\r\n" << PageKind::ServerScriptOnly;
        QTest::newRow("server script element only")
            << "<SCRIPT LANGUAGE=vbscript RUNAT=Server>Sub A\r\nEnd Sub</SCRIPT>" << PageKind::ServerScriptOnly;
        QTest::newRow("unterminated server block") << "<% Response.Write 1" << PageKind::ServerScriptOnly;
        QTest::newRow("server blocks in a page") << "<% x %><html><body><%= x %></body></html>" << PageKind::Editable;
    }

    void classify()
    {
        QFETCH(QString, text);
        QFETCH(PageKind, kind);
        QCOMPARE(classifyPage(text), kind);
    }

    void servedHeadPosition_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("after the head tag")
            << QByteArray("<!DOCTYPE html>\r\n<html lang=en>\r\n<HEAD>\r\n<title>t</title>")
            << QByteArray("<!DOCTYPE html>\r\n<html lang=en>\r\n<HEAD>");
        QTest::newRow("no head: after the html tag and its comments")
            << QByteArray("<html>\r\n<!-- c -->\r\n<body>x") << QByteArray("<html>\r\n<!-- c -->\r\n");
        QTest::newRow("no html: after leading comments")
            << QByteArray("<?xml version=\"1.0\"?>\n<!-- a --><p>x") << QByteArray("<?xml version=\"1.0\"?>\n<!-- a -->");
        QTest::newRow("quoted > in the html tag")
            << QByteArray("<html title=\"a>b\" lang='x>'><head id=h><p>") << QByteArray("<html title=\"a>b\" lang='x>'><head id=h>");
        QTest::newRow("header is not head") << QByteArray("<header>x</header>") << QByteArray();
        QTest::newRow("unclosed comment") << QByteArray("<!-- open <head>") << QByteArray("<!-- open <head>");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void servedHeadPosition()
    {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, before);
        QCOMPARE(page.left(orvane::servedHeadPosition(page)), before);
    }

    void linkBase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QUrl>("expected");
        const QUrl real = QUrl::fromLocalFile("/site/a/p.htm");
        QTest::newRow("no base") << "<p><a href=x>x</a>" << real;
        QTest::newRow("relative base") << "<HEAD><BASE HREF=\"../other/\"></HEAD>" << QUrl::fromLocalFile("/site/other/");
        QTest::newRow("absolute base, single quotes") << "<base href='http://host/d/?a=1&amp;b=2'>"
                                                      << QUrl("http://host/d/?a=1&b=2");
        QTest::newRow("first base without href") << "<base target=_top><base href=img/>"
                                                 << QUrl::fromLocalFile("/site/a/img/");
        QTest::newRow("basefont is no base") << "<basefont href=x>" << real;
    }

    void linkBase()
    {
        QFETCH(QString, text);
        QFETCH(QUrl, expected);
        QCOMPARE(orvane::linkBase(text, QUrl::fromLocalFile("/site/a/p.htm")), expected);
    }

private:
    std::unique_ptr<Surface> edit;
    std::unique_ptr<Surface> preview;
};

ORVANE_TEST_MAIN(tst_Surface)
#include "tst_surface.moc"
