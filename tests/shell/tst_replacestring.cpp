// ReplaceString: every occurrence, left to right, inserted text never searched again.

#include "mainFrm.h"

#include <QTest>

class TestReplaceString : public QObject {
    Q_OBJECT
private slots:
    void replace_data()
    {
        QTest::addColumn<QString>("pstring");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("newKeyword");
        QTest::addColumn<QString>("expected");

        QTest::newRow("inserted text not searched") << "axbxc" << "x" << "xx" << "axxbxxc";
        QTest::newRow("no occurrence") << "<P>abc</P>" << "Microsoft" << "Kestrova" << "<P>abc</P>";
        QTest::newRow("case-sensitive") << "</head></HEAD>" << "</HEAD>" << "<STYLE></STYLE></HEAD>"
                                        << "</head><STYLE></STYLE></HEAD>";
        QTest::newRow("overlaps taken from the left") << "aaaaa" << "aa" << "b" << "bba";
        QTest::newRow("empty keyword changes nothing") << "abc" << "" << "x" << "abc";
        QTest::newRow("non-ascii") << "école😀école" << "é" << "e" << "ecole😀ecole";

        const QString before = QStringLiteral(
            "<META NAME=\"GENERATOR\" CONTENT=\"Microsoft DHTML Editing Control\">\r\n");
        const QString after = QStringLiteral(
            "<META NAME=\"GENERATOR\" CONTENT=\"Kestrova Editor v.1.5\">\r\n");
        QTest::newRow("long text, many occurrences")
            << before.repeated(40000) << "Microsoft DHTML Editing Control" << "Kestrova Editor v.1.5"
            << after.repeated(40000);
    }

    void replace()
    {
        QFETCH(QString, pstring);
        QFETCH(QString, keyword);
        QFETCH(QString, newKeyword);
        QFETCH(QString, expected);
        QCOMPARE(mainFrm::ReplaceString(pstring, keyword, newKeyword), expected);
    }
};

QTEST_GUILESS_MAIN(TestReplaceString)
#include "tst_replacestring.moc"
