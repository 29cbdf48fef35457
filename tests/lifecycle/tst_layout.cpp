// The main window's layout: the size sets, the side-bar pieces following the
// tab strip, the close areas and "Show Side Bars", and refused negative sizes.
#include "TestMain.h"
#include "shell/layout/SideBars.h"

#include <QLabel>

using namespace orvane;

namespace {

constexpr int kTw = 15;  // twips per pixel
int px(int twips) { return (twips + kTw / 2) / kTw; }

// A window with the named pieces the layout works on, at their design places.
struct LayoutWindow {
    QWidget window;
    QHash<QString, QWidget*> w;

    LayoutWindow()
    {
        auto add = [this](const char* name, QWidget* parent, int l, int t, int wd, int h) {
            auto* c = new QLabel(parent);
            c->setObjectName(QLatin1String(name));
            c->setGeometry(px(l), px(t), px(wd), px(h));
            w[QLatin1String(name)] = c;
            return c;
        };
        add("TabStrip1", &window, 0, 240, 7095, 7995);
        for (int i = 0; i < 3; ++i) {
            QWidget* frame = add("", &window, 30, 600, 7000, 7500);
            frame->setObjectName(QStringLiteral("Frame1(%1)").arg(i));
            w[frame->objectName()] = frame;
            if (i == 0) add("DHTMLEdit1", frame, 10, 10, 6000, 6000);
            if (i == 1) add("rch", frame, 5, 10, 6000, 6000);
            if (i == 2) add("DHTMLEdit2", frame, 5, 10, 6000, 6000);
        }
        add("panel_1", &window, 9480, 360, 1725, 3390);
        add("FontCombo", &window, 9720, 775, 1335, 330);
        add("FontSizeCombo", &window, 9690, 1100, 1335, 330);
        add("Picture2", &window, 9690, 1460, 1335, 2055);
        add("Label2", &window, 10800, 480, 255, 255);
        add("panel_2", &window, 9480, 3960, 1725, 3390);
        add("Picture3", &window, 9720, 4440, 1215, 2535);
        add("Label55", &window, 10800, 4080, 255, 255);
        add("Image1", &window, 9600, 7440, 300, 300);
        add("Label54", &window, 8760, 0, 1335, 255)->hide();
        add("StatusBar1", &window, 0, 8385, 11265, 240);
    }
    QWidget* operator[](const char* name) const { return w.value(QLatin1String(name)); }
};

void click(QWidget* label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

}  // namespace

class tst_Layout : public QObject {
    Q_OBJECT
private slots:
    void closingAndShowingSideBars_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("wide");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<bool>("lower");
        QTest::addColumn<bool>("showSideBars");  // Label54 visible
        QTest::newRow("start") << QStringList{} << false << true << true << false;
        QTest::newRow("upper closed") << QStringList{"Label2"} << false << false << true << true;
        QTest::newRow("lower closed") << QStringList{"Label55"} << false << true << false << true;
        QTest::newRow("both closed") << QStringList{"Label2", "Label55"} << true << false << false << true;
        QTest::newRow("both closed, other order") << QStringList{"Label55", "Label2"} << true << false << false << true;
        QTest::newRow("one closed, then shown") << QStringList{"Label2", "Label54"} << false << true << true << false;
        QTest::newRow("both closed, then shown") << QStringList{"Label2", "Label55", "Label54"} << false << true << true << false;
        QTest::newRow("both closed, then resized") << QStringList{"Label2", "Label55", "resize"} << true << false << false << true;
    }

    void closingAndShowingSideBars()
    {
        QFETCH(QStringList, clicks);
        QFETCH(bool, wide);
        QFETCH(bool, upper);
        QFETCH(bool, lower);
        QFETCH(bool, showSideBars);
        LayoutWindow lw;
        lw.window.resize(px(11265), px(8625));
        SideBars bars(&lw.window);
        lw.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lw.window));
        for (const QString& c : clicks) {
            if (c == "resize") {
                lw.window.resize(px(14000), px(9000));
                QTRY_COMPARE(lw.window.width(), px(14000));
            } else {
                click(lw.w.value(c));
            }
        }
        const int W = lw.window.width() * kTw;
        const int H = lw.window.height() * kTw;
        // The layout's margins in twips: 2100 / 2600 beside the side bars, 400 / 800 without.
        QCOMPARE(lw["TabStrip1"]->width(), px(W - (wide ? 400 : 2100)));
        QCOMPARE(lw["TabStrip1"]->height(), px(H - 850));
        for (const char* name : {"Frame1(0)", "Frame1(1)", "Frame1(2)", "rch", "DHTMLEdit1", "DHTMLEdit2"}) {
            QCOMPARE(lw[name]->width(), px(W - (wide ? 800 : 2600)));
            QCOMPARE(lw[name]->height(), px(H - 990));
        }
        QCOMPARE(!lw["panel_1"]->isHidden(), upper);
        QCOMPARE(!lw["FontCombo"]->isHidden(), upper);
        QCOMPARE(!lw["Picture2"]->isHidden(), upper);
        QCOMPARE(!lw["panel_2"]->isHidden(), lower);
        QCOMPARE(!lw["Picture3"]->isHidden(), lower);
        QCOMPARE(!lw["Image1"]->isHidden(), upper || lower);
        QCOMPARE(!lw["Label54"]->isHidden(), showSideBars);
        QCOMPARE(bars.upperShown(), upper);
        QCOMPARE(bars.lowerShown(), lower);
    }

    void piecesFollowTabStripWhenHidden()
    {
        LayoutWindow lw;
        lw.window.resize(px(11265), px(8625));
        SideBars bars(&lw.window);
        lw.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lw.window));
        bars.Label2_Click();  // the upper bar is hidden but still follows
        lw.window.resize(px(16000), px(9000));
        QTRY_COMPARE(lw.window.width(), px(16000));
        QWidget* tabs = lw["TabStrip1"];
        const int right = (tabs->x() + tabs->width()) * kTw;
        const std::pair<const char*, int> offsets[] = {
            {"panel_1", 200}, {"panel_2", 200}, {"FontCombo", 400}, {"FontSizeCombo", 400},
            {"Picture2", 400}, {"Picture3", 470}, {"Image1", 300}, {"Label2", 1450}, {"Label55", 1450}};
        for (const auto& [name, offset] : offsets)
            QCOMPARE(lw[name]->x(), px(right + offset));
        QCOMPARE(lw["StatusBar1"]->y() + lw["StatusBar1"]->height(), lw.window.height());
        QCOMPARE(lw["StatusBar1"]->width(), lw.window.width());
    }

    void negativeSizesAreRefused()
    {
        LayoutWindow lw;
        lw.window.resize(px(11265), px(8625));
        SideBars bars(&lw.window);
        lw.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lw.window));
        const QSize tabs = lw["TabStrip1"]->size();
        const QSize pane = lw["rch"]->size();
        // Wide enough for the tab strip's width, too narrow for the panes'; too low for any height.
        lw.window.resize(px(2400), px(600));
        QTRY_COMPARE(lw.window.width(), px(2400));
        const int W = lw.window.width() * kTw;
        QVERIFY(W > 2100 && W < 2600);
        QCOMPARE(lw["TabStrip1"]->width(), px(W - 2100));
        QCOMPARE(lw["TabStrip1"]->height(), tabs.height());
        QCOMPARE(lw["rch"]->size(), pane);
        // The side-bar pieces still follow the tab strip.
        QCOMPARE(lw["panel_1"]->x(), px(px(W - 2100) * kTw + 200));
    }
};

ORVANE_TEST_MAIN(tst_Layout)
#include "tst_layout.moc"
