// Addresses typed for Open From Web, and colour text.
#include "shell/lifecycle/WebAddress.h"
#include "wizards/clrfrm/ColorToHex.h"

#include <QtTest>

using namespace orvane;

class tst_DocumentTexts : public QObject {
    Q_OBJECT
private slots:
    void webAddress_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("address");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("blanks") << "   " << "";
        QTest::newRow("default left as it is") << "HTTP:\\\\" << "";
        QTest::newRow("scheme with slashes only") << "http://" << "";
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

    void colorText_data()
    {
        QTest::addColumn<uint>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("red") << 255u << "#FF0000";
        QTest::newRow("blue keeps six digits") << 16711680u << "#0000FF";
        QTest::newRow("black") << 0u << "#000000";
        QTest::newRow("dark bytes keep leading zeros") << 0x0A0B0Cu << "#0C0B0A";
        QTest::newRow("white") << 0xFFFFFFu << "#FFFFFF";
    }

    void colorText()
    {
        QFETCH(uint, value);
        QFETCH(QString, text);
        QCOMPARE(ColorToHex(value), text);
        // The same colour reached from a QColor, as the colour dialog gives it.
        const QColor c(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
        QCOMPARE(ColorToHex(colorValue(c)), text);
    }
};

QTEST_GUILESS_MAIN(tst_DocumentTexts)
#include "tst_document_texts.moc"
