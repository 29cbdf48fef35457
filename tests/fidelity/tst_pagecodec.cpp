// Page files decode as they declare and encode back to the same bytes.

#include "PageCodec.h"

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
    void editKeepsTheRestOfThePage_data();
    void editKeepsTheRestOfThePage();
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
    QTest::newRow("declaration in a comment is not one")
        << QByteArray("<!-- <meta charset=latin1> --><meta charset=utf-8>\xC3\xA9") << QByteArray("UTF-8")
        << false << QString::fromUtf8("<!-- <meta charset=latin1> --><meta charset=utf-8>é");
    QTest::newRow("declaration in server script is not one")
        << QByteArray("<% x = \"<meta charset=latin1>\" %><p>\xC3\xA9") << QByteArray("UTF-8") << false
        << QString::fromUtf8("<% x = \"<meta charset=latin1>\" %><p>é");
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
    // The converter reads 0x1A, 0x1C and 0x7F as other control characters.
    QTest::newRow("shift_jis broken line keeps its swapped control bytes")
        << QByteArray("<meta charset=\" Shift-JIS \">\n\x82\xA0\n<p>\x82\xFF\x1A\x1C\x7F</p>\n") << QByteArray("Shift_JIS")
        << false
        << QString::fromUtf8("<meta charset=\" Shift-JIS \">\nあ\n<p>") + rawByte(0x82) + rawByte(0xFF) + rawByte(0x1A) +
               rawByte(0x1C) + rawByte(0x7F) + "</p>\n";
    QTest::newRow("iso-2022-jp, a broken line keeps its escapes as bytes")
        << QByteArray("<meta charset=iso-2022-jp><p>\x1B$BF|K\\\x1B(B.</p>\n<p>\x1B$B\x1B(B\x1B$@x</p>\n")
        << QByteArray("ISO-2022-JP") << false
        << QString::fromUtf8("<meta charset=iso-2022-jp><p>日本.</p>\n<p>") + rawByte(0x1B) + "$B" + rawByte(0x1B) + "(B" +
               rawByte(0x1B) + "$@x</p>\n";
    // Labels the browsers do not know are passed over: the page reads as undeclared.
    QTest::newRow("utf32, utf7, 37 and hz are no labels")
        << QByteArray("<meta charset=utf32><meta charset=utf7><meta charset=37><meta charset=hz-gb-2312>\xC3\xA9 +AGE- ~{VP~}")
        << QByteArray("UTF-8") << false
        << QString::fromUtf8("<meta charset=utf32><meta charset=utf7><meta charset=37><meta charset=hz-gb-2312>é +AGE- ~{VP~}");
    QTest::newRow("utf16 is no label: not read as utf-16")
        << QByteArray("<meta charset=utf16><p>\xE9t\xE9</p>") << QByteArray("windows-1252") << false
        << QString::fromUtf8("<meta charset=utf16><p>été</p>");
    QTest::newRow("label with white space and upper case")
        << QByteArray("<meta charset=\"\tKOI8-R \">\xF6") << QByteArray("KOI8-R") << false
        << QString::fromUtf8("<meta charset=\"\tKOI8-R \">Ж");
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

void TestPageCodec::editKeepsTheRestOfThePage_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("after");  // text the typing goes after
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("saved");
    const QByteArray jp("<meta charset=iso-2022-jp>\n<p>\x1B$BF|K\\\x1B(B</p>\n<p>\x1B$BK\\\x1B(B end</p>\n");
    QTest::newRow("iso-2022-jp: euro in ascii text")
        << jp << QString("end") << QString::fromUtf8(" €")
        << QByteArray("<meta charset=iso-2022-jp>\n<p>\x1B$BF|K\\\x1B(B</p>\n<p>\x1B$BK\\\x1B(B end &#8364;</p>\n");
    QTest::newRow("iso-2022-jp: euro after kanji")
        << jp << QString::fromUtf8("日") << QString::fromUtf8("€")
        << QByteArray("<meta charset=iso-2022-jp>\n<p>\x1B$BF|\x1B(B&#8364;\x1B$BK\\\x1B(B</p>\n<p>\x1B$BK\\\x1B(B end</p>\n");
    QTest::newRow("windows-1252: characters outside it")
        << QByteArray("<meta charset=latin1><p>\xE9</p>") << QString::fromUtf8("é") << QString::fromUtf8("€あ😀")
        << QByteArray("<meta charset=latin1><p>\xE9\x80&#12354;&#128512;</p>");
    QTest::newRow("koi8-r: a latin letter") << QByteArray("<meta charset=koi8-r>\xF6") << QString::fromUtf8("Ж")
                                            << QString::fromUtf8("é") << QByteArray("<meta charset=koi8-r>\xF6&#233;");
    QTest::newRow("shift_jis with a broken line")
        << QByteArray("<meta charset=shift_jis>\n<p>\x82\xA0</p>\n<p>\x82\xFF\x1A</p>\n") << QString::fromUtf8("あ")
        << QString::fromUtf8("€")
        << QByteArray("<meta charset=shift_jis>\n<p>\x82\xA0&#8364;</p>\n<p>\x82\xFF\x1A</p>\n");
}

// Typing a character the encoding lacks writes a reference there and leaves
// every other byte of the page as it was.
void TestPageCodec::editKeepsTheRestOfThePage() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, after);
    QFETCH(QString, typed);
    QFETCH(QByteArray, saved);
    orvane::DecodedPage page = decodePage(bytes);
    const qsizetype at = page.text.indexOf(after);
    QVERIFY(at >= 0);
    page.text.insert(at + after.size(), typed);
    QCOMPARE(encodePage(page.text, page.encoding), saved);
}

QTEST_GUILESS_MAIN(TestPageCodec)
#include "tst_pagecodec.moc"
