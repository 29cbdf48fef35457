// The font boxes and formatting buttons of the real window following the
// design surface's selection; the boxes' picks, typed entries and Enter keys.
#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "WindowFixture.h"
#include "shell/toolbarstate/ToolbarState.h"

#include <QComboBox>
#include <QLineEdit>

using namespace orvane;
using namespace orvane::test;

class tst_ToolbarState : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        e = std::make_unique<WindowFixture>();
        fonts = e->window->FontCombo();
        sizes = e->window->FontSizeCombo();
    }

    void cleanup() { e.reset(); }

    // Until its first document is complete a toolbar state sends nothing to
    // the page; that document empties the size box's selection, later ones do not.
    void firstDocumentStartsTracking()
    {
        QCOMPARE(sizes->currentIndex(), -1);  // the window's own first document
        loadBody(*e->surface, QStringLiteral("<P>plain text</P>"));
        selectText(*e->surface, QStringLiteral("plain"));
        ToolbarState fresh(*e->surface, *e->rch, *fonts, *sizes, [] { return false; }, [](const QString&, bool) {});
        const QString before = e->surface->DocumentHTML();
        sizes->setCurrentIndex(4);
        fresh.FontSizeCombo_Click();
        fresh.FontCombo_Click();
        QCOMPARE(e->surface->DocumentHTML(), before);
        loadBody(*e->surface, QStringLiteral("<P>again</P>"));
        QTRY_VERIFY(fresh.documentReady());
        QCOMPARE(sizes->currentIndex(), -1);
        sizes->setCurrentIndex(2);
        loadBody(*e->surface, QStringLiteral("<P>and again</P>"));
        QTRY_COMPARE(e->surface->DocumentHTML().contains("and again"), true);
        QCOMPARE(sizes->currentIndex(), 2);
    }

    void sizeBoxEnter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");   // the box's text afterwards
        QTest::addColumn<QString>("size");  // the size the text has afterwards
        QTest::newRow("out of range puts size minus one") << "9" << "2" << "3";
        QTest::newRow("in range sets the size") << "5" << "5" << "5";
    }

    // The boxes and the latched buttons show the selection's face, size and style first.
    void sizeBoxEnter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, box);
        QFETCH(QString, size);
        loadBody(*e->surface, QStringLiteral("<P><FONT size=\"3\" face=\"Tahoma\"><B>sized</B> text</FONT></P>"));
        selectText(*e->surface, QStringLiteral("sized"));
        const auto pressed = [this](const char* b) { return e->toolbar->button(b)->frameStyle() != QFrame::NoFrame; };
        QTRY_COMPARE(fonts->currentText() + "|" + sizes->currentText(), QStringLiteral("Tahoma|3"));
        QTRY_VERIFY(pressed("bold") && !pressed("italics"));
        sizes->lineEdit()->setText(typed);
        sizes->lineEdit()->setFocus();
        QTest::keyClick(sizes->lineEdit(), Qt::Key_Return);
        QCOMPARE(sizes->currentText(), box);
        QCOMPARE(e->surface->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toString(), size);
        QCOMPARE(sizes->count(), 7);  // Enter adds nothing to the list
    }

    // A face picked from the list or typed and entered reaches the selection;
    // in Source mode the pick inserts a fragment at the caret instead.
    void fontPickedOrTyped()
    {
        loadBody(*e->surface, QStringLiteral("<P>face change</P>"));
        selectText(*e->surface, QStringLiteral("face"));
        fonts->setCurrentIndex(4);
        emit fonts->activated(4);
        QVERIFY(bodyHtml(*e->surface).contains(QStringLiteral("Verdana")));
        selectText(*e->surface, QStringLiteral("change"));
        fonts->lineEdit()->setText(QStringLiteral("Liberation Serif"));
        QTest::keyClick(fonts->lineEdit(), Qt::Key_Enter);
        QVERIFY(bodyHtml(*e->surface).contains(QStringLiteral("Liberation Serif")));

        const QString page = e->surface->DocumentHTML();
        e->setSourceMode(true);
        e->rch->setText(QStringLiteral("ab"));
        e->rch->setSelStart(1);
        fonts->setCurrentIndex(2);
        emit fonts->activated(2);
        QCOMPARE(e->rch->Text(), QStringLiteral("a<FONT FACE=\"Tahoma\">    </FONT>b"));
        QCOMPARE(e->surface->DocumentHTML(), page);
    }

private:
    std::unique_ptr<WindowFixture> e;
    QComboBox* fonts = nullptr;
    QComboBox* sizes = nullptr;
};

ORVANE_TEST_MAIN(tst_ToolbarState)
#include "tst_toolbar_state.moc"
