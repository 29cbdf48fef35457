// The help window, opened from the Help header of the real main window.
#include "TestMain.h"
#include "WindowFixture.h"
#include "LibraryTestSupport.h"
#include "SurfaceTestSupport.h"
#include "libraries/helpFrm.h"
#include "ScriptedPrompts.h"

#include <QWebEngineView>
#include <QtTest>

using namespace orvane;
using test::whenModal;

class tst_HelpFrm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { m_editor.reset(); m_folders.reset(); }
    void opensFromHelpHeader_data();
    void opensFromHelpHeader();
    void missingPageSaysSo();
    void shippedPageHoldsTogether();

private:
    // Opens help from its header and runs step in the window, then closes it.
    void openHelp(std::function<void(helpFrm*)> step)
    {
        whenModal<helpFrm>([step](helpFrm* w) { step(w); w->reject(); });
        QTest::mouseMove(m_editor->menuBar->header("Label_help"));
        QTest::mouseClick(m_editor->menuBar->header("Label_help"), Qt::LeftButton);
    }
    QString title(helpFrm* w) { return w->DHTMLEdit1()->view()->title(); }

    std::unique_ptr<test::LibraryFolders> m_folders;
    std::unique_ptr<test::WindowFixture> m_editor;
};

void tst_HelpFrm::initTestCase()
{
    m_folders = std::make_unique<test::LibraryFolders>();
    m_folders->write(m_folders->shipped("second.htm"), "<TITLE>Second page</TITLE>2");
    m_editor = std::make_unique<test::WindowFixture>();
}

void tst_HelpFrm::opensFromHelpHeader_data()
{
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("header");  // whose panel is open
    QTest::newRow("Edit mode, Format panel open") << false << "Label_format";
    QTest::newRow("Source mode, ASP panel open") << true << "Label_asp";
}

// Each opening reads the page afresh; a link is followed inside the window;
// Escape closes it with the page holding the focus; the open panel and the
// mode stay as they were.
void tst_HelpFrm::opensFromHelpHeader()
{
    QFETCH(bool, sourceMode);
    QFETCH(QString, header);
    m_editor->setSourceMode(sourceMode);
    QTest::mouseClick(m_editor->menuBar->header(header), Qt::LeftButton);
    QWidget* panel = m_editor->menuBar->panel(header == "Label_asp" ? "Picture_asp" : "Picture_format");
    QStringList seen;
    for (const char* version : {"First help", "Second help"}) {
        m_folders->write(m_folders->shipped("help.htm"),
                         QString("<TITLE>%1</TITLE><A id=next href=second.htm>on</A>").arg(version).toUtf8());
        openHelp([&](helpFrm* w) {
            seen << w->windowTitle() << title(w);
            test::pageScript(*w->DHTMLEdit1(), "setTimeout(() => document.getElementById('next').click()); return 1;");
            QTest::qWaitFor([&] { return title(w) == "Second page"; });
            seen << title(w);
            w->activateWindow();
            QTest::keyClick(w->DHTMLEdit1()->view()->focusProxy(), Qt::Key_Escape);
            seen << (w->isVisible() ? "open after Escape" : "closed");
        });
    }
    QCOMPARE(seen, (QStringList{"Orvane - Help", "First help", "Second page", "closed",
                                "Orvane - Help", "Second help", "Second page", "closed"}));
    QCOMPARE(m_editor->window->isSourceMode(), sourceMode);
    QVERIFY(panel->isVisible());
    panel->hide();
}

void tst_HelpFrm::missingPageSaysSo()
{
    QTemporaryDir empty;
    setProgramFolder(empty.path());
    ScriptedPrompts prompts;
    QString text;
    openHelp([&](helpFrm* w) {
        text = test::pageScript(*w->DHTMLEdit1(), "return document.body.innerText;").toString();
    });
    setProgramFolder(m_folders->program.path());
    QVERIFY2(text.contains("The help page could not be opened.") && text.contains(empty.filePath("help.htm")),
             qPrintable(text));
    QCOMPARE(prompts.asked().size(), 0);
}

// Every link inside the shipped page has its target and every picture loads.
void tst_HelpFrm::shippedPageHoldsTogether()
{
    setProgramFolder(QStringLiteral(ORVANE_RESOURCES));
    QString broken;
    openHelp([&](helpFrm* w) {
        Surface& page = *w->DHTMLEdit1();
        QTest::qWaitFor([&] {
            return test::pageScript(page, "return [...document.images].every(i => i.complete);").toBool();
        });
        broken = title(w) + test::pageScript(page,
            "return [...document.querySelectorAll('a[href^=\"#\"]')]"
            " .filter(a => !document.getElementById(a.getAttribute('href').slice(1)))"
            " .map(a => a.getAttribute('href')).concat("
            " [...document.images].filter(i => !i.naturalWidth).map(i => i.getAttribute('src')))"
            " .join(' ');").toString();
    });
    setProgramFolder(m_folders->program.path());
    QCOMPARE(broken, QString("Orvane Editor - Help"));
}

ORVANE_TEST_MAIN(tst_HelpFrm)
#include "tst_helpfrm.moc"
