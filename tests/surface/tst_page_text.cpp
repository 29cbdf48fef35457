// The surface's plain functions: what kind of page a text is, the error
// number of a failed file operation, and the served form of page URLs.
#include "PageFiles.h"
#include "PageKind.h"
#include "PageScheme.h"
#include "SurfaceTypes.h"

#include <QtTest>
#include <cerrno>

using namespace orvane;

Q_DECLARE_METATYPE(orvane::PageKind)

class tst_PageText : public QObject {
    Q_OBJECT
private slots:
    void classify_data();
    void classify();
    void errorNumbers_data();
    void errorNumbers();
    void servedUrls_data();
    void servedUrls();
};

void tst_PageText::classify_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<PageKind>("kind");
    QTest::newRow("ordinary page") << "<html><body><p>x</p></body></html>" << PageKind::Editable;
    QTest::newRow("empty") << "" << PageKind::Editable;
    QTest::newRow("frameset") << "<HTML><FRAMESET ROWS=\"*,*\"><FRAME SRC=a></FRAMESET>" << PageKind::Frameset;
    QTest::newRow("frameset, lower case, no attributes") << "<frameset>" << PageKind::Frameset;
    QTest::newRow("frameset only in a comment") << "<!-- <frameset> --><p>x</p>" << PageKind::Editable;
    QTest::newRow("word starting with frameset") << "<framesetter>" << PageKind::Editable;
    QTest::newRow("server blocks only") << "<%@ Language=VBScript %>\r\n<% x = 1 %>\r\n" << PageKind::ServerScriptOnly;
    QTest::newRow("server script element only")
        << "<SCRIPT LANGUAGE=vbscript RUNAT=Server>Sub A\r\nEnd Sub</SCRIPT>" << PageKind::ServerScriptOnly;
    QTest::newRow("unterminated server block") << "<% Response.Write 1" << PageKind::ServerScriptOnly;
    QTest::newRow("server blocks in a page") << "<% x %><html><body><%= x %></body></html>" << PageKind::Editable;
    QTest::newRow("client script only") << "<script>var a;</script>" << PageKind::Editable;
}

void tst_PageText::classify()
{
    QFETCH(QString, text);
    QFETCH(PageKind, kind);
    QCOMPARE(classifyPage(text), kind);
}

void tst_PageText::errorNumbers_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<std::int32_t>("number");
    QTest::newRow("no such file") << ENOENT << SurfaceErrorNumber::FileNotFound;
    QTest::newRow("not a folder") << ENOTDIR << SurfaceErrorNumber::PathNotFound;
    QTest::newRow("no space") << ENOSPC << SurfaceErrorNumber::DiskFull;
    QTest::newRow("file too big") << EFBIG << SurfaceErrorNumber::DiskFull;
    QTest::newRow("read-only file system") << EROFS << SurfaceErrorNumber::AccessDenied;
    QTest::newRow("permission") << EACCES << SurfaceErrorNumber::AccessDenied;
    QTest::newRow("input/output") << EIO << SurfaceErrorNumber::AccessDenied;
}

void tst_PageText::errorNumbers()
{
    QFETCH(int, error);
    QFETCH(std::int32_t, number);
    QCOMPARE(fileErrorNumber(error), number);
}

void tst_PageText::servedUrls_data()
{
    QTest::addColumn<QUrl>("real");
    QTest::addColumn<QString>("served");
    QTest::newRow("file") << QUrl::fromLocalFile("/site/a b/index.htm")
                          << "orvane-file://local/site/a%20b/index.htm";
    QTest::newRow("non-latin file") << QUrl::fromLocalFile("/site/\u00e9t\u00e9.htm")
                                    << "orvane-file://local/site/%C3%A9t%C3%A9.htm";
    QTest::newRow("http with port and query") << QUrl("http://host:8080/dir/p.asp?id=3")
                                              << "orvane-http://host:8080/dir/p.asp?id=3";
    QTest::newRow("https") << QUrl("https://host/p.htm") << "orvane-https://host/p.htm";
}

// A served URL maps back to the real one, and relative links resolve in
// the served form as they would against the real page.
void tst_PageText::servedUrls()
{
    QFETCH(QUrl, real);
    QFETCH(QString, served);
    const QUrl s = servedUrl(real);
    QCOMPARE(s.toString(QUrl::FullyEncoded), served);
    QCOMPARE(realUrl(s), real);
    QCOMPARE(realUrl(s.resolved(QUrl("img/pic.gif"))), real.resolved(QUrl("img/pic.gif")));
    QCOMPARE(realUrl(s.resolved(QUrl("../up.gif"))), real.resolved(QUrl("../up.gif")));
}

QTEST_GUILESS_MAIN(tst_PageText)
#include "tst_page_text.moc"
