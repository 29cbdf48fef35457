// Page files decode as they declare and encode back to the same bytes.

#include "PageCodec.h"

#include <QRandomGenerator>
#include <QTest>

using orvane::decodePage;
using orvane::encodePage;
using orvane::PageEncoding;

namespace {
QString rawByte(unsigned char b) {
    const char32_t cp = orvane::rawByteBase + b;
    return QString::fromUcs4(&cp, 1);
}
}  // namespace

class TestPageCodec : public QObject {
    Q_OBJECT
private slots:
    void decodes_data();
    void decodes();
    void encodesWhatTheEncodingLacks_data();
    void encodesWhatTheEncodingLacks();
    void arbitraryBytesRoundTrip_data();
    void arbitraryBytesRoundTrip();
};

void TestPageCodec::decodes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<QString>("text");

    QTest::newRow("undeclared ascii") << QByteArray("<p>a</p>\r\n") << QByteArray("UTF-8") << false
                                      << QString("<p>a</p>\r\n");
    QTest::newRow("utf-8 byte order mark")
        << QByteArray("\xEF\xBB\xBF<p>\xC3\xA9</p>") << QByteArray("UTF-8") << true
        << QString::fromUtf8("<p>é</p>");
    QTest::newRow("meta charset latin1 reads as windows-1252")
        << QByteArray("<head><meta charset=\"ISO-8859-1\"></head><p>\xE9\x80\x81") << QByteArray("windows-1252")
        << false << QString::fromUtf8("<head><meta charset=\"ISO-8859-1\"></head><p>é€") + QChar(0x81);
    QTest::newRow("upper-case http-equiv, unquoted charset")
        << QByteArray("<HTML><HEAD><META HTTP-EQUIV=Content-Type CONTENT=\"text/html; CHARSET=windows-1252\">\xE9")
        << QByteArray("windows-1252") << false
        << QString::fromUtf8("<HTML><HEAD><META HTTP-EQUIV=Content-Type CONTENT=\"text/html; CHARSET=windows-1252\">é");
    QTest::newRow("declaration in a comment is not one")
        << QByteArray("<!-- <meta charset=latin1> --><meta charset=utf-8>\xC3\xA9") << QByteArray("UTF-8")
        << false << QString::fromUtf8("<!-- <meta charset=latin1> --><meta charset=utf-8>é");
    QTest::newRow("declaration in server script is not one")
        << QByteArray("<% x = \"<meta charset=latin1>\" %><p>\xC3\xA9") << QByteArray("UTF-8") << false
        << QString::fromUtf8("<% x = \"<meta charset=latin1>\" %><p>é");
    QTest::newRow("meta after the body start is ignored")
        << QByteArray("<body><meta charset=koi8-r>\xC3\xA9") << QByteArray("UTF-8") << false
        << QString::fromUtf8("<body><meta charset=koi8-r>é");
    QTest::newRow("declared utf-16 in ascii means utf-8")
        << QByteArray("<meta charset=utf-16>\xC3\xA9") << QByteArray("UTF-8") << false
        << QString::fromUtf8("<meta charset=utf-16>é");
    QTest::newRow("xml declaration")
        << QByteArray("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<html>\xE9") << QByteArray("windows-1252")
        << false << QString::fromUtf8("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<html>é");
    QTest::newRow("invalid bytes in a utf-8 page are carried")
        << QByteArray("<meta charset=utf-8>caf\xE9 \xC3\xA9 \xE2\x82 \xF8") << QByteArray("UTF-8") << false
        << QString::fromUtf8("<meta charset=utf-8>caf") + rawByte(0xE9) + QString::fromUtf8(" é ") + rawByte(0xE2) +
               rawByte(0x82) + " " + rawByte(0xF8);
    QTest::newRow("overlong and surrogate forms are invalid")
        << QByteArray("<meta charset=utf-8>\xC0\xAF\xED\xA0\x80") << QByteArray("UTF-8") << false
        << QString("<meta charset=utf-8>") + rawByte(0xC0) + rawByte(0xAF) + rawByte(0xED) + rawByte(0xA0) + rawByte(0x80);
    QTest::newRow("a valid reserved code point is carried as bytes")
        << QByteArray("\xC3\xA9\xF4\x8F\xB4\x80") << QByteArray("UTF-8") << false
        << QString::fromUtf8("é") + rawByte(0xF4) + rawByte(0x8F) + rawByte(0xB4) + rawByte(0x80);
    QTest::newRow("undeclared legacy bytes read as windows-1252")
        << QByteArray("<p>caf\xE9 na\xEFve \x93quoted\x94</p>") << QByteArray("windows-1252") << false
        << QString::fromUtf8("<p>café naïve “quoted”</p>");
    QTest::newRow("utf-16le with lone surrogate and odd byte")
        << QByteArray("\xFF\xFE<\x00p\x00\x00\xD8>\x00!", 11) << QByteArray("UTF-16LE") << true
        << QString("<p") + QChar(0xD800) + ">" + rawByte('!');
    QTest::newRow("utf-16be")
        << QByteArray("\xFE\xFF\x00<\x00\xE9\xD8\x3D\xDE\x00", 10) << QByteArray("UTF-16BE") << true
        << QString::fromUtf8("<é😀");
    QTest::newRow("shift_jis with one broken line")
        << QByteArray("<meta charset=shift_jis>\n\x82\xA0\n<p>\x82\xFFx</p>\n")
        << QByteArray("shift_jis") << false
        << QString::fromUtf8("<meta charset=shift_jis>\nあ\n<p>") + rawByte(0x82) + rawByte(0xFF) + "x</p>\n";
}

