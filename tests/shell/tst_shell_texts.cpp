// The shell's text functions: ReplaceString (every occurrence, left to right,
// inserted text never searched again) and the addresses typed for Open From Web.
#include "WebAddress.h"
#include "mainFrm.h"

#include <QTest>

class tst_ShellTexts : public QObject {
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

        const QString meta = QStringLiteral("<META NAME=\"GENERATOR\" CONTENT=\"%1\">\r\n");
        QTest::newRow("long text, many occurrences") << meta.arg("Microsoft DHTML Editing Control").repeated(40000)
            << "Microsoft DHTML Editing Control" << "Kestrova Editor v.1.5" << meta.arg("Kestrova Editor v.1.5").repeated(40000);
    }

    void replace()
    {
        QFETCH(QString, pstring);
        QFETCH(QString, keyword);
        QFETCH(QString, newKeyword);
        QFETCH(QString, expected);
        QCOMPARE(mainFrm::ReplaceString(pstring, keyword, newKeyword), expected);
    }

    void webAddress_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("address");
        QTest::newRow("default left as it is") << "HTTP:\\\\" << "";
        QTest::newRow("no scheme") << "example.com/page.htm" << "http://example.com/page.htm";
        QTest::newRow("host and port without scheme") << "127.0.0.1:8080/a.htm" << "http://127.0.0.1:8080/a.htm";
        QTest::newRow("backslashes after scheme") << "HTTP:\\\\example.com\\dir\\a.htm"
                                                  << "http://example.com/dir/a.htm";
        QTest::newRow("https kept") << " https://example.com/x " << "https://example.com/x";
        QTest::newRow("line break after a scheme") << "t://\n." << "";
        QTest::newRow("line break inside the host") << "example.com\r\nHost: other" << "";
        QTest::newRow("tab inside the path") << "http://example.com/a\tb" << "";
        QTest::newRow("delete character") << "example.com/\x7f" << "";
    }

    void webAddress()
    {
        QFETCH(QString, answer);
        QFETCH(QString, address);
        QCOMPARE(orvane::webAddressFromAnswer(answer), address);
    }
};

QTEST_GUILESS_MAIN(tst_ShellTexts)
#include "tst_shell_texts.moc"
