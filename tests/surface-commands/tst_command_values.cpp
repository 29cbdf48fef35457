// The checks and conversions of command values.
#include "SurfaceCommandsValues.h"
#include "SurfaceTypes.h"

#include <QtTest>

using namespace orvane;
using namespace orvane::commands;

class tst_CommandValues : public QObject {
    Q_OBJECT
private slots:
    void colours_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");   // empty: refused
        QTest::newRow("lower hex") << QVariant("#0c0b0a") << "#0C0B0A";
        QTest::newRow("short hex") << QVariant("#0f0") << "#00FF00";
        QTest::newRow("name") << QVariant("navy") << "#000080";
        QTest::newRow("blanks around") << QVariant(" #123456 ") << "#123456";
        QTest::newRow("no hash") << QVariant("FF0000") << "";
        QTest::newRow("word") << QVariant("notacolour") << "";
        QTest::newRow("with alpha") << QVariant("#80FF0000") << "";
    }

    void colours()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        if (expected.isEmpty())
            QVERIFY_THROWS_EXCEPTION(SurfaceError, htmlColor(value));
        else
            QCOMPARE(htmlColor(value), expected);
    }

    void fontSizes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("expected");   // 0: refused
        QTest::newRow("1") << QVariant(1) << 1;
        QTest::newRow("text 7") << QVariant(" 7 ") << 7;
        QTest::newRow("0") << QVariant(0) << 0;
        QTest::newRow("8") << QVariant(8) << 0;
        QTest::newRow("fraction") << QVariant("2.5") << 0;
    }

    void fontSizes()
    {
        QFETCH(QVariant, value);
        QFETCH(int, expected);
        if (expected)
            QCOMPARE(htmlFontSize(value), expected);
        else
            QVERIFY_THROWS_EXCEPTION(SurfaceError, htmlFontSize(value));
    }

    void tableEntries_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("2 by 3") << QVariant::fromValue(TableParam{2, 3, "Border=\"1\"", "valign=\"top\"", {}}) << true;
        QTest::newRow("no rows") << QVariant::fromValue(TableParam{0, 3, {}, {}, {}}) << false;
        QTest::newRow("negative columns") << QVariant::fromValue(TableParam{2, -1, {}, {}, {}}) << false;
        QTest::newRow("too many cells") << QVariant::fromValue(TableParam{100000, 1000, {}, {}, {}}) << false;
        QTest::newRow("not a table parameter") << QVariant(QString("2,2")) << false;
    }

    void tableEntries()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, accepted);
        if (!accepted) {
            QVERIFY_THROWS_EXCEPTION(SurfaceError, tableEntry(value));
            return;
        }
        const QJsonObject params = tableEntry(value);
        QCOMPARE(params.value("rows").toInt(), 2);
        QCOMPARE(params.value("cols").toInt(), 3);
        QCOMPARE(params.value("tableAttrs").toString(), QString("Border=\"1\""));
        QCOMPARE(params.value("cellAttrs").toString(), QString("valign=\"top\""));
    }

    void clipboardHtml_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("fragment marks") << "<html><body><!--StartFragment--><b>x</b><!--EndFragment--></body></html>"
                                        << "<b>x</b>";
        QTest::newRow("whole document") << "<html><head><title>t</title></head><body class=a><i>y</i></body></html>"
                                        << "<i>y</i>";
        QTest::newRow("charset meta first") << "<meta charset=\"utf-8\"><p>z</p>" << "<p>z</p>";
    }

    void clipboardHtml()
    {
        QFETCH(QString, html);
        QFETCH(QString, fragment);
        QCOMPARE(fragmentFromClipboardHtml(html), fragment);
    }

    void plainText()
    {
        QCOMPARE(htmlFromPlainText("a < b & c\r\nnext\nlast"), QString("a &lt; b &amp; c<BR>next<BR>last"));
    }
};

QTEST_GUILESS_MAIN(tst_CommandValues)
#include "tst_command_values.moc"
