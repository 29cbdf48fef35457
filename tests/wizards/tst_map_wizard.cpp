// The image map wizard through the real main window: pictures made on the
// spot, regions marked with the mouse on the viewport, the file dialog,
// settings and name answered, the map written into the real source pane and
// design surface.

#include "../commands/EditorFixture.h"
#include "WizardTestSupport.h"

#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "wizards/frmMain/frmMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>

using namespace orvane;
using namespace orvane::test;

namespace {
const QString CRLF = QStringLiteral("\r\n");
const QString kPage = QStringLiteral("<P>before</P>\r\n<% Response.Write(\"x\") %>\r\n<P>after</P>");
constexpr int kCaret = 13;  // after the first paragraph

QStringList coordsOf(const QString& text)
{
    QStringList coords;
    static const QRegularExpression re(QStringLiteral("COORDS=\"([^\"]*)\""));
    for (const QRegularExpressionMatch& m : re.globalMatch(text))
        coords << m.captured(1);
    return coords;
}
}  // namespace

class tst_MapWizard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void regionsAreInPictureCoordinates_data();
    void regionsAreInPictureCoordinates();
    void mapGoesIntoEitherView_data();
    void mapGoesIntoEitherView();
    void finishNeedsRegionsAndAName_data();
    void finishNeedsRegionsAndAName();
    void settingsNeedALinkAndAText_data();
    void settingsNeedALinkAndAText();
    void theHundredAndFirstRegionIsRefused();
    void cancelledPictureDialogLoadsNothing();
    void outlinesPulseOnlyWhileShown();

private:
    frmMain* openWizard(const QString& picture);
    void markRegion(QPoint viewportFrom, QPoint viewportTo);
    void answerSettings(const QString& href, const QString& alt);
    void finish(const QString& name);

    std::unique_ptr<EditorFixture> e;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<QTemporaryDir> dir;
    QPointer<frmMain> wizard;
};

void tst_MapWizard::init()
{
    e = std::make_unique<EditorFixture>();
    prompts = std::make_unique<ScriptedPrompts>();
    dir = std::make_unique<QTemporaryDir>();
    e->setSourceMode(true);
    e->rch->setText(kPage);
    e->rch->setSelStart(kCaret);
}

void tst_MapWizard::cleanup()
{
    if (wizard)
        delete wizard;
    QCOMPARE(prompts->unexpected(), QStringList());
    prompts.reset();
    e.reset();
}

frmMain* tst_MapWizard::openWizard(const QString& picture)
{
    picture.isEmpty() ? prompts->cancelFile() : prompts->answerFile(picture);
    e->clickTool("Image5");
    wizard = openWindow<frmMain>("frmMain");
    return wizard;
}

// Two clicks on the viewport after "Select Region", with a pointer move between.
void tst_MapWizard::markRegion(QPoint from, QPoint to)
{
    auto* viewport = wizard->findChild<QWidget*>("picContainer");
    QTest::mouseClick(wizard->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, to);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, to);
}

void tst_MapWizard::answerSettings(const QString& href, const QString& alt)
{
    QPointer<QDialog> settings = openWindow("frmSettings");
    QVERIFY(settings);
    QCOMPARE(settings->windowTitle(), QString("Map region settings"));
    QTest::keyClicks(settings->findChild<QLineEdit*>("txtURL"), href);
    QTest::keyClicks(settings->findChild<QLineEdit*>("txtFrame"), alt);
    QTest::mouseClick(settings->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!settings || !settings->isVisible());
}

void tst_MapWizard::finish(const QString& name)
{
    prompts->answerInput(name);
    QTest::mouseClick(wizard->findChild<QPushButton*>("Command2"), Qt::LeftButton);
}

void tst_MapWizard::regionsAreInPictureCoordinates_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("hsb1");
    QTest::addColumn<bool>("vsb1");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<QList<QPoint>>("clicks");  // on the viewport, two per region
    QTest::addColumn<QStringList>("coords");

    QTest::newRow("small picture, two regions") << QSize(200, 60) << false << false << QPoint()
        << QList<QPoint>{{10, 5}, {60, 30}, {70, 5}, {120, 30}} << QStringList{"10,5,60,30", "70,5,120,30"};
    QTest::newRow("drawn from bottom right to top left") << QSize(200, 60) << false << false << QPoint()
        << QList<QPoint>{{120, 30}, {70, 5}} << QStringList{"120,30,70,5"};
    QTest::newRow("two clicks on one spot") << QSize(200, 60) << false << false << QPoint()
        << QList<QPoint>{{40, 40}, {40, 40}} << QStringList{"40,40,40,40"};
    QTest::newRow("larger than the viewport, scrolled both ways") << QSize(900, 700) << true << true
        << QPoint(300, 250) << QList<QPoint>{{10, 5}, {60, 30}} << QStringList{"310,255,360,280"};
    QTest::newRow("only wider, scrolled across") << QSize(900, 100) << true << false << QPoint(400, 0)
        << QList<QPoint>{{10, 5}, {60, 30}} << QStringList{"410,5,460,30"};
}

