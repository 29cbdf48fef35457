// Building a fragment from the answers: one pass, nothing escaped.

#include "commands/CommandRule.h"

#include <QtTest>

using namespace orvane;

class tst_CommandRule : public QObject {
    Q_OBJECT
private slots:
    void fillFragment_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("expected");
        QTest::newRow("answers in a different order than asked")
            << "<Input Type=Radio Value={2} Name={1}>" << QStringList{"r1", "yes"}
            << "<Input Type=Radio Value=yes Name=r1>";
        QTest::newRow("empty answers") << "<Span Class={2} Id={1}>" << QStringList{"", ""}
                                       << "<Span Class= Id=>";
        QTest::newRow("an answer holding a placeholder is not filled again")
            << "<DIV Class={2} id={1}>" << QStringList{"{2}", "c"} << "<DIV Class=c id={2}>";
        QTest::newRow("blanks, quotes and markup pass unchanged")
            << "<A HREF=\"{1}\">  </A>" << QStringList{"a \"b\" <i>&amp;"}
            << "<A HREF=\"a \"b\" <i>&amp;\">  </A>";
        QTest::newRow("braces that are not a placeholder stay") << "{x} {0} {3} {" << QStringList{"a"}
                                                                << "{x} {0} {3} {";
        QTest::newRow("percent signs are text") << "<% %>" << QStringList{} << "<% %>";
    }

    void fillFragment()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, answers);
        QFETCH(QString, expected);
        QCOMPARE(orvane::fillFragment(text, answers), expected);
    }
};

QTEST_GUILESS_MAIN(tst_CommandRule)
#include "tst_commandrule.moc"
