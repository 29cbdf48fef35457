// The source pane: byte-exact text, QString positions, selection semantics,
// line endings of Enter and paste, search and tag colouring.
#include "SourcePane.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using orvane::SourcePane;

namespace {
constexpr quint32 kBlue = 0xFF0000;  // red in the lowest byte

// One character per QString position: 'T' when blue, '.' when black, '?' otherwise.
QString colourMap(SourcePane& pane)
{
    QString map;
    for (int i = 0; i < pane.TextLength(); ++i) {
        pane.setSelStart(i);
        pane.setSelLength(1);
        const quint32 c = pane.SelColor();
        map += c == kBlue ? u'T' : c == 0 ? u'.' : u'?';
    }
    return map;
}

}  // namespace

class TestSourcePane : public QObject {
    Q_OBJECT
private slots:
    void selection_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("after");

        QTest::newRow("mixed line ends and accents kept") << "a\r\nb\nc\rd\n\r é" << 0 << 0 << "" << "" << "a\r\nb\nc\rd\n\r é";
        QTest::newRow("empty") << "" << 0 << 0 << "" << "" << "";
        QTest::newRow("caret only inserts") << "abc" << 1 << 0 << "" << "<B>" << "a<B>bc";
        QTest::newRow("after an emoji") << "a😀bc" << 3 << 1 << "b" << "B" << "a😀Bc";
        QTest::newRow("emoji selected") << "a😀bc" << 1 << 2 << "😀" << "" << "abc";
        QTest::newRow("crlf counts two") << "a\r\nb\r\nc" << 3 << 1 << "b" << "\r\n" << "a\r\n\r\n\r\nc";
        QTest::newRow("lone cr counts one") << "a\rbc" << 2 << 1 << "b" << "x" << "a\rxc";
    }

    // Text read back is the text written, whatever its line ends; SelText
    // replaces the selection and leaves the caret right after the new text.
    void selection()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, selected);
        QFETCH(QString, replacement);
        QFETCH(QString, after);

        SourcePane pane;
        pane.setText(text);
        QCOMPARE(pane.Text(), text);
        QCOMPARE(pane.TextLength(), text.size());
        pane.setSelStart(start);
        QCOMPARE(pane.SelLength(), 0);
        pane.setSelLength(length);
        QCOMPARE(pane.SelStart(), start);
        QCOMPARE(pane.SelText(), selected);
        QCOMPARE(pane.SelLength(), selected.size());

        pane.setSelText(replacement);
        QCOMPARE(pane.Text(), after);
        QCOMPARE(pane.SelStart(), start + replacement.size());
        QCOMPARE(pane.SelLength(), 0);
    }

    void lineEndings_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("ending");
        QTest::newRow("crlf page") << "<P>\r\n</P>" << "\r\n";
        QTest::newRow("lf page") << "<P>\n</P>\r\n" << "\n";
        QTest::newRow("single line takes crlf") << "<P></P>" << "\r\n";
    }

    // Enter and paste write the page's own line ending at the caret.
    void lineEndings()
    {
        QFETCH(QString, page);
        QFETCH(QString, ending);

        SourcePane pane;
        pane.setText(page);
        pane.setSelStart(3);
        QTest::keyClick(&pane, Qt::Key_Return);
        QCOMPARE(pane.Text(), page.left(3) + ending + page.mid(3));

        pane.setText(page);
        pane.setSelStart(3);
        QApplication::clipboard()->setText(QStringLiteral("x\r\ny\nz"));
        pane.paste();
        QCOMPARE(pane.Text(), page.left(3) + "x" + ending + "y" + ending + "z" + page.mid(3));
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("found");

        QTest::newRow("ascii ignores case") << "<html><BODY>" << "body" << -1 << 7;
        QTest::newRow("non-ascii ignores case") << "Une ÉCOLE ici" << "école" << -1 << 4;
        QTest::newRow("after an emoji") << "😀😀abc" << "B" << -1 << 5;
        QTest::newRow("match must end by end") << "abcdef" << "def" << 5 << -1;
        QTest::newRow("empty needle") << "abcdef" << "" << -1 << -1;
    }

    // A match is selected; a miss leaves the selection as it was.
    void find()
    {
        QFETCH(QString, text);
        QFETCH(QString, needle);
        QFETCH(int, end);
        QFETCH(int, found);

        SourcePane pane;
        pane.setText(text);
        pane.setSelStart(1);
        pane.setSelLength(1);
        QCOMPARE(pane.Find(needle, 0, end), found);
        QCOMPARE(pane.SelStart(), found >= 0 ? found : 1);
        QCOMPARE(pane.SelLength(), found >= 0 ? needle.size() : 1);
    }

    void colorTags_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("map");
        QTest::newRow("tags and text") << "<P>ab</P>" << "TTT..TTTT";
        QTest::newRow("unclosed runs to the end") << "a<B c" << ".TTTT";
        QTest::newRow("stray closer is text") << "a>b<I>" << "...TTT";
        QTest::newRow("second opener inside a tag") << "<a<b>c" << "TTTTT.";
        QTest::newRow("emoji inside and after") << "<😀>😀" << "TTTT..";
    }

    // Colouring every tag also turns everything else black again.
    void colorTags()
    {
        QFETCH(QString, text);
        QFETCH(QString, map);

        SourcePane pane;
        pane.setText(text);
        pane.setSelStart(0);
        pane.setSelLength(pane.TextLength());
        pane.setSelColor(0x00FF00);
        pane.colorTags(kBlue, 0);
        QCOMPARE(colourMap(pane), map);
    }
};

QTEST_MAIN(TestSourcePane)
#include "tst_sourcepane.moc"
