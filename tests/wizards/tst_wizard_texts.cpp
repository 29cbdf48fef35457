// The image map's text and the events wizard's function list, from their
// plain builders.

#include "wizards/frmMain/MapText.h"
#include "wizards/javaWiz/ScanFunctions.h"

#include <QtTest>

using namespace orvane;

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
};

void tst_WizardTexts::mapText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<MapRegion>>("regions");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two regions")
        << "nav" << QList<MapRegion>{{{10, 5}, {60, 30}, "a.htm", "Home"}, {{70, 5}, {120, 30}, "b.htm", "News"}}
        << "C:\\pics\\bar.gif"
        << "\r\n<MAP NAME=\"nav\">\r\n"
           "<AREA SHAPE=\"RECT\" COORDS=\"10,5,60,30\" HREF=\"a.htm\" ALT=\"Home\">\r\n"
           "<AREA SHAPE=\"RECT\" COORDS=\"70,5,120,30\" HREF=\"b.htm\" ALT=\"News\">\r\n"
           "<IMG SRC=\"C:\\pics\\bar.gif\" USEMAP=\"#nav\" BORDER=\"0\">\r\n</MAP>\r\n";
    QTest::newRow("typed quotes, ampersands and angles")
        << "m\"1" << QList<MapRegion>{{{1, 2}, {3, 4}, "go.asp?a=1&b=\"x\"", "<Home>"}} << "p&q.gif"
        << "\r\n<MAP NAME=\"m&quot;1\">\r\n"
           "<AREA SHAPE=\"RECT\" COORDS=\"1,2,3,4\" HREF=\"go.asp?a=1&amp;b=&quot;x&quot;\" ALT=\"&lt;Home>\">\r\n"
           "<IMG SRC=\"p&amp;q.gif\" USEMAP=\"#m&quot;1\" BORDER=\"0\">\r\n</MAP>\r\n";
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
    QTest::newRow("parameters do not shift the names")
        << "function f(x) { g(); }\nfunction  g ()\n{ h(1); }\nfunction h(a, b) {}"
        << QStringList{"f()", "g()", "h()", "Total Number of Functions:3"};
    QTest::newRow("not declarations") << "<p>the function of myfunction a() and function (y) {}</p>"
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
    QCOMPARE(list.at(1499), QString("f1500()"));
    QCOMPARE(list.last(), QString("Total Number of Functions:1500"));
}

QTEST_APPLESS_MAIN(tst_WizardTexts)
#include "tst_wizard_texts.moc"