void tst_MapWizard::regionsAreInPictureCoordinates()
{
    QFETCH(QSize, picture);
    QFETCH(bool, hsb1);
    QFETCH(bool, vsb1);
    QFETCH(QPoint, scroll);
    QFETCH(QList<QPoint>, clicks);
    QFETCH(QStringList, coords);

    QVERIFY(openWizard(makePicture(*dir, "pic.png", picture)));
    auto* h = wizard->findChild<QScrollBar*>("hsb1");
    auto* v = wizard->findChild<QScrollBar*>("vsb1");
    QCOMPARE(h->isVisible(), hsb1);
    QCOMPARE(v->isVisible(), vsb1);
    h->setValue(scroll.x());
    v->setValue(scroll.y());
    for (qsizetype i = 0; i + 1 < clicks.size(); i += 2) {
        markRegion(clicks[i], clicks[i + 1]);
        answerSettings("a.htm", "Home");
    }
    finish("nav");
    QTRY_VERIFY(!wizard);
    QCOMPARE(coordsOf(e->rch->Text()), coords);
}

void tst_MapWizard::mapGoesIntoEitherView_data()
{
    QTest::addColumn<bool>("sourceMode");
    QTest::newRow("Source mode: at the caret") << true;
    QTest::newRow("Edit mode: over the selection") << false;
}

void tst_MapWizard::mapGoesIntoEitherView()
{
    QFETCH(bool, sourceMode);
    const QString picture = makePicture(*dir, "bar.png", {200, 60});
    if (!sourceMode) {
        e->setSourceMode(false);
        e->surface->setDocumentHTML("<HTML><BODY><P>text</P></BODY></HTML>");
    }
    QVERIFY(openWizard(picture));
    QCOMPARE(wizard->windowTitle(), QString("Image Map Wizard"));
    markRegion({10, 5}, {60, 30});
    QCOMPARE(wizard->findChild<QLabel*>("Label1")->text(), QString("(10,5) - (60,30)"));
    answerSettings("a.htm", "Home");
    QCOMPARE(wizard->findChild<QLabel*>("Label1")->text(), QString());
    markRegion({70, 5}, {120, 30});
    answerSettings("b.htm", "News");
    finish("nav");
    QTRY_VERIFY(!wizard);

    const ScriptedPrompts::Asked& name = prompts->asked().last();
    QCOMPARE(name.title, QString("Image map name"));
    QCOMPARE(name.text, "Give a name for the image map: " + CRLF + "(for the <MAP NAME=\"...\"> tag)");
    QCOMPARE(prompts->messages().at(0).title, QString("Orvane Tip"));
    QCOMPARE(prompts->messages().size(), 1);  // the tip, once

    const QString map = CRLF + "<MAP NAME=\"nav\">" + CRLF
        + "<AREA SHAPE=\"RECT\" COORDS=\"10,5,60,30\" HREF=\"a.htm\" ALT=\"Home\">" + CRLF
        + "<AREA SHAPE=\"RECT\" COORDS=\"70,5,120,30\" HREF=\"b.htm\" ALT=\"News\">" + CRLF
        + "<IMG SRC=\"" + picture + "\" USEMAP=\"#nav\" BORDER=\"0\">" + CRLF + "</MAP>" + CRLF;
    if (sourceMode) {
        QCOMPARE(e->rch->Text(), kPage.left(kCaret) + map + kPage.mid(kCaret));
        e->rch->undo();
        QCOMPARE(e->rch->Text(), kPage);
        return;
    }
    const QString html = e->surface->DocumentHTML();
    QVERIFY2(html.contains("<MAP NAME=\"nav\">") || html.contains("<map name=\"nav\">"), qPrintable(html));
    QCOMPARE(coordsOf(html.toUpper()), (QStringList{"10,5,60,30", "70,5,120,30"}));
    QVERIFY(html.contains(picture));
}

void tst_MapWizard::finishNeedsRegionsAndAName_data()
{
    QTest::addColumn<int>("regions");
    QTest::addColumn<QString>("name");  // "" = no name box expected; "<cancel>" = Cancel
    QTest::newRow("no regions: nothing happens") << 0 << "";
    QTest::newRow("blank name") << 1 << "   ";
    QTest::newRow("name box cancelled") << 1 << "<cancel>";
}

