// The label menu bar of the real window: opening, mode gating and the
// closing rules, driven by real mouse events.
#include "TestMain.h"
#include "WindowFixture.h"

using namespace orvane;
using namespace orvane::menubar;

class tst_MenuBar : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        e = std::make_unique<test::WindowFixture>();
        m_bar = e->menuBar;
        m_rch = e->rch;
    }

    void cleanup() { e.reset(); }

    // A click opens the header's panel under it, in front of what lies there
    // (even a sibling made later, or the web view's own render child) and of
    // panels opened before; clicks close nothing.
    void clickOpensPanelInFront()
    {
        auto* cover = new QWidget(e->window.get());
        cover->setGeometry(0, 16, 600, 280);
        cover->setAutoFillBackground(true);
        cover->show();
        const std::pair<const char*, const char*> opened[] = {
            {"label_file", "Picture1"}, {"Label_format", "Picture_format"}, {"Label_asp", "Picture_asp"},
            {"Label69", "pic_library"}, {"Label69", "pic_library"}};
        for (const auto& [header, name] : opened) {
            QTest::mouseClick(m_bar->header(header), Qt::LeftButton);
            QWidget* panel = m_bar->panel(name);
            QVERIFY(panel->isVisible());
            QCOMPARE(panel->geometry().topLeft(), QPoint(m_bar->header(header)->x(), 16));
            QWidget* top = e->window->childAt(panel->geometry().topLeft() + QPoint(2, 2));
            QVERIFY2(top == panel || panel->isAncestorOf(top), header);
        }
        QCOMPARE(openPanels(), (QStringList{"Picture1", "Picture_format", "Picture_asp", "pic_library"}));

        delete cover;
        e->surface->setDocumentHTML("<BODY BGCOLOR=#ff0000><P>x</P></BODY>");
        QWidget* panel = m_bar->panel("Picture_format");
        const QPoint inPanel = panel->mapTo(e->window.get(), QPoint(panel->width() - 6, panel->height() / 2));
        const QPoint besideIt = inPanel + QPoint(panel->width(), 0);
        QTRY_COMPARE(e->window->grab().toImage().pixelColor(besideIt), QColor(Qt::red));
        QCOMPARE(e->window->grab().toImage().pixelColor(inPanel), panel->palette().color(QPalette::Window));
    }

    void headerHoverGatesItems_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("sourceMode");
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<QStringList>("disabled");
        using L = QStringList;
        QTest::newRow("File, Source mode") << "label_file" << true << L{"Label3", "Label6"} << L{"Label1"};
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

    void pointerClosesPanels_data()
    {
        QTest::addColumn<QString>("over");
        QTest::addColumn<QStringList>("closed");
        // A header closes the panels of the headers beside it, no others.
        QTest::newRow("File header") << "label_file" << QStringList{"Picture_edit"};
        QTest::newRow("Edit header") << "Label_edit" << QStringList{"Picture1", "Picture_format"};
        QTest::newRow("Style header") << "Label_style" << QStringList{"Picture_form", "Picture_java"};
        QTest::newRow("upper side-bar image") << "panel_1"
            << QStringList{"Picture1", "Picture_edit", "Picture_format", "Picture_table", "Picture_form",
                           "Picture_Style"};
        QTest::newRow("panel background") << "pic_library" << QStringList{};
    }

    void pointerClosesPanels()
    {
        QFETCH(QString, over);
        QFETCH(QStringList, closed);
        m_rch->show();
        for (const HeaderRow& h : menuHeaders())
            if (!h.panel.isEmpty())
                QMetaObject::invokeMethod(m_bar->header(h.name), "clicked");
        QCOMPARE(openPanels().size(), 9);
        if (over == "panel_1")
            moveTo(e->window->findChild<QLabel*>("panel_1"), {2, 2});
        else if (over == "pic_library")
            moveTo(m_bar->panel(over), {2, 2});
        else
            moveTo(m_bar->header(over));
        QStringList expected = allPanelsInClosingOrder();
        for (const QString& p : closed)
            expected.removeAll(p);
        QCOMPARE(openPanels(), expected);
        QVERIFY(!m_rch->isHidden());
    }

private:
    void moveTo(QWidget* w, QPoint at = {-1, -1})
    {
        QTest::mouseMove(e->window->windowHandle(),
                         w->mapTo(e->window.get(), at == QPoint(-1, -1) ? w->rect().center() : at));
    }

    QStringList openPanels() const
    {
        QStringList open;
        for (const QString& p : allPanelsInClosingOrder())
            if (m_bar->panel(p)->isVisible())
                open << p;
        return open;
    }

    std::unique_ptr<test::WindowFixture> e;
    MenuBar* m_bar = nullptr;
    SourcePane* m_rch = nullptr;
};

ORVANE_TEST_MAIN(tst_MenuBar)
#include "tst_menubar.moc"
