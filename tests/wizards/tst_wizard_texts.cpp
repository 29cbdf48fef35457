// The texts the image map, events and image rollover wizards write, from
// their plain builders.

#include "wizards/frmMain/MapText.h"
#include "wizards/funcFrm/RolloverText.h"
#include "wizards/javaWiz/ScanFunctions.h"

#include <QtTest>

using namespace orvane;

namespace {
const QString CRLF = QStringLiteral("\r\n");
QString lines(const QStringList& l) { return l.join(CRLF); }
}  // namespace

class tst_WizardTexts : public QObject {
    Q_OBJECT
private slots:
    void mapText_data();
    void mapText();
    void mapPictureSource_data();
    void mapPictureSource();
    void scanFunctions_data();
    void scanFunctions();
    void scanFunctionsOfALongPage();
    void anchorText_data();
    void anchorText();
    void anchorTextOfFourteenImages();
};

void tst_WizardTexts::mapText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<MapRegion>>("regions");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two regions")
        << "nav"
        << QList<MapRegion>{{{10, 5}, {60, 30}, "a.htm", "Home"}, {{70, 5}, {120, 30}, "b.htm", "News"}}
        << "C:\\pics\\bar.gif"
        << CRLF + lines({"<MAP NAME=\"nav\">",
                         "<AREA SHAPE=\"RECT\" COORDS=\"10,5,60,30\" HREF=\"a.htm\" ALT=\"Home\">",
                         "<AREA SHAPE=\"RECT\" COORDS=\"70,5,120,30\" HREF=\"b.htm\" ALT=\"News\">",
                         "<IMG SRC=\"C:\\pics\\bar.gif\" USEMAP=\"#nav\" BORDER=\"0\">", "</MAP>", ""});
    QTest::newRow("typed quotes, ampersands and angles are escaped")
        << "m\"1"
        << QList<MapRegion>{{{1, 2}, {3, 4}, "go.asp?a=1&b=\"x\"", "<Home> & \"away\""}}
        << "p&q.gif"
        << CRLF + lines({"<MAP NAME=\"m&quot;1\">",
                         "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"go.asp?a=1&amp;b=&quot;x&quot;\" "
                         "ALT=\"&lt;Home> &amp; &quot;away&quot;\">",
                         "<IMG SRC=\"p&amp;q.gif\" USEMAP=\"#m&quot;1\" BORDER=\"0\">", "</MAP>", ""});
    QTest::newRow("name keeps its spaces")
        << " top bar " << QList<MapRegion>{{{0, 0}, {0, 0}, "x", "y"}} << ""
        << CRLF + lines({"<MAP NAME=\" top bar \">",
                         "<AREA SHAPE=\"RECT\" COORDS=\"0,0,0,0\" HREF=\"x\" ALT=\"y\">",
                         "<IMG SRC=\"\" USEMAP=\"# top bar \" BORDER=\"0\">", "</MAP>", ""});
}

void tst_WizardTexts::mapText()
{
    QFETCH(QString, name);
    QFETCH(QList<MapRegion>, regions);
    QFETCH(QString, picture);
    QFETCH(QString, expected);
    QCOMPARE(orvane::mapText(name, regions, picture), expected);
}

void tst_WizardTexts::mapPictureSource_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("expected");
    QTest::newRow("beside the page") << "/site/bar.gif" << "/site/index.htm" << "bar.gif";
    QTest::newRow("below the page") << "/site/img/bar.gif" << "/site/index.htm" << "img/bar.gif";
    QTest::newRow("outside the page's folder") << "/pics/bar.gif" << "/site/index.htm" << "/pics/bar.gif";
    QTest::newRow("page never saved") << "/pics/bar.gif" << "" << "/pics/bar.gif";
}

void tst_WizardTexts::mapPictureSource()
{
    QFETCH(QString, picture);
    QFETCH(QString, page);
    QFETCH(QString, expected);
    QCOMPARE(orvane::mapPictureSource(picture, page), expected);
}

void tst_WizardTexts::scanFunctions_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("two functions")
        << "<script>\r\nfunction showMenu() {}\r\nfunction hideMenu() {}\r\n</script>"
        << QStringList{"showMenu()", "hideMenu()", "Total Number of Functions:2"};
    QTest::newRow("parameters do not shift the names")
        << "function f(x) { g(); }\nfunction  g ()\n{ h(1); }\nfunction h(a, b) {}"
        << QStringList{"f()", "g()", "h()", "Total Number of Functions:3"};
    QTest::newRow("no functions") << "<p>function of the page</p>"
                                  << QStringList{"Total Number of Functions:0"};
    QTest::newRow("not declarations")
        << "myfunction a() {} var x = function (y) {}; Function B() {}"
        << QStringList{"Total Number of Functions:0"};
}

void tst_WizardTexts::scanFunctions()
{
    QFETCH(QString, source);
    QFETCH(QStringList, expected);
    QCOMPARE(orvane::scanFunctions(source), expected);
}

void tst_WizardTexts::scanFunctionsOfALongPage()
{
    QString page;
    for (int i = 1; i <= 1500; ++i)
        page += QStringLiteral("function f%1() { return %1; }\n").arg(i);
    QVERIFY(page.size() > 40000);
    const QStringList list = orvane::scanFunctions(page);
    QCOMPARE(list.size(), 1501);
    QCOMPARE(list.at(1000), QString("f1001()"));
    QCOMPARE(list.at(1499), QString("f1500()"));
    QCOMPARE(list.last(), QString("Total Number of Functions:1500"));
}

void tst_WizardTexts::anchorText_data()
{
    QTest::addColumn<QStringList>("slots");
    QTest::addColumn<QString>("expected");

    const QString one = "<a HREF='#' onmouseover='document.one.src=isn2.src; return true;' "
                        "onmouseout='document.one.src=isn1.src; return true;'>";
    QTest::newRow("no images") << QStringList{} << "";
    QTest::newRow("one image still gives pair one")
        << QStringList{"a.gif"} << one + CRLF + "<img NAME='one' SRC='a.gif' border=0></a>";
    QTest::newRow("three images: the odd one has no anchor")
        << QStringList{"a.gif", "b.gif", "c.gif"} << one + CRLF + "<img NAME='one' SRC='a.gif' border=0></a>";
    QTest::newRow("four images, apostrophe in a name")
        << QStringList{"a.gif", "b.gif", "bob's.gif", "d.gif"}
        << lines({one, "<img NAME='one' SRC='a.gif' border=0></a>",
                  "<a HREF='#' onmouseover='document.two.src=isn4.src; return true;' "
                  "onmouseout='document.two.src=isn3.src; return true;'>",
                  "<img NAME='two' SRC='bob&#39;s.gif' border=0></a>"});
}

void tst_WizardTexts::anchorText()
{
    QFETCH(QStringList, slots);
    QFETCH(QString, expected);
    QCOMPARE(orvane::anchorText(slots), expected);
}

void tst_WizardTexts::anchorTextOfFourteenImages()
{
    QStringList slots;
    for (int i = 1; i <= 14; ++i)
        slots << QStringLiteral("p%1.png").arg(i);
    const QString text = orvane::anchorText(slots);
    QCOMPARE(text.count("<a HREF"), 7);
    QVERIFY(text.endsWith("<a HREF='#' onmouseover='document.seven.src=isn14.src; return true;' "
                          "onmouseout='document.seven.src=isn13.src; return true;'>\r\n"
                          "<img NAME='seven' SRC='p13.png' border=0></a>"));
}

QTEST_APPLESS_MAIN(tst_WizardTexts)
#include "tst_wizard_texts.moc"