void tst_MapWizard::finishNeedsRegionsAndAName()
{
    QFETCH(int, regions);
    QFETCH(QString, name);
    QVERIFY(openWizard(makePicture(*dir, "bar.png", {200, 60})));
    if (regions) {
        markRegion({1, 1}, {20, 20});
        answerSettings("a.htm", "A");
    }
    prompts->clear();
    if (name == "<cancel>")
        prompts->cancelInput();
    else if (!name.isEmpty())
        prompts->answerInput(name);
    QTest::mouseClick(wizard->findChild<QPushButton*>("Command2"), Qt::LeftButton);

    QTest::qWait(50);
    QVERIFY(wizard && wizard->isVisible());
    QCOMPARE(wizard->regions().count(), regions);
    QCOMPARE(e->rch->Text(), kPage);
    QCOMPARE(prompts->pending(), 0);
    const bool beeped = !prompts->asked().isEmpty() && prompts->asked().last().kind == ScriptedPrompts::Kind::Beep;
    QCOMPARE(beeped, regions > 0);
    if (!regions)
        QVERIFY(prompts->asked().isEmpty());
}

void tst_MapWizard::settingsNeedALinkAndAText_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("alt");
    QTest::newRow("no link") << "" << "Home";
    QTest::newRow("blank text") << "a.htm" << "  ";
}

void tst_MapWizard::settingsNeedALinkAndAText()
{
    QFETCH(QString, href);
    QFETCH(QString, alt);
    QVERIFY(openWizard(makePicture(*dir, "bar.png", {200, 60})));
    markRegion({1, 1}, {20, 20});
    QPointer<QDialog> settings = openWindow("frmSettings");
    QVERIFY(settings);
    auto* url = settings->findChild<QLineEdit*>("txtURL");
    auto* text = settings->findChild<QLineEdit*>("txtFrame");
    QTest::keyClicks(url, href);
    QTest::keyClicks(text, alt);
    prompts->clear();
    QTest::mouseClick(settings->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QVERIFY(settings && settings->isVisible());
    QCOMPARE(prompts->asked().size(), 1);
    QCOMPARE(prompts->asked().at(0).kind, ScriptedPrompts::Kind::Beep);

    // Typed link and text go in as typed, quotes made safe.
    url->setText(" say \"hi\" ");
    text->setText("<b>");
    QTest::mouseClick(settings->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!settings || !settings->isVisible());
    finish("m");
    QTRY_VERIFY(!wizard);
    QVERIFY(e->rch->Text().contains("HREF=\" say &quot;hi&quot; \" ALT=\"&lt;b>\">"));
}

void tst_MapWizard::theHundredAndFirstRegionIsRefused()
{
    QVERIFY(openWizard(makePicture(*dir, "bar.png", {200, 120})));
    for (int i = 0; i < 100; ++i) {
        markRegion({i, 1}, {i + 1, 100});
        QPointer<QDialog> settings = openWindow("frmSettings");
        QVERIFY(settings);
        settings->close();  // closed by its frame: the region stays, without link and text
        QTRY_VERIFY(!settings || !settings->isVisible());
    }
    QCOMPARE(wizard->regions().count(), 100);
    prompts->clear();
    markRegion({150, 1}, {160, 10});
    QCOMPARE(wizard->regions().count(), 100);
    QVERIFY(!isOpen("frmSettings"));
    QCOMPARE(prompts->messages().size(), 1);
    QCOMPARE(prompts->messages().at(0).text, QString("An image map can hold at most 100 regions."));
    QCOMPARE(prompts->messages().at(0).icon, MsgIcon::Critical);

    finish("full");
    QTRY_VERIFY(!wizard);
    const QStringList coords = coordsOf(e->rch->Text());
    QCOMPARE(coords.size(), 100);
    QCOMPARE(coords.last(), QString("99,1,100,100"));
    QVERIFY(e->rch->Text().contains("COORDS=\"0,1,1,100\" HREF=\"\" ALT=\"\">"));
}

void tst_MapWizard::cancelledPictureDialogLoadsNothing()
{
    QVERIFY(openWizard(QString()));
    QCOMPARE(prompts->asked().at(0).file.filter,
             QString("Picture files|*.gif;*.bmp;*.jpg;*.jpeg;*.png;*.ico"));
    QVERIFY(!wizard->findChild<QWidget*>("picImage")->isVisible());
    QVERIFY(!wizard->findChild<QScrollBar*>("hsb1")->isVisible());
    markRegion({10, 10}, {20, 20});
    QCOMPARE(wizard->regions().count(), 0);
    QTest::mouseClick(wizard->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QVERIFY(wizard && wizard->isVisible());
    QCOMPARE(e->rch->Text(), kPage);
}

void tst_MapWizard::outlinesPulseOnlyWhileShown()
{
    QVERIFY(openWizard(makePicture(*dir, "bar.png", {200, 60})));
    auto* pulse = wizard->findChild<QTimer*>("Timer2");
    QVERIFY(pulse->interval() >= 60 && pulse->interval() <= 120);
    QVERIFY(pulse->isActive());
    wizard->hide();
    QVERIFY(!pulse->isActive());
    wizard->show();
    QVERIFY(pulse->isActive());
}

ORVANE_TEST_MAIN(tst_MapWizard)
#include "tst_map_wizard.moc"
