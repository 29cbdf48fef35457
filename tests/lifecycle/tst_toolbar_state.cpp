// The formatting buttons' looks and the font boxes following the selection of
// a real design surface, and the font boxes' own clicks and Enter keys.
#include "DocumentFixture.h"
#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "shell/toolbarstate/FontSizeEntry.h"
#include "shell/toolbarstate/ToolbarState.h"

#include <QComboBox>
#include <QLineEdit>

using namespace orvane;
using namespace orvane::test;

class tst_ToolbarState : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sizeEntry_data();
    void sizeEntry();
    void nothingIsSentBeforeFirstDocument();
    void firstDocumentClearsSizeSelection();
    void looksFollowCaret_data();
    void looksFollowCaret();
    void fontBoxesFollowSelection_data();
    void fontBoxesFollowSelection();
    void sizeBoxEnter_data();
    void sizeBoxEnter();
    void fontPickedOrTyped();
    void fontPickedInSourceModeInsertsFragment();

private:
    void startTracking();
    QString bodyHtml() { return pageScript(*fx->design, QStringLiteral("return document.body.innerHTML;")).toString(); }

    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<DocumentFixture> fx;
    QComboBox* fontCombo = nullptr;
    QComboBox* sizeCombo = nullptr;
    std::unique_ptr<ToolbarState> state;
    QHash<QString, bool> looks;
};

void tst_ToolbarState::initTestCase()
{
    qApp->setQuitOnLastWindowClosed(false);
}

void tst_ToolbarState::init()
{
    prompts = std::make_unique<ScriptedPrompts>();
    fx = std::make_unique<DocumentFixture>();
    fontCombo = new QComboBox(&fx->window);
    fontCombo->addItems({"Alberta", "Arial", "Tahoma", "Courier", "Verdana", "Wingdings", "Garamond",
                         "Rockwell", "Harbinger", "Times New Roman"});
    sizeCombo = new QComboBox(&fx->window);
    sizeCombo->addItems({"1", "2", "3", "4", "5", "6", "7"});
    fx->window.layout()->addWidget(fontCombo);
    fx->window.layout()->addWidget(sizeCombo);
    looks.clear();
    state = std::make_unique<ToolbarState>(
        *fx->design, *fx->rch, *fontCombo, *sizeCombo, [this] { return fx->isSourceMode(); },
        [this](const QString& button, bool pressed) { looks[button] = pressed; });
}

void tst_ToolbarState::cleanup()
{
    QVERIFY(prompts->unexpected().isEmpty());
    state.reset();
    fx.reset();
    prompts.reset();
}

// Loads a page and waits for its document-complete event to reach the toolbar.
void tst_ToolbarState::startTracking()
{
    loadBody(*fx->design, QStringLiteral("<P>start</P>"));
    QTRY_VERIFY(state->documentReady());
}

void tst_ToolbarState::sizeEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("setState");
    QTest::addColumn<bool>("apply");
    QTest::addColumn<QString>("boxText");
    QTest::newRow("in range") << "5" << int(DECMDF_ENABLED) << true << "5";
    QTest::newRow("above range falls back to size minus one") << "9" << int(DECMDF_ENABLED) << false << "2";
    QTest::newRow("zero") << "0" << int(DECMDF_ENABLED) << false << "2";
    QTest::newRow("not a number") << "big" << int(DECMDF_ENABLED) << false << "2";
    QTest::newRow("mixed selection empties the box") << "9" << int(DECMDF_NINCHED) << false << "";
}

void tst_ToolbarState::sizeEntry()
{
    QFETCH(QString, typed);
    QFETCH(int, setState);
    QFETCH(bool, apply);
    QFETCH(QString, boxText);
    const FontSizeEntry entry = fontSizeEntry(typed, setState, [] { return 3; });
    QCOMPARE(entry.apply, apply);
    QCOMPARE(entry.boxText, apply ? typed : boxText);
}

void tst_ToolbarState::nothingIsSentBeforeFirstDocument()
{
    const QString before = fx->design->DocumentHTML();
    sizeCombo->setCurrentIndex(4);
    state->FontSizeCombo_Click();
    state->FontCombo_Click();
    QCOMPARE(fx->design->DocumentHTML(), before);
}

void tst_ToolbarState::firstDocumentClearsSizeSelection()
{
    QCOMPARE(sizeCombo->currentIndex(), 0);
    startTracking();
    QCOMPARE(sizeCombo->currentIndex(), -1);
    // Only the first document does so.
    sizeCombo->setCurrentIndex(2);
    loadBody(*fx->design, QStringLiteral("<P>again</P>"));
    QTest::qWait(100);
    QCOMPARE(sizeCombo->currentIndex(), 2);
}

void tst_ToolbarState::looksFollowCaret_data()
{
    QTest::addColumn<QString>("at");
    QTest::addColumn<QStringList>("pressed");
    QTest::newRow("bold") << "heavy" << QStringList{"bold", "left1"};
    QTest::newRow("plain") << "plain" << QStringList{"left1"};
    QTest::newRow("italic underlined") << "slanted" << QStringList{"italics", "underline", "left1"};
    QTest::newRow("centred") << "middle" << QStringList{"center"};
    QTest::newRow("right") << "edge" << QStringList{"right"};
}