void TestPageCodec::decodes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, encoding);
    QFETCH(bool, bom);
    QFETCH(QString, text);
    const orvane::DecodedPage page = decodePage(bytes);
    QCOMPARE(page.encoding.name, encoding);
    QCOMPARE(page.encoding.bom, bom);
    QCOMPARE(page.text, text);
    QCOMPARE(encodePage(page.text, page.encoding), bytes);
}

void TestPageCodec::encodesWhatTheEncodingLacks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("windows-1252 references outside characters")
        << QString::fromUtf8("é€ あ😀") << QByteArray("windows-1252") << QByteArray("\xE9\x80 &#12354;&#128512;");
    QTest::newRow("latin1 label writes windows-1252")
        << QString::fromUtf8("“é”") << QByteArray("ISO-8859-1") << QByteArray("\x93\xE9\x94");
    QTest::newRow("koi8-r references what it lacks")
        << QString::fromUtf8("Жé") << QByteArray("KOI8-R") << QByteArray("\xF6&#233;");
    QTest::newRow("unknown name writes utf-8") << QString::fromUtf8("é") << QByteArray("no-such-codec")
                                               << QByteArray("\xC3\xA9");
}

void TestPageCodec::encodesWhatTheEncodingLacks() {
    QFETCH(QString, text);
    QFETCH(QByteArray, encoding);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodePage(text, PageEncoding{encoding, false}), bytes);
}

void TestPageCodec::arbitraryBytesRoundTrip_data() {
    QTest::addColumn<QByteArray>("prefix");
    QTest::newRow("undeclared") << QByteArray();
    QTest::newRow("utf-8") << QByteArray("<meta charset=utf-8>");
    QTest::newRow("windows-1252") << QByteArray("<meta charset=latin1>");
    QTest::newRow("shift_jis") << QByteArray("<meta charset=shift_jis>\n");
    QTest::newRow("euc-kr") << QByteArray("<meta charset=euc-kr>\n");
    QTest::newRow("utf-16le") << QByteArray("\xFF\xFE");
}

// Random bytes, mostly ASCII with bursts of high bytes and line breaks,
// must come back unchanged whatever the declared encoding.
void TestPageCodec::arbitraryBytesRoundTrip() {
    QFETCH(QByteArray, prefix);
    QRandomGenerator rng(20261206);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes = prefix;
        const int len = rng.bounded(1, 300);
        for (int i = 0; i < len; ++i) {
            const int kind = rng.bounded(10);
            bytes += kind < 6 ? char(rng.bounded(0x20, 0x7F)) : kind < 7 ? '\n' : char(rng.bounded(0x80, 0x100));
        }
        const orvane::DecodedPage page = decodePage(bytes);
        QCOMPARE(encodePage(page.text, page.encoding).toHex(' '), bytes.toHex(' '));
    }
}

QTEST_GUILESS_MAIN(TestPageCodec)
#include "tst_pagecodec.moc"
