// The label menu bar on a window of its own with a real source pane: opening,
// hover colours, mode gating, the closing rules and item clicks, driven by
// real mouse events.

#include "platform/sourcepane/SourcePane.h"
#include "shell/menubar/MenuBar.h"
#include "shell/menubar/MenuLayout.h"

#include <QFontInfo>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace orvane;
using namespace orvane::menubar;

// Captions are sized to fit Arial: a wrong font clips them. The ink of the
// text must lie inside the label.
static bool inkFits(const QLabel* label)
{
    return label->fontMetrics().tightBoundingRect(label->text()).right() < label->width();
}

class tst_MenuBar : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_host = new QWidget;
        m_host->resize(751, 575);
        m_bar = new MenuBar(m_host, [this] { return !m_rch->isHidden(); });
        m_rch = new SourcePane(m_host);
        m_rch->setObjectName("rch");
        m_rch->setGeometry(0, 300, 400, 200);
        m_bar->watchSourcePane(m_rch);
        m_panel1 = new QLabel(m_host);
        m_panel1->setObjectName("panel_1");
        m_panel1->setGeometry(pxRect(9480, 360, 1725, 3390));
        m_bar->watchSideBarImage(m_panel1);
        m_cover = new QWidget(m_host);
        m_cover->setGeometry(0, 16, 600, 280);
        m_cover->setAutoFillBackground(true);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host));
    }

    void cleanup()
    {
        delete m_host;
        m_host = nullptr;
    }

    void captionsFitTheirLabels()
    {
        for (const HeaderRow& h : menuHeaders()) {
            QLabel* header = m_bar->header(h.name);
            QVERIFY(header->font().bold());
            QCOMPARE(header->font().pointSizeF(), 8.25);
            QVERIFY2(inkFits(header), qPrintable(h.name));
        }
        const QString family = QFontInfo(m_bar->header("label_file")->font()).family();
        QVERIFY2(family == "Arial" || family == "Liberation Sans", qPrintable(family));
        for (const PanelRow& p : menuPanels()) {
            QWidget* panel = m_bar->panel(p.name);
            QVERIFY(panel->isHidden());
            QRect previous;
            for (const ItemRow& i : p.items) {
                QLabel* item = m_bar->item(i.name);
                QCOMPARE(item->parentWidget(), panel);
                QVERIFY2(panel->contentsRect().contains(item->geometry()), qPrintable(i.name));
                QVERIFY2(!item->geometry().intersects(previous), qPrintable(i.name));
                QVERIFY2(inkFits(item), qPrintable(i.name));
                previous = item->geometry();
            }
        }
    }

    void clickOpensPanelInFront_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("panel");
        for (const HeaderRow& h : menuHeaders())
            if (!h.panel.isEmpty())
                QTest::newRow(qPrintable(h.caption)) << h.name << h.panel;
    }

    void clickOpensPanelInFront()
    {
        QFETCH(QString, header);
        QFETCH(QString, panel);
        QWidget* p = m_bar->panel(panel);
        QTest::mouseClick(m_bar->header(header), Qt::LeftButton);
        QVERIFY(p->isVisible());
        QCOMPARE(p->geometry().left(), m_bar->header(header)->geometry().left());
        QCOMPARE(p->geometry().top(), 16);
        // In front of the sibling that covers the area, created after the panel.
        const QPoint inside = p->geometry().topLeft() + QPoint(2, 2);
        QWidget* top = m_host->childAt(inside);
        QVERIFY(top == p || p->isAncestorOf(top));
        // A second click leaves it open.
        QTest::mouseClick(m_bar->header(header), Qt::LeftButton);
        QVERIFY(p->isVisible());
    }

    void laterPanelOpensInFrontOfEarlierOne()
    {
        QTest::mouseClick(m_bar->header("Label_asp"), Qt::LeftButton);
        QTest::mouseClick(m_bar->header("Label69"), Qt::LeftButton);
        QWidget* asp = m_bar->panel("Picture_asp");
        QWidget* library = m_bar->panel("pic_library");
        QVERIFY(asp->isVisible());   // a click closes nothing
        QVERIFY(library->isVisible());
        const QRect overlap = asp->geometry() & library->geometry();
        QVERIFY(!overlap.isEmpty());
        QWidget* top = m_host->childAt(overlap.center());
        QVERIFY(top == library || library->isAncestorOf(top));
    }

    void hoverTurnsItemRedAndPanelResets()
    {
        QTest::mouseClick(m_bar->header("Label_format"), Qt::LeftButton);
        QLabel* bold = m_bar->item("Label15");
        QLabel* italics = m_bar->item("Label16");
        QWidget* panel = m_bar->panel("Picture_format");
        moveTo(bold);
        QCOMPARE(MenuBar::foreColor(bold), MenuBar::kHover);
        // The strip between two items is panel background: it clears the highlight.
        moveTo(panel, QPoint(bold->geometry().center().x(), bold->geometry().bottom() + 4));
        QCOMPARE(MenuBar::foreColor(bold), MenuBar::kNormal);
        moveTo(italics);
        QCOMPARE(MenuBar::foreColor(italics), MenuBar::kHover);
        QCOMPARE(MenuBar::foreColor(bold), MenuBar::kNormal);
        // Leaving upwards straight from the top item onto the header keeps its highlight.
        moveTo(bold);
        moveTo(m_bar->header("Label_format"));
        QCOMPARE(MenuBar::foreColor(bold), MenuBar::kHover);
        QVERIFY(panel->isVisible());
    }

    void headerHoverGatesItems_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("sourceMode");
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<QStringList>("disabled");
        using L = QStringList;
        QTest::newRow("File, Source mode") << "label_file" << true << L{"Label3", "Label6"} << L{"Label1"};
        QTest::newRow("File, Edit mode") << "label_file" << false << L{"Label1"} << L{};
        QTest::newRow("Format, Source mode") << "Label_format" << true << L{"Label15", "Label22"} << L{"Label23"};
        QTest::newRow("Table, Source mode") << "Label_table" << true << L{} << L{"Label24", "Label25", "Label30"};
        QTest::newRow("Table, Edit mode") << "Label_table" << false << L{"Label24", "Label25", "Label30"} << L{};
        QTest::newRow("Style, Source mode") << "Label_style" << true << L{} << L{"Label41", "Label46", "Label50"};
        QTest::newRow("ASP, Edit mode") << "Label_asp" << false << L{} << L{"Label58", "Label63", "Label68"};
        QTest::newRow("ASP, Source mode") << "Label_asp" << true << L{"Label58", "Label63", "Label68"} << L{};
    }

    void headerHoverGatesItems()
    {
        QFETCH(QString, header);
        QFETCH(bool, sourceMode);
        QFETCH(QStringList, enabled);
        QFETCH(QStringList, disabled);
        // Start from the opposite gating, so each row shows a change.
        m_rch->setVisible(!sourceMode);
        moveTo(m_bar->header(header), {2, 2});
        m_rch->setVisible(sourceMode);
        moveTo(m_bar->header(header));
        for (const QString& name : enabled) {
            QVERIFY2(m_bar->item(name)->isEnabled(), qPrintable(name));
            QCOMPARE(MenuBar::foreColor(m_bar->item(name)), MenuBar::kNormal);
        }
        for (const QString& name : disabled) {
            QVERIFY2(!m_bar->item(name)->isEnabled(), qPrintable(name));
            QCOMPARE(MenuBar::foreColor(m_bar->item(name)), MenuBar::kDisabledLook);
        }
    }

    void disabledItemTakesNoClickAndNoHover()
    {
        m_rch->show();
        moveTo(m_bar->header("Label_table"));
        QTest::mouseClick(m_bar->header("Label_table"), Qt::LeftButton);
        QLabel* wizard = m_bar->item("Label24");
        QLabel* deleteRow = m_bar->item("Label25");
        QSignalSpy clicked(m_bar, &MenuBar::itemClicked);
        moveTo(deleteRow);
        QCOMPARE(MenuBar::foreColor(deleteRow), MenuBar::kNormal);  // counted as the panel's background
        QTest::mouseClick(deleteRow, Qt::LeftButton);
        QCOMPARE(clicked.count(), 0);
        QVERIFY(m_bar->panel("Picture_table")->isVisible());
        QCOMPARE(deleteRow->palette().color(QPalette::Disabled, QPalette::WindowText),
                 MenuBar::kDisabledLook);

        // Once Edit mode is current and the header crossed again, the items work.
        m_rch->hide();
        moveTo(m_bar->header("Label_table"));
        moveTo(wizard);
        QCOMPARE(MenuBar::foreColor(wizard), MenuBar::kHover);
        QTest::mouseClick(wizard, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toString(), QString("Label24"));
    }

    void headerHoverClosesNeighbours_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("closed");
        // A header closes the panels of the headers beside it, no others.
        QTest::newRow("File") << "label_file" << QStringList{"Picture_edit"};
        QTest::newRow("Edit") << "Label_edit" << QStringList{"Picture1", "Picture_format"};
        QTest::newRow("Style") << "Label_style" << QStringList{"Picture_form", "Picture_java"};
        QTest::newRow("ASP") << "Label_asp" << QStringList{"Picture_java"};
        QTest::newRow("Libraries") << "Label69" << QStringList{};
    }

    void headerHoverClosesNeighbours()
    {
        QFETCH(QString, header);
        QFETCH(QStringList, closed);
        openAll();
        moveTo(m_bar->header(header));
        QStringList expected = allPanelsInClosingOrder();
        for (const QString& p : closed)
            expected.removeAll(p);
        QCOMPARE(openPanels(), expected);
    }

    void pointerMovesClosePanels_data()
    {
        QTest::addColumn<QString>("over");
        QTest::addColumn<QStringList>("stayOpen");
        QTest::newRow("upper side-bar image") << "panel_1"
            << QStringList{"Picture_java", "Picture_asp", "pic_library"};
        QTest::newRow("panel background") << "panel" << allPanelsInClosingOrder();
    }

    void pointerMovesClosePanels()
    {
        QFETCH(QString, over);
        QFETCH(QStringList, stayOpen);
        m_rch->show();
        openAll();
        QCOMPARE(openPanels().size(), 9);
        over == "panel_1" ? moveTo(m_panel1) : moveTo(m_bar->panel("pic_library"), {2, 2});
        QCOMPARE(openPanels(), stayOpen);
        QVERIFY(!m_rch->isHidden());
    }

private:
    void moveTo(QWidget* w, QPoint at = {-1, -1})
    {
        if (at == QPoint(-1, -1))
            at = w->rect().center();
        QTest::mouseMove(m_host, w->mapTo(m_host, at));
    }

    void openAll()
    {
        for (const HeaderRow& h : menuHeaders())
            if (!h.panel.isEmpty())
                QMetaObject::invokeMethod(m_bar->header(h.name), "clicked");
    }

    QStringList openPanels() const
    {
        QStringList open;
        for (const QString& p : allPanelsInClosingOrder())
            if (m_bar->panel(p)->isVisible())
                open << p;
        return open;
    }

    QWidget* m_host = nullptr;
    SourcePane* m_rch = nullptr;
    QLabel* m_panel1 = nullptr;
    QWidget* m_cover = nullptr;  // a sibling over the panels' area, created after them
    MenuBar* m_bar = nullptr;
};

QTEST_MAIN(tst_MenuBar)
#include "tst_menubar.moc"
