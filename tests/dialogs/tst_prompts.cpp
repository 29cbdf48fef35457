#include "Prompts.h"

#include <QtTest>

using namespace orvane;

class tst_Prompts : public QObject {
    Q_OBJECT
private slots:
    void qtFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("program's html/asp filter") << "HTML |*.htm| ASP | *.asp"
                                                   << "HTML (*.htm);;ASP (*.asp)";
        QTest::newRow("several patterns") << "Picture files|*.gif;*.bmp;*.jpg;*.ico"
                                          << "Picture files (*.gif *.bmp *.jpg *.ico)";
        QTest::newRow("empty") << "" << "";
    }

    void qtFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(toQtFilter(filter), expected);
    }
};

QTEST_MAIN(tst_Prompts)
#include "tst_prompts.moc"
