// The source pane: byte-exact text, QString positions, selection semantics,
// line endings of Enter and paste, search, tag colouring and its signals.

#include "platform/sourcepane/SourcePane.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using orvane::SourcePane;

namespace {
constexpr quint32 kBlue = 0xFF0000;  // red in the lowest byte

// One character per QString position: 'T' when blue, '.' when black, '?' otherwise.
QString colourMap(SourcePane& pane)
{
    QString map;
    const int n = pane.TextLength();
    for (int i = 0; i < n; ++i) {
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
    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("crlf") << QStringLiteral("<HTML>\r\n<BODY>\r\n</BODY>\r\n</HTML>\r\n");
        QTest::newRow("lone cr") << QStringLiteral("a\rb\r\rc");
        QTest::newRow("mixed endings") << QStringLiteral("a\r\nb\nc\rd\n\r");
        QTest::newRow("emoji and accents") << QStringLiteral("<P>école 😀 naïve</P>\r\n");
        QTest::newRow("tabs and trailing blanks") << QStringLiteral("\t<B>  x  </B>   \r\n  ");
        QTest::newRow("empty") << QString();
    }

    // Text read back is the text written, whatever its line ends.
    void roundTrip()
    {
        QFETCH(QString, text);
        SourcePane pane;
        pane.setText(text);
        QCOMPARE(pane.Text(), text);
        QCOMPARE(pane.TextLength(), text.size());
    }

    void selection_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("after");

        QTest::newRow("ascii") << "abcdef" << 2 << 2 << "cd" << "XYZ" << "abXYZef";
        QTest::newRow("caret only inserts") << "abc" << 1 << 0 << "" << "<B>" << "a<B>bc";
        QTest::newRow("after an emoji") << "a😀bc" << 3 << 1 << "b" << "B" << "a😀Bc";
        QTest::newRow("emoji selected") << "a😀bc" << 1 << 2 << "😀" << "" << "abc";
        QTest::newRow("crlf counts two") << "a\r\nb\r\nc" << 3 << 1 << "b" << "\r\n" << "a\r\n\r\n\r\nc";
        QTest::newRow("lone cr counts one") << "a\rbc" << 2 << 1 << "b" << "x" << "a\rxc";
        QTest::newRow("past the end clamps") << "abc" << 1 << 50 << "bc" << "Z" << "aZ";
        QTest::newRow("accented") << "façade" << 2 << 2 << "ça" << "CA" << "faCAde";
    }

    // SelText replaces the selection and leaves the caret right after the new text.
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
        QTest::newRow("cr page") << "<P>\r</P>" << "\r";
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
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("found");

        QTest::newRow("ascii ignores case") << "<html><BODY>" << "body" << 0 << -1 << 7;
        QTest::newRow("non-ascii ignores case") << "Une ÉCOLE ici" << "école" << 0 << -1 << 4;
        QTest::newRow("after an emoji") << "😀😀abc" << "B" << 0 << -1 << 5;
        QTest::newRow("from start skips earlier") << "ab ab ab" << "ab" << 1 << -1 << 3;
        QTest::newRow("match must end by end") << "abcdef" << "def" << 0 << 5 << -1;
        QTest::newRow("missing") << "abcdef" << "xyz" << 0 << -1 << -1;
        QTest::newRow("empty needle") << "abcdef" << "" << 0 << -1 << -1;
    }

    // A match is selected; a miss leaves the selection as it was.
    void find()
    {
        QFETCH(QString, text);
        QFETCH(QString, needle);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, found);

        SourcePane pane;
        pane.setText(text);
        pane.setSelStart(1);
        pane.setSelLength(1);
        QCOMPARE(pane.Find(needle, start, end), found);
        if (found >= 0) {
            QCOMPARE(pane.SelStart(), found);
            QCOMPARE(pane.SelText().toCaseFolded(), needle.toCaseFolded());
        } else {
            QCOMPARE(pane.SelStart(), 1);
            QCOMPARE(pane.SelLength(), 1);
        }
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
        QTest::newRow("crlf between tags") << "<P>\r\n<B>" << "TTT..TTT";
        QTest::newRow("no tags") << "plain" << ".....";
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

    // The Windows colour encoding reaches the screen: 0xFF0000 paints blue, not red.
    void tagsRenderBlue()
    {
        SourcePane pane;
        pane.resize(300, 80);
        pane.setText(QStringLiteral("<TABLE BORDER WIDTH HEIGHT>"));
        pane.colorTags(kBlue, 0);
        const QImage image = pane.grab().toImage();
        int blue = 0, red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                blue += c.blue() > 150 && c.red() < 100;
                red += c.red() > 150 && c.blue() < 100;
            }
        QVERIFY2(blue > 20, qPrintable(QString::number(blue)));
        QCOMPARE(red, 0);
    }

    // LostFocus when another widget of the window takes the focus; MouseMove over the text.
    void focusAndMouseSignals()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* pane = new SourcePane;
        auto* other = new QLineEdit;
        layout->addWidget(pane);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QSignalSpy lost(pane, &SourcePane::LostFocus);
        QSignalSpy moved(pane, &SourcePane::MouseMove);
        pane->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(pane->hasFocus());
        QCOMPARE(lost.count(), 0);
        other->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(lost.count(), 1);

        QTest::mouseMove(pane->viewport(), QPoint(20, 10));
        QTest::mouseMove(pane->viewport(), QPoint(30, 12));
        QTRY_VERIFY(moved.count() > 0);
    }
};

QTEST_MAIN(TestSourcePane)
#include "tst_sourcepane.moc"
