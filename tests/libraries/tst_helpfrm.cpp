// The help window, opened from the Help header of the real main window: the
// page is read afresh at each opening, links are followed inside the window,
// a missing page is said so, and the shipped help page holds together.
#include "TestMain.h"
#include "EditorFixture.h"
#include "LibraryFolders.h"
#include "ModalWindow.h"
#include "SurfaceTestSupport.h"
#include "libraries/helpFrm.h"
#include "platform/dialogs/ScriptedPrompts.h"

#include <QWebEngineView>
#include <QtTest>

using namespace orvane;
using orvane::test::LibraryFolders;
using orvane::test::whenModal;

class tst_HelpFrm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void opensFromHelpHeader_data();
    void opensFromHelpHeader();
    void missingPageSaysSo();
    void shippedPageHoldsTogether();
    void cleanupTestCase();

private:
    std::unique_ptr<LibraryFolders> m_folders;
    std::unique_ptr<test::EditorFixture> m_editor;
};

namespace {
const char* const kPage = "<HTML><HEAD><TITLE>%1</TITLE></HEAD><BODY><P>%1</P>"
                          "<A id=\"next\" href=\"second.htm\">more</A></BODY></HTML>";
}

void tst_HelpFrm::initTestCase()
{
    m_folders = std::make_unique<LibraryFolders>();
    LibraryFolders::write(m_folders->program.filePath("second.htm"),
                          "<HTML><HEAD><TITLE>Second page</TITLE></HEAD><BODY>2</BODY></HTML>");
    m_editor = std::make_unique<test::EditorFixture>();
}

void tst_HelpFrm::cleanupTestCase()
{
    m_editor.reset();
    m_folders.reset();
}

void tst_HelpFrm::opensFromHelpHeader_data()
{
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("openPanel");
    QTest::newRow("Edit mode, no panel open") << false << "";
    QTest::newRow("Edit mode, Format panel open") << false << "Picture_format";
    QTest::newRow("Source mode, ASP panel open") << true << "Picture_asp";
}

void tst_HelpFrm::opensFromHelpHeader()
{
    QFETCH(bool, sourceMode);
    QFETCH(QString, openPanel);
    const QString helpPage = m_folders->program.filePath("help.htm");
    m_editor->setSourceMode(sourceMode);
    if (!openPanel.isEmpty()) {
        QLabel* header = openPanel == "Picture_format" ? m_editor->menuBar->header("Label_format")
                                                       : m_editor->menuBar->header("Label_asp");
        QTest::mouseClick(header, Qt::LeftButton);
        QVERIFY(m_editor->menuPanel(openPanel)->isVisible());
    }
    QStringList titles;
    QString followed, windowTitle;
    bool escapeClosed = false;
    for (const char* version : {"First help", "Second help"}) {
        // The page changes between openings: each opening reads it again.
        LibraryFolders::write(helpPage, QString(kPage).arg(version).toUtf8());
        whenModal<helpFrm>([&](helpFrm* w) {
            windowTitle = w->windowTitle();
            titles << w->DHTMLEdit1()->view()->title();
            if (titles.size() == 2) {
                test::evaluateInPage(*w->DHTMLEdit1(), "document.getElementById('next').click()");
                QTest::qWaitFor([w] { return w->DHTMLEdit1()->view()->title() == "Second page"; });
                followed = w->DHTMLEdit1()->view()->title();
                // Escape closes the window with the page holding the focus.
                w->activateWindow();
                QTest::keyClick(w->DHTMLEdit1()->view()->focusProxy(), Qt::Key_Escape);
                escapeClosed = !w->isVisible();
            }
            w->reject();
        });
        QTest::mouseMove(m_editor->menuBar->header("Label_help"));
        QTest::mouseClick(m_editor->menuBar->header("Label_help"), Qt::LeftButton);
    }
    QCOMPARE(windowTitle, QString("Orvane - Help"));
    QCOMPARE(titles, (QStringList{"First help", "Second help"}));
    QCOMPARE(followed, QString("Second page"));
    QVERIFY(escapeClosed);
    QCOMPARE(m_editor->window->isSourceMode(), sourceMode);
    if (!openPanel.isEmpty()) {
        QVERIFY(m_editor->menuPanel(openPanel)->isVisible());
        m_editor->menuBar->hidePanel(openPanel);
    }
}

void tst_HelpFrm::missingPageSaysSo()
{
    QTemporaryDir empty;
    setProgramFolder(empty.path());
    ScriptedPrompts prompts;
    QString text;
    whenModal<helpFrm>([&](helpFrm* w) {
        text = test::evaluateInPage(*w->DHTMLEdit1(), "document.body.innerText").toString();
        w->reject();
    });
    m_editor->clickMenuItem("Label_help");
    setProgramFolder(m_folders->program.path());
    QVERIFY2(text.contains("The help page could not be opened."), qPrintable(text));
    QVERIFY2(text.contains(empty.filePath("help.htm")), qPrintable(text));
    QVERIFY(prompts.asked().isEmpty());
}

// Every link inside the page has its target and every picture loads.
void tst_HelpFrm::shippedPageHoldsTogether()
{
    setProgramFolder(QStringLiteral(ORVANE_RESOURCES));
    QString broken, title;
    whenModal<helpFrm>([&](helpFrm* w) {
        Surface& page = *w->DHTMLEdit1();
        QTest::qWaitFor([&] {
            return test::evaluateInPage(page, "[...document.images].every(i => i.complete)").toBool();
        });
        title = w->DHTMLEdit1()->view()->title();
        broken = test::evaluateInPage(page,
            "[...document.links].filter(a => a.getAttribute('href').startsWith('#') &&"
            "   !document.getElementById(a.getAttribute('href').slice(1)))"
            " .map(a => a.getAttribute('href')).concat("
            " [...document.images].filter(i => !i.naturalWidth).map(i => i.getAttribute('src')))"
            " .join(' ')").toString();
        w->reject();
    });
    m_editor->clickMenuItem("Label_help");
    setProgramFolder(m_folders->program.path());
    QCOMPARE(title, QString("Orvane Editor - Help"));
    QCOMPARE(broken, QString());
}

ORVANE_TEST_MAIN(tst_HelpFrm)
#include "tst_helpfrm.moc"
