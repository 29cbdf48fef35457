// The main window with its real surfaces and source pane: start-up state, the
// tab switch through real mouse clicks on the tabs, the mode flag, the source
// colouring and the hand-over of typed source text to the design surface.

#include "TestMain.h"
#include "platform/sourcepane/SourcePane.h"
#include "platform/surface/Surface.h"
#include "shell/TabStrip.h"
#include "shell/mainFrm.h"

#include <QComboBox>
#include <QFrame>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>

namespace {

constexpr quint32 kBlue = 16711680;
const QString kSurfaceName = QStringLiteral("Microsoft DHTML Editing Control");
const QString kEditorName = QStringLiteral("Kestrova Editor v.1.5");

// The frame of the three that is in front.
int frontFrame(const mainFrm& w)
{
    const QObjectList& order = w.children();
    int front = -1;
    qsizetype best = -1;
    for (int i = 0; i < 3; ++i)
        if (const qsizetype at = order.indexOf(w.Frame1(i)); at > best) {
            best = at;
            front = i;
        }
    return front;
}

void clickTab(mainFrm& w, int index)
{
    QTabBar* bar = w.TabStrip1()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// 'T' for each character inside a tag ("<" up to the next ">"), '.' elsewhere.
QString expectedColours(const QString& text)
{
    QString map;
    bool inTag = false;
    for (QChar c : text) {
        if (!inTag && c == u'<')
            inTag = true;
        map += inTag ? u'T' : u'.';
        if (inTag && c == u'>')
            inTag = false;
    }
    return map;
}

QString actualColours(orvane::SourcePane* pane)
{
    QString map;
    const int n = pane->TextLength();
    for (int i = 0; i < n; ++i) {
        pane->setSelStart(i);
        pane->setSelLength(1);
        const quint32 c = pane->SelColor();
        map += c == kBlue ? u'T' : c == 0 ? u'.' : u'?';
    }
    return map;
}

QString page(const QString& body)
{
    return QStringLiteral("<HTML><HEAD>\r\n<META NAME=\"GENERATOR\" CONTENT=\"%1\">\r\n"
                          "<TITLE>t</TITLE>\r\n</HEAD>\r\n<BODY>\r\n%2\r\n</BODY>\r\n</HTML>\r\n")
        .arg(kSurfaceName, body);
}

}  // namespace

class TestMainFrm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startState();
    void tabSwitch_data();
    void tabSwitch();
    void sourceTabOnNewPage();
    void typedSourceReachesDesignSurface();
    void longPageColouredAndReplaced();

private:
    mainFrm* m_window = nullptr;
};

void TestMainFrm::init()
{
    m_window = new mainFrm;
    QSignalSpy ready(m_window->DHTMLEdit1(), &orvane::Surface::DocumentComplete);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTRY_VERIFY_WITH_TIMEOUT(ready.count() > 0 || !m_window->DHTMLEdit1()->DocumentHTML().isEmpty(),
                             10000);
}

void TestMainFrm::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestMainFrm::startState()
{
    mainFrm& w = *m_window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Orvane Editor 1.5"));
    QTabBar* bar = w.TabStrip1()->tabBar();
    QCOMPARE(bar->count(), 3);
    QCOMPARE(bar->tabText(0), QStringLiteral("Edit"));
    QCOMPARE(bar->tabText(1), QStringLiteral("Source"));
    QCOMPARE(bar->tabText(2), QStringLiteral("View"));
    QCOMPARE(frontFrame(w), 0);
    QVERIFY(!w.isSourceMode());
    QVERIFY(w.rch()->isHidden());
    QCOMPARE(w.rch()->parentWidget(), w.Frame1(1));
    QCOMPARE(w.DHTMLEdit1()->parentWidget(), w.Frame1(0));
    QCOMPARE(w.DHTMLEdit2()->parentWidget(), w.Frame1(2));

    QCOMPARE(w.FontCombo()->currentText(), QStringLiteral("Alberta"));
    QCOMPARE(w.FontSizeCombo()->currentText(), QStringLiteral("1"));

    QVERIFY(!w.StatusBar1()->isHidden());
    for (const char* name : {"panel_1", "panel_2", "FontCombo", "FontSizeCombo", "Picture2",
                             "Picture3", "Label2", "Label55", "Image1"}) {
        auto* piece = w.findChild<QWidget*>(QLatin1String(name));
        QVERIFY2(piece && !piece->isHidden(), name);
        QVERIFY2(piece->x() >= w.TabStrip1()->geometry().right(), name);
    }
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("Label54"))->isHidden());
}

void TestMainFrm::tabSwitch_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("Edit") << 0;
    QTest::newRow("Source") << 1;
    QTest::newRow("View") << 2;
}