void tst_ToolbarState::looksFollowCaret()
{
    QFETCH(QString, at);
    QFETCH(QStringList, pressed);
    startTracking();
    loadBody(*fx->design, QStringLiteral("<P style=\"text-align: left\"><B>heavy</B> plain <I><U>slanted</U></I></P>"
                                         "<P align=center>middle</P><P align=right>edge</P>"));
    caretAfterText(*fx->design, at.left(3));  // inside the word, away from its edges
    for (const char* name : {"right", "center", "left1", "underline", "italics", "bold"})
        QTRY_COMPARE_WITH_TIMEOUT(looks.value(name), pressed.contains(name), 5000);
}

void tst_ToolbarState::fontBoxesFollowSelection_data()
{
    QTest::addColumn<QString>("select");  // text to select, or empty for no selection
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("faceEnabled");
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("sizeEnabled");
    QTest::newRow("one font") << "alpha" << "Verdana" << true << "3" << true;
    QTest::newRow("two fonts and sizes") << "alpha beta" << "" << true << "" << true;
    QTest::newRow("nothing editable") << "" << "" << false << "" << false;
}

void tst_ToolbarState::fontBoxesFollowSelection()
{
    QFETCH(QString, select);
    QFETCH(QString, face);
    QFETCH(bool, faceEnabled);
    QFETCH(QString, size);
    QFETCH(bool, sizeEnabled);
    startTracking();
    loadBody(*fx->design, QStringLiteral("<P><FONT face=\"Verdana\" size=\"3\">alpha</FONT> "
                                         "<FONT face=\"Tahoma\" size=\"5\">beta</FONT></P>"));
    if (select.isEmpty())
        clearSelection(*fx->design);
    else
        selectText(*fx->design, select);
    state->DHTMLEdit1_DisplayChanged();
    QCOMPARE(fontCombo->currentText(), face);
    QCOMPARE(fontCombo->isEnabled(), faceEnabled);
    QCOMPARE(sizeCombo->currentText(), size);
    QCOMPARE(sizeCombo->isEnabled(), sizeEnabled);
}

void tst_ToolbarState::sizeBoxEnter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box");        // the box's text afterwards
    QTest::addColumn<QString>("sizeAfter");  // the size attribute afterwards
    QTest::newRow("out of range puts size minus one") << "9" << "2" << "3";
    QTest::newRow("in range sets the size") << "5" << "5" << "5";
}

void tst_ToolbarState::sizeBoxEnter()
{
    QFETCH(QString, typed);
    QFETCH(QString, box);
    QFETCH(QString, sizeAfter);
    startTracking();
    loadBody(*fx->design, QStringLiteral("<P><FONT size=\"3\">sized text</FONT></P>"));
    selectText(*fx->design, QStringLiteral("sized"));
    state->DHTMLEdit1_DisplayChanged();
    sizeCombo->lineEdit()->setText(typed);
    sizeCombo->lineEdit()->setFocus();
    QTest::keyClick(sizeCombo->lineEdit(), Qt::Key_Return);
    QCOMPARE(sizeCombo->currentText(), box);
    QCOMPARE(pageScript(*fx->design, QStringLiteral("return getComputedStyle(getSelection().anchorNode.parentElement).fontSize;"))
                 .toString(),
             pageScript(*fx->design, QStringLiteral("const f = document.createElement('font'); f.size = %1;"
                                                    "document.body.appendChild(f); f.textContent = 'x';"
                                                    "const s = getComputedStyle(f).fontSize; f.remove(); return s;")
                                         .arg(sizeAfter)).toString());
    QCOMPARE(sizeCombo->count(), 7);  // Enter adds nothing to the list
}

// A face picked from the list or typed and entered reaches the selection.
void tst_ToolbarState::fontPickedOrTyped()
{
    startTracking();
    loadBody(*fx->design, QStringLiteral("<P>face change</P>"));
    selectText(*fx->design, QStringLiteral("face"));
    fontCombo->setCurrentIndex(4);
    emit fontCombo->activated(4);
    QVERIFY(bodyHtml().contains(QStringLiteral("Verdana")));
    selectText(*fx->design, QStringLiteral("change"));
    fontCombo->lineEdit()->setText(QStringLiteral("Liberation Serif"));
    fontCombo->lineEdit()->setFocus();
    QTest::keyClick(fontCombo->lineEdit(), Qt::Key_Enter);
    QVERIFY(bodyHtml().contains(QStringLiteral("Liberation Serif")));
}

void tst_ToolbarState::fontPickedInSourceModeInsertsFragment()
{
    startTracking();
    const QString page = fx->design->DocumentHTML();
    fx->sourceMode();
    fx->rch->setText(QStringLiteral("ab"));
    fx->rch->setSelStart(1);
    fontCombo->setCurrentIndex(2);
    emit fontCombo->activated(2);
    QCOMPARE(fx->rch->Text(), QStringLiteral("a<FONT FACE=\"Tahoma\">    </FONT>b"));
    QCOMPARE(fx->design->DocumentHTML(), page);
}

ORVANE_TEST_MAIN(tst_ToolbarState)
#include "tst_toolbar_state.moc"
