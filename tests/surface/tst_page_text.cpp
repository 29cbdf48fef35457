// The surface's plain functions: what kind of page a text is, where the
// served head goes, and the base of a page's links.
#include "PageKind.h"
#include "ServedPage.h"

#include <QtTest>

using namespace orvane;

Q_DECLARE_METATYPE(orvane::PageKind)

class tst_PageText : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_GUILESS_MAIN(tst_PageText)
#include "tst_page_text.moc"
