// The main window with its real surfaces and source pane: the tab switch
// through real clicks on the tabs.
#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "WindowFixture.h"
#include "DocumentLifecycle.h"
#include "MainWindowParts.h"

using namespace orvane::test;

namespace {

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

    // Every tab, clicked once or again while current, brings its frame to the
    // front, makes Source mode current and refreshes the source (with the
    // editor's generator name) and the preview from the design surface. On an
    // unedited page none of this is a change: it saves byte for byte.
    void tabSwitchesLeaveThePageUnchanged()
    {
        mainFrm& w = *e->window;
        TempSite site;
        const QByteArray bytes = page(QStringLiteral("<p class=x>kept  as\ris</p>")).toUtf8();
        const QString file = site.write(QStringLiteral("page.htm"), bytes);
        orvane::DocumentLifecycle& life = w.parts()->lifecycle();
        life.openAtStart(file);
        for (int tab : {1, 0, 2, 2, 0, 1, 1, 0}) {
            w.rch()->hide();  // as when the pointer crosses the design surface
            e->clickTab(tab);
            QCOMPARE(w.TabStrip1()->selectedIndex(), tab);
            QCOMPARE(e->frontFrame(), tab);
            QVERIFY(w.isSourceMode());
            const QString source = w.rch()->Text();
            QVERIFY2(source.contains("kept  as\ris") && source.contains(kEditorName), qPrintable(source));
            QVERIFY(!source.contains(kSurfaceName));
            QCOMPARE(w.rch()->SelLength(), 0);  // nothing left selected for the next insertion
            if (tab == 2)
                QVERIFY(w.DHTMLEdit2()->DocumentHTML().contains("kept  as"));
            if (tab == 1) {  // the source is looked at: its losing the focus hands it over
                e->rch->setFocus(Qt::MouseFocusReason);
                QTRY_VERIFY(e->rch->hasFocus());
            }
            QVERIFY2(!w.document().isModified(), qPrintable(QString::number(tab)));
        }
        QVERIFY(w.DHTMLEdit1()->DocumentHTML().contains(kSurfaceName));
        QVERIFY(life.SaveCurrentDocument(false));
        QCOMPARE(TempSite::read(file), bytes);

        // Typed source reaches the design surface when "Edit" is clicked; a
        // click on the current tab refreshes the source first.
        e->clickTab(1);
        w.DHTMLEdit1()->setDocumentHTML(page(QStringLiteral("<P>start</P>")));
        e->clickTab(1);
        w.rch()->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(w.rch()->hasFocus());
        w.rch()->setSelStart(int(w.rch()->Text().indexOf(QStringLiteral("start"))));
        QTest::keyClicks(w.rch(), QStringLiteral("typed words "));
        e->clickTab(0);
        QCOMPARE(e->frontFrame(), 0);
        QVERIFY2(w.DHTMLEdit1()->DocumentHTML().contains(QStringLiteral("typed words start")),
                 qPrintable(w.DHTMLEdit1()->DocumentHTML()));
    }

private:
    std::unique_ptr<WindowFixture> e;
};

ORVANE_TEST_MAIN(TestMainFrm)
#include "tst_mainfrm.moc"
