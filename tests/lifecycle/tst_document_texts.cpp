// Addresses typed for Open From Web.
#include "WebAddress.h"

#include <QtTest>

using namespace orvane;

class tst_DocumentTexts : public QObject {
    Q_OBJECT
private slots:
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
        QCOMPARE(webAddressFromAnswer(answer), address);
    }
};

QTEST_GUILESS_MAIN(tst_DocumentTexts)
#include "tst_document_texts.moc"
