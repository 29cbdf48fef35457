// The font boxes on a real design surface and source pane: their picks, typed
// entries and Enter keys, and nothing sent before the first document.
#include "DocumentFixture.h"
#include "TestMain.h"
#include "ToolbarState.h"

#include <QComboBox>
#include <QLineEdit>

using namespace orvane;
using namespace orvane::test;

class tst_ToolbarState : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }

    void init()
    {
        fx = std::make_unique<DocumentFixture>();
        fontCombo = new QComboBox(&fx->window);
        fontCombo->addItems({"Alberta", "Arial", "Tahoma", "Courier", "Verdana", "Wingdings"});
        sizeCombo = new QComboBox(&fx->window);
        sizeCombo->addItems({"1", "2", "3", "4", "5", "6", "7"});
        fx->window.layout()->addWidget(fontCombo);
        fx->window.layout()->addWidget(sizeCombo);
        state = std::make_unique<ToolbarState>(
            *fx->design, *fx->rch, *fontCombo, *sizeCombo, [this] { return fx->isSourceMode(); },
            [](const QString&, bool) {});
    }

    void cleanup()
    {
        state.reset();
        fx.reset();
    }

    // Until the first document is complete nothing reaches the page; that
    // document empties the size box's selection, later ones do not.
    void firstDocumentStartsTracking()
    {
        const QString before = fx->design->DocumentHTML();
        sizeCombo->setCurrentIndex(4);
        state->FontSizeCombo_Click();
        state->FontCombo_Click();
        QCOMPARE(fx->design->DocumentHTML(), before);
        startTracking();
        QCOMPARE(sizeCombo->currentIndex(), -1);
        sizeCombo->setCurrentIndex(2);
        loadBody(*fx->design, QStringLiteral("<P>again</P>"));
        state->DHTMLEdit1_DocumentComplete();
        QCOMPARE(sizeCombo->currentIndex(), 2);
    }

    void sizeBoxEnter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");   // the box's text afterwards
        QTest::addColumn<QString>("size");  // the size the text has afterwards
        QTest::newRow("out of range puts size minus one") << "9" << "2" << "3";
        QTest::newRow("in range sets the size") << "5" << "5" << "5";
    }

    void sizeBoxEnter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, box);
        QFETCH(QString, size);
        startTracking();
        loadBody(*fx->design, QStringLiteral("<P><FONT size=\"3\">sized text</FONT></P>"));
        selectText(*fx->design, QStringLiteral("sized"));
        state->DHTMLEdit1_DisplayChanged();
        sizeCombo->lineEdit()->setText(typed);
        sizeCombo->lineEdit()->setFocus();
        QTest::keyClick(sizeCombo->lineEdit(), Qt::Key_Return);
        QCOMPARE(sizeCombo->currentText(), box);
        QCOMPARE(fx->design->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toString(), size);
        QCOMPARE(sizeCombo->count(), 7);  // Enter adds nothing to the list
    }

    // A face picked from the list or typed and entered reaches the selection;
    // in Source mode the pick inserts a fragment at the caret instead.
    void fontPickedOrTyped()
    {
        startTracking();
        loadBody(*fx->design, QStringLiteral("<P>face change</P>"));
        selectText(*fx->design, QStringLiteral("face"));
        fontCombo->setCurrentIndex(4);
        emit fontCombo->activated(4);
        QVERIFY(bodyHtml(*fx->design).contains(QStringLiteral("Verdana")));
        selectText(*fx->design, QStringLiteral("change"));
        fontCombo->lineEdit()->setText(QStringLiteral("Liberation Serif"));
        QTest::keyClick(fontCombo->lineEdit(), Qt::Key_Enter);
        QVERIFY(bodyHtml(*fx->design).contains(QStringLiteral("Liberation Serif")));

        const QString page = fx->design->DocumentHTML();
        fx->sourceMode();
        fx->rch->setText(QStringLiteral("ab"));
        fx->rch->setSelStart(1);
        fontCombo->setCurrentIndex(2);
        emit fontCombo->activated(2);
        QCOMPARE(fx->rch->Text(), QStringLiteral("a<FONT FACE=\"Tahoma\">    </FONT>b"));
        QCOMPARE(fx->design->DocumentHTML(), page);
    }

private:
    // Loads a page and waits for its document-complete event to reach the toolbar.
    void startTracking()
    {
        loadBody(*fx->design, QStringLiteral("<P>start</P>"));
        QTRY_VERIFY(state->documentReady());
    }

    std::unique_ptr<DocumentFixture> fx;
    QComboBox* fontCombo = nullptr;
    QComboBox* sizeCombo = nullptr;
    std::unique_ptr<ToolbarState> state;
};

ORVANE_TEST_MAIN(tst_ToolbarState)
#include "tst_toolbar_state.moc"