// Every tab, clicked once or again while current, brings its frame to the
// front, refreshes the source from the design surface (and the preview when
// it comes to the front) and makes Source mode current.
void TestMainFrm::tabSwitch()
{
    QFETCH(int, tab);
    mainFrm& w = *m_window;
    w.DHTMLEdit1()->setDocumentHTML(page(QStringLiteral("<P>first marker</P>")));

    for (const QString& marker : {QStringLiteral("first marker"), QStringLiteral("second marker")}) {
        if (marker.startsWith(u's')) {
            w.DHTMLEdit1()->setDocumentHTML(page(QStringLiteral("<P>second marker</P>")));
            w.rch()->hide();  // as when the pointer crosses the design surface
        }
        QVERIFY(!w.isSourceMode());
        clickTab(w, tab);
        QCOMPARE(w.TabStrip1()->selectedIndex(), tab);
        QCOMPARE(frontFrame(w), tab);
        QVERIFY(w.isSourceMode());
        const QString source = w.rch()->Text();
        QVERIFY2(source.contains(marker), qPrintable(source));
        QVERIFY(source.contains(kEditorName));
        QVERIFY(!source.contains(kSurfaceName));
        if (tab == 2)
            QVERIFY(w.DHTMLEdit2()->DocumentHTML().contains(marker));
        QVERIFY(w.DHTMLEdit1()->DocumentHTML().contains(kSurfaceName));
        // Nothing is left selected for the next insertion to overwrite.
        QCOMPARE(w.rch()->SelLength(), 0);
    }
}

void TestMainFrm::sourceTabOnNewPage()
{
    mainFrm& w = *m_window;
    clickTab(w, 1);
    QVERIFY(w.isSourceMode());
    const QString source = w.rch()->Text();
    QVERIFY2(source.contains(u'<'), qPrintable(source));
    QCOMPARE(actualColours(w.rch()), expectedColours(source));

    const auto lines = source.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    const auto generator = std::find_if(lines.begin(), lines.end(), [](const QString& line) {
        return line.contains(QStringLiteral("GENERATOR"), Qt::CaseInsensitive);
    });
    QVERIFY2(generator != lines.end(), qPrintable(source));
    QVERIFY2(generator->contains(kEditorName), qPrintable(*generator));
}

// Typing in the source and clicking "Edit" with the mouse hands the text to
// the design surface before the switch reads it back.
void TestMainFrm::typedSourceReachesDesignSurface()
{
    mainFrm& w = *m_window;
    w.DHTMLEdit1()->setDocumentHTML(page(QStringLiteral("<P>start</P>")));
    clickTab(w, 1);
    orvane::SourcePane* rch = w.rch();
    rch->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(rch->hasFocus());
    const int at = rch->Text().indexOf(QStringLiteral("start"));
    QVERIFY(at > 0);
    rch->setSelStart(at);
    QTest::keyClicks(rch, QStringLiteral("typed words "));
    QVERIFY(rch->Text().contains(QStringLiteral("typed words start")));

    clickTab(w, 0);
    QCOMPARE(frontFrame(w), 0);
    QVERIFY2(w.DHTMLEdit1()->DocumentHTML().contains(QStringLiteral("typed words start")),
             qPrintable(w.DHTMLEdit1()->DocumentHTML()));
    QVERIFY(rch->Text().contains(QStringLiteral("typed words start")));
}

// Pages far beyond 16-bit positions are replaced and coloured to the end.
void TestMainFrm::longPageColouredAndReplaced()
{
    mainFrm& w = *m_window;
    QString body;
    for (int i = 0; i < 4000; ++i)
        body += QStringLiteral("<P CLASS=\"c%1\">row %1 text</P>\r\n").arg(i);
    body += QStringLiteral("<P>made with %1</P>").arg(kSurfaceName);
    w.DHTMLEdit1()->setDocumentHTML(page(body));
    clickTab(w, 1);

    orvane::SourcePane* rch = w.rch();
    QVERIFY(w.isSourceMode());
    const QString source = rch->Text();
    QVERIFY(source.size() > 100000);
    QVERIFY(!source.contains(kSurfaceName));
    QCOMPARE(source.count(kEditorName), 2);

    const int lastTag = int(source.lastIndexOf(u'<'));
    const int lastText = int(source.lastIndexOf(QStringLiteral("made with")));
    for (const auto& [pos, colour] : {std::pair{lastTag, kBlue}, std::pair{lastTag + 2, kBlue},
                                      std::pair{lastText, quint32(0)}}) {
        rch->setSelStart(pos);
        rch->setSelLength(1);
        QCOMPARE(rch->SelColor(), colour);
    }
}

ORVANE_TEST_MAIN(TestMainFrm)
#include "tst_mainfrm.moc"
