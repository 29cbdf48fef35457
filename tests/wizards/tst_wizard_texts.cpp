// The image map's text and the events wizard's function list.

#include "wizards/frmMain/MapText.h"
#include "wizards/javaWiz/ScanFunctions.h"

#include <QtTest>

using namespace orvane;

class tst_WizardTexts : public QObject {
    Q_OBJECT
private slots:
    void mapText();
    void mapPictureSource_data();
    void mapPictureSource();
    void scanFunctions_data();
    void scanFunctions();
    void scanFunctionsOfALongPage();
};

// The map of two regions named nav over C:\pics\bar.gif.
void tst_WizardTexts::mapText()
{
    const QList<MapRegion> regions{{{10, 5}, {60, 30}, "a.htm", "Home"}, {{70, 5}, {120, 30}, "b.htm", "News"}};
    QCOMPARE(orvane::mapText("nav", regions, "C:\\pics\\bar.gif"),
             QString("\r\n<MAP NAME=\"nav\">\r\n"
                     "<AREA SHAPE=\"RECT\" COORDS=\"10,5,60,30\" HREF=\"a.htm\" ALT=\"Home\">\r\n"
                     "<AREA SHAPE=\"RECT\" COORDS=\"70,5,120,30\" HREF=\"b.htm\" ALT=\"News\">\r\n"
                     "<IMG SRC=\"C:\\pics\\bar.gif\" USEMAP=\"#nav\" BORDER=\"0\">\r\n</MAP>\r\n"));
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
