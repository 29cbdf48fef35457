// The checks and conversions of command values.
#include "SurfaceCommandsValues.h"
#include "SurfaceTypes.h"

#include <QtTest>

using namespace orvane;
using namespace orvane::commands;

class tst_CommandValues : public QObject {
    Q_OBJECT
private slots:
    void colours_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lower hex") << "#0c0b0a" << "#0C0B0A";
        QTest::newRow("short hex") << "#0f0" << "#00FF00";
        QTest::newRow("name") << "navy" << "#000080";
        QTest::newRow("blanks around") << " #123456 " << "#123456";
    }

    void colours() {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QCOMPARE(htmlColor(value), expected);
    }

    void refused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("colour without hash") << "colour" << QVariant("FF0000");
        QTest::newRow("colour word") << "colour" << QVariant("notacolour");
        QTest::newRow("colour with alpha") << "colour" << QVariant("#80FF0000");
        QTest::newRow("size 0") << "size" << QVariant(0);
        QTest::newRow("size fraction") << "size" << QVariant("2.5");
        QTest::newRow("table of no rows") << "table" << QVariant::fromValue(TableParam{0, 3, {}, {}, {}});
        QTest::newRow("table of too many cells") << "table" << QVariant::fromValue(TableParam{100000, 1000, {}, {}, {}});
        QTest::newRow("not a table parameter") << "table" << QVariant(QString("2,2"));
    }

    void refused() {
        QFETCH(QString, kind);
        QFETCH(QVariant, value);
        try {
            kind == "colour" ? void(htmlColor(value)) : kind == "size" ? void(htmlFontSize(value)) : void(tableEntry(value));
            QFAIL("accepted");
        } catch (const SurfaceError& e) {
            QCOMPARE(e.number(), SurfaceErrorNumber::InvalidArgument);
        }
    }

    void clipboardHtml_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("fragment marks") << "<html><body><!--StartFragment--><b>x</b><!--EndFragment--></body></html>"
                                        << "<b>x</b>";
        QTest::newRow("whole document") << "<html><head><title>t</title></head><body class=a><i>y</i></body></html>"
                                        << "<i>y</i>";
        QTest::newRow("charset meta first") << "<meta charset=\"utf-8\"><p>z</p>" << "<p>z</p>";
    }

    void clipboardHtml() {
        QFETCH(QString, html);
        QFETCH(QString, fragment);
        QCOMPARE(fragmentFromClipboardHtml(html), fragment);
    }
};

QTEST_GUILESS_MAIN(tst_CommandValues)
#include "tst_command_values.moc"
