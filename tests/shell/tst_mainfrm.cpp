// The main window with its real surfaces and source pane: the tab switch
// through real clicks on the tabs, the mode flag, the generator name swapped in
// the source, its colouring and the hand-over of typed source to the surface.

#include "TestMain.h"
#include "WindowFixture.h"
#include "shell/lifecycle/DocumentLifecycle.h"
#include "shell/lifecycle/MainWindowParts.h"

#include <QTemporaryDir>

using orvane::test::WindowFixture;

namespace {

constexpr quint32 kBlue = 16711680;
const QString kSurfaceName = QStringLiteral("Microsoft DHTML Editing Control");
const QString kEditorName = QStringLiteral("Kestrova Editor v.1.5");

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
    void init() { e = std::make_unique<WindowFixture>(); }
    void cleanup() { e.reset(); }

    void tabSwitch_data()
    {
        QTest::addColumn<int>("tab");
        QTest::newRow("Edit") << 0;
        QTest::newRow("Source") << 1;
        QTest::newRow("View") << 2;
    }

    // Every tab, clicked once or again while current, brings its frame to the
    // front, refreshes the source from the design surface (and the preview when
    // it comes to the front) and makes Source mode current.
    void tabSwitch()
    {
        QFETCH(int, tab);
        mainFrm& w = *e->window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Orvane Editor 1.5"));
        QCOMPARE(w.TabStrip1()->tabBar()->tabText(tab), (QStringList{"Edit", "Source", "View"}[tab]));
        QCOMPARE(e->frontFrame(), 0);
        for (const QString& marker : {QStringLiteral("first marker"), QStringLiteral("second marker")}) {
            w.DHTMLEdit1()->setDocumentHTML(page("<P>" + marker + "</P>"));
            w.rch()->hide();  // as when the pointer crosses the design surface
            QVERIFY(!w.isSourceMode());
            e->clickTab(tab);
            QCOMPARE(w.TabStrip1()->selectedIndex(), tab);
            QCOMPARE(e->frontFrame(), tab);
            QVERIFY(w.isSourceMode());
            const QString source = w.rch()->Text();
            QVERIFY2(source.contains(marker) && source.contains(kEditorName), qPrintable(source));
            QVERIFY(!source.contains(kSurfaceName));
            if (tab == 2)
                QVERIFY(w.DHTMLEdit2()->DocumentHTML().contains(marker));
            QVERIFY(w.DHTMLEdit1()->DocumentHTML().contains(kSurfaceName));
            // Nothing is left selected for the next insertion to overwrite.
            QCOMPARE(w.rch()->SelLength(), 0);
        }
    }

    // Typing in the source and clicking "Edit" with the mouse hands the text to
    // the design surface before the switch reads it back.
    void typedSourceReachesDesignSurface()
    {
        e->surface->setDocumentHTML(page(QStringLiteral("<P>start</P>")));
        e->clickTab(1);
        orvane::SourcePane* rch = e->rch;
        rch->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(rch->hasFocus());
        rch->setSelStart(int(rch->Text().indexOf(QStringLiteral("start"))));
        QTest::keyClicks(rch, QStringLiteral("typed words "));
        e->clickTab(0);
        QCOMPARE(e->frontFrame(), 0);
        QVERIFY2(e->surface->DocumentHTML().contains(QStringLiteral("typed words start")),
                 qPrintable(e->surface->DocumentHTML()));
        QVERIFY(rch->Text().contains(QStringLiteral("typed words start")));
    }

    // Pages far beyond 16-bit positions are replaced and coloured to the end.
    void longPageColouredAndReplaced()
    {
        QString body;
        for (int i = 0; i < 4000; ++i)
            body += QStringLiteral("<P CLASS=\"c%1\">row %1 text</P>\r\n").arg(i);
        body += QStringLiteral("<P>made with %1</P>").arg(kSurfaceName);
        e->surface->setDocumentHTML(page(body));
        e->clickTab(1);

        orvane::SourcePane* rch = e->rch;
        const QString source = rch->Text();
        QVERIFY(source.size() > 100000);
        QCOMPARE(source.count(kEditorName), 2);
        const int lastTag = int(source.lastIndexOf(u'<'));
        const int lastText = int(source.lastIndexOf(QStringLiteral("made with")));
        for (const auto& [pos, colour] : {std::pair{lastTag + 2, kBlue}, std::pair{lastText, quint32(0)}}) {
            rch->setSelStart(pos);
            rch->setSelLength(1);
            QCOMPARE(rch->SelColor(), colour);
        }
    }

    // Looking at an unedited page in every view changes nothing: it stays
    // unmodified and saves byte for byte, generator name and line ends included.
    void viewSwitchesLeaveThePageUnchanged()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("page.htm"));
        const QByteArray bytes = page(QStringLiteral("<p class=x>kept  as\ris</p>")).toUtf8();
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        out.close();
        orvane::DocumentLifecycle& life = e->window->parts()->lifecycle();
        life.openAtStart(file);
        for (int tab : {1, 0, 2, 0, 1, 2, 1, 0}) {
            e->clickTab(tab);
            if (tab == 1) {  // the source is looked at: its losing the focus hands it over
                e->rch->setFocus(Qt::MouseFocusReason);
                QTRY_VERIFY(e->rch->hasFocus());
            }
            QVERIFY2(!e->window->document().isModified(), qPrintable(QString::number(tab)));
        }
        QVERIFY(life.SaveCurrentDocument(false));
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), bytes);
    }

private:
    std::unique_ptr<WindowFixture> e;
};

ORVANE_TEST_MAIN(TestMainFrm)
#include "tst_mainfrm.moc"
