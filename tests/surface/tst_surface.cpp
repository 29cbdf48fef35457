// The editing surface in a real page: document text, edits, dirty state,
// page scripts, navigation, events and the synchronous bridge.
#include "SurfacePrivate.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <QWebEnginePage>
#include <QWebEngineScript>

using namespace orvane;
using namespace orvane::test;

class tst_Surface : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void writeThenReadReturnsTextWritten_data();
    void writeThenReadReturnsTextWritten();
    void pasteReplacesSelectionAndRewritesDocument();

private:
    std::unique_ptr<Surface> edit;
};

void tst_Surface::initTestCase()
{
    edit = std::make_unique<Surface>(Surface::Mode::Edit);
    showAndSettle(*edit);
}

void tst_Surface::writeThenReadReturnsTextWritten_data()
{
    QTest::addColumn<QString>("html");
    QTest::newRow("lower case with CR LF and comment")
        << "<!doctype html>\r\n<html><head><title>t</title></head>\r\n<body bgcolor=red>"
           "<!-- keep -->\r\n<p class='a'>x &amp; y</p></body></html>\r\n";
    QTest::newRow("server blocks") << "<% Response.Write \"a\" %><HTML><BODY><%= x %></BODY></HTML>";
    QTest::newRow("frameset") << "<HTML><FRAMESET cols=\"50%,*\"><FRAME SRC=a.htm></FRAMESET></HTML>";
    QTest::newRow("only server script") << "<%@ Language=VBScript %>\r\n<% Response.Redirect \"x\" %>";
    QTest::newRow("empty") << "";
    QTest::newRow("fragment without html") << "just text <b>bold";
}

void tst_Surface::writeThenReadReturnsTextWritten()
{
    QFETCH(QString, html);
    edit->setDocumentHTML(html);
    QCOMPARE(edit->DocumentHTML(), html);
}

void tst_Surface::pasteReplacesSelectionAndRewritesDocument()
{
    edit->setDocumentHTML("<html><head><title>T</title></head><body><p>one two three</p></body></html>");
    edit->DOM().selection().createRange().pasteHTML("<b>new</b>");
    const QString out = edit->DocumentHTML();
    qDebug() << out;
    QVERIFY(out.contains("<B>new</B>"));
}

ORVANE_TEST_MAIN(tst_Surface)
#include "tst_surface.moc"
