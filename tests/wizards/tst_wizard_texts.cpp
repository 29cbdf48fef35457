// Where the image map's picture is written from, and the events wizard's function list.

#include "MapText.h"
#include "ScanFunctions.h"

#include <QtTest>

using namespace orvane;

class tst_WizardTexts : public QObject {
    Q_OBJECT
private slots:
    void mapPictureSource_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside the page") << "/site/bar.gif" << "/site/index.htm" << "bar.gif";
        QTest::newRow("below the page") << "/site/img/bar.gif" << "/site/index.htm" << "img/bar.gif";
        QTest::newRow("outside the page's folder") << "/pics/bar.gif" << "/site/index.htm" << "/pics/bar.gif";
        QTest::newRow("page never saved") << "/pics/bar.gif" << "" << "/pics/bar.gif";
    }

    void mapPictureSource() {
        QFETCH(QString, picture);
        QFETCH(QString, page);
        QFETCH(QString, expected);
        QCOMPARE(orvane::mapPictureSource(picture, page), expected);
    }

    void scanFunctions_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("parameters do not shift the names")
            << "function f(x) { g(); }\nfunction  g ()\n{ h(1); }\nfunction h(a, b) {}"
            << QStringList{"f()", "g()", "h()", "Total Number of Functions:3"};
        QTest::newRow("not declarations") << "<p>the function of myfunction a() and function (y) {}</p>"
                                          << QStringList{"Total Number of Functions:0"};
        QString page;
        QStringList names;
        for (int i = 1; i <= 1500; ++i) {
            page += QStringLiteral("function f%1() { return %1; }\n").arg(i);
            names << QStringLiteral("f%1()").arg(i);
        }
        QTest::newRow("1500 functions, over 40000 characters") << page << names + QStringList{"Total Number of Functions:1500"};
    }

    void scanFunctions() {
        QFETCH(QString, source);
        QFETCH(QStringList, expected);
        QCOMPARE(orvane::scanFunctions(source), expected);
    }
};

QTEST_APPLESS_MAIN(tst_WizardTexts)
#include "tst_wizard_texts.moc"
