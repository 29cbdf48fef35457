// The image map, events and image rollover wizards through the real main
// window: opened from the toolbar and the JavaScript menu, answered through
// their own windows and the prompt seam, writing into the real source pane
// and design surface.

#include "../commands/EditorFixture.h"

#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "shell/lifecycle/DocumentLifecycle.h"
#include "shell/lifecycle/MainWindowParts.h"
#include "wizards/frmMain/frmMain.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

using namespace orvane;
using namespace orvane::test;

namespace {
const QString CRLF = QStringLiteral("\r\n");
// Author's text on both sides of the caret, a server block included.
const QString kBefore = QStringLiteral("<P>before</P>\r\n<% If a < b Then %>\r\n<DIV");
const QString kAfter = QStringLiteral(">x</DIV>\r\n<% End If %>");

QDialog* shownWindow(const QString& name)
{
    for (int i = 0; i < 100; ++i, QTest::qWait(10))
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                return qobject_cast<QDialog*>(w);
    return nullptr;
}

void click(QWidget* window, const char* button)
{
    QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
}

QStringList coordsOf(const QString& text)
{
    QStringList coords;
    static const QRegularExpression re(QStringLiteral("COORDS=\"([^\"]*)\""));
    for (const QRegularExpressionMatch& m : re.globalMatch(text))
        coords << m.captured(1);
    return coords;
}
}  // namespace

class tst_MapEventsRollover : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openers_data();
    void openers();
    void mapRegionsInPictureCoordinates_data();
    void mapRegionsInPictureCoordinates();
    void mapIntoTheDesignSurface();
    void mapRefusals();
    void eventsWizard_data();
    void eventsWizard();
    void rollover_data();
    void rollover();
    void rolloverSlots();

private:
    frmMain* openMap(QSize picture);
    void markRegion(QPoint from, QPoint to, const QString& href = "a.htm", const QString& alt = "Home");
    QDialog* openRollover(const QString& page);
    void chooseImages(QDialog* wizard, const QStringList& files);

    std::unique_ptr<EditorFixture> e;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<QTemporaryDir> dir;
    QPointer<frmMain> map;
};

void tst_MapEventsRollover::init()
{
    e = std::make_unique<EditorFixture>();
    prompts = std::make_unique<ScriptedPrompts>();
    dir = std::make_unique<QTemporaryDir>();
    e->setSourceMode(true);
    e->rch->setText(kBefore + kAfter);
    e->rch->setSelStart(int(kBefore.size()));
}

void tst_MapEventsRollover::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(w))
            delete w;
    QCOMPARE(prompts->unexpected(), QStringList());
    prompts.reset();
    e.reset();
}

// The wizard over a picture of `picture` made here; an empty size cancels the file dialog.
frmMain* tst_MapEventsRollover::openMap(QSize picture)
{
    if (picture.isEmpty()) {
        prompts->cancelFile();
    } else {
        QImage image(picture, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(dir->filePath("bar.png"));
        prompts->answerFile(dir->filePath("bar.png"));
    }
    e->clickTool("Image5");
    return map = qobject_cast<frmMain*>(shownWindow("frmMain"));
}

// "Select Region", two clicks on the viewport with a move between, then the settings.
void tst_MapEventsRollover::markRegion(QPoint from, QPoint to, const QString& href, const QString& alt)
{
    auto* viewport = map->findChild<QWidget*>("picContainer");
    // Events go to whatever lies under the point, as the window system sends them.
    const auto under = [viewport](QPoint p) {
        QWidget* w = viewport->childAt(p);
        return w ? std::pair{w, w->mapFrom(viewport, p)} : std::pair{viewport, p};
    };
    click(map, "Command1");
    QTest::mouseClick(under(from).first, Qt::LeftButton, {}, under(from).second);
    QTest::mouseMove(under(to).first, under(to).second);
    QTest::mouseClick(under(to).first, Qt::LeftButton, {}, under(to).second);
    QPointer<QDialog> settings = shownWindow("frmSettings");
    if (!settings)
        return;
    if (href.isNull()) {  // closed by its frame
        settings->close();
        return;
    }
    settings->findChild<QLineEdit*>("txtURL")->setText(href);
    settings->findChild<QLineEdit*>("txtFrame")->setText(alt);
    click(settings, "cmdOK");
}

void tst_MapEventsRollover::openers_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("panelOpen");

    QTest::newRow("Events Wizard, Source mode") << "Label56" << true << "javaWiz"
        << "Step 1. Click the Element Where You would Like This Event to Occur!" << false;
    QTest::newRow("Events Wizard, Edit mode") << "Label56" << false << ""
        << "Please Change to Source Mode to Use This Component" << false;
    QTest::newRow("Rollover Wizard, Source mode") << "Label57" << true << "funcFrm" << "" << false;
    QTest::newRow("Rollover Wizard, Edit mode") << "Label57" << false << ""
        << "Please Use This Feature in Source Mode" << true;
    QTest::newRow("Image Map Wizard, Edit mode") << "Image5" << false << "frmMain" << "" << false;
}

void tst_MapEventsRollover::openers()
{
    QFETCH(QString, control);
    QFETCH(bool, sourceMode);
    QFETCH(QString, window);
    QFETCH(QString, message);
    QFETCH(bool, panelOpen);

    e->setSourceMode(sourceMode);
    if (control == "Image5")
        prompts->cancelFile();
    e->click(control);
    QDialog* opened = shownWindow(window.isEmpty() ? "none" : window);
    QCOMPARE(opened != nullptr, !window.isEmpty());
    QVERIFY(!opened || opened->isModal());
    QCOMPARE(prompts->messages().isEmpty() ? QString() : prompts->messages().at(0).text, message);
    if (control != "Image5")
        QCOMPARE(e->menuPanel("Picture_java")->isVisible(), panelOpen);
}

void tst_MapEventsRollover::mapRegionsInPictureCoordinates_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("scroll");  // -1: that bar is hidden
    QTest::addColumn<QList<QPoint>>("clicks");  // on the viewport, two per region
    QTest::addColumn<QStringList>("coords");

    QTest::newRow("drawn from bottom right to top left") << QSize(200, 60) << QPoint(-1, -1)
        << QList<QPoint>{{120, 30}, {70, 5}, {40, 40}, {40, 40}} << QStringList{"120,30,70,5", "40,40,40,40"};
    QTest::newRow("larger than the viewport, scrolled both ways") << QSize(900, 700) << QPoint(300, 250)
        << QList<QPoint>{{10, 5}, {60, 30}} << QStringList{"310,255,360,280"};
    QTest::newRow("only wider, scrolled across") << QSize(900, 100) << QPoint(400, -1)
        << QList<QPoint>{{10, 5}, {60, 30}} << QStringList{"410,5,460,30"};
}

void tst_MapEventsRollover::mapRegionsInPictureCoordinates()
{
    QFETCH(QSize, picture);
    QFETCH(QPoint, scroll);
    QFETCH(QList<QPoint>, clicks);
    QFETCH(QStringList, coords);

    QVERIFY(openMap(picture));
    auto* h = map->findChild<QScrollBar*>("hsb1");
    auto* v = map->findChild<QScrollBar*>("vsb1");
    QCOMPARE(h->isVisible(), scroll.x() >= 0);
    QCOMPARE(v->isVisible(), scroll.y() >= 0);
    h->setValue(scroll.x());
    v->setValue(scroll.y());
    for (qsizetype i = 0; i + 1 < clicks.size(); i += 2)
        markRegion(clicks[i], clicks[i + 1]);
    prompts->answerInput("nav");
    click(map, "Command2");
    QTRY_VERIFY(!map);
    QCOMPARE(coordsOf(e->rch->Text()), coords);
}

void tst_MapEventsRollover::mapIntoTheDesignSurface()
{
    e->setSourceMode(false);
    e->surface->setDocumentHTML("<HTML><BODY><P>text</P></BODY></HTML>");
    QVERIFY(openMap({200, 60}));
    markRegion({10, 5}, {60, 30});
    markRegion({70, 5}, {120, 30}, "b.htm", "News");
    prompts->answerInput("nav");
    click(map, "Command2");
    QTRY_VERIFY(!map);
    const QString html = e->surface->DocumentHTML();
    QVERIFY2(html.contains(QRegularExpression("<MAP NAME=\"?nav\"?>", QRegularExpression::CaseInsensitiveOption)),
             qPrintable(html));
    QCOMPARE(coordsOf(html.toUpper()), (QStringList{"10,5,60,30", "70,5,120,30"}));
}

// Finish without regions or name, empty settings, the 101st region, no picture.
void tst_MapEventsRollover::mapRefusals()
{
    QVERIFY(openMap({}));
    QVERIFY(!map->findChild<QWidget*>("picImage")->isVisible());
    markRegion({10, 10}, {20, 20});
    QCOMPARE(map->regions().count(), 0);
    delete map;

    QVERIFY(openMap({200, 120}));
    click(map, "Command2");  // no regions: not even the name is asked
    markRegion({1, 1}, {20, 20}, "", "Home");
    QPointer<QDialog> settings = shownWindow("frmSettings");
    QVERIFY(settings);  // a beep, and the dialog stays
    settings->findChild<QLineEdit*>("txtURL")->setText(" say \"hi\" & ");
    click(settings, "cmdOK");
    QTRY_VERIFY(!settings || !settings->isVisible());
    for (int i = 1; i < 100; ++i)
        markRegion({i, 1}, {i + 1, 100}, QString());
    QTRY_VERIFY(!shownWindow("frmSettings"));
    markRegion({150, 1}, {160, 10});  // the 101st
    QCOMPARE(map->regions().count(), 100);
    prompts->answerInput("   ").cancelInput().answerInput(" m ");
    click(map, "Command2");
    click(map, "Command2");
    QCOMPARE(e->rch->Text(), kBefore + kAfter);
    click(map, "Command2");
    QTRY_VERIFY(!map);

    using K = ScriptedPrompts::Kind;
    QList<K> kinds;
    for (const ScriptedPrompts::Asked& a : prompts->asked())
        kinds << a.kind;
    QCOMPARE(kinds.mid(0, 5), (QList<K>{K::OpenFile, K::Message, K::OpenFile, K::Message, K::Beep}));
    QCOMPARE(kinds.mid(kinds.size() - 6),
             (QList<K>{K::Message, K::Input, K::Beep, K::Input, K::Beep, K::Input}));
    QCOMPARE(prompts->asked().at(kinds.size() - 6).text, QString("An image map can hold at most 100 regions."));
    QCOMPARE(prompts->asked().last().text, "Give a name for the image map: " + CRLF + "(for the <MAP NAME=\"...\"> tag)");
    const QString text = e->rch->Text();
    QVERIFY(text.startsWith(kBefore + CRLF + "<MAP NAME=\" m \">" + CRLF
                            + "<AREA SHAPE=\"RECT\" COORDS=\"1,1,20,20\" HREF=\" say &quot;hi&quot; &amp; \" ALT=\"Home\">"));
    QVERIFY(text.endsWith("<AREA SHAPE=\"RECT\" COORDS=\"99,1,100,100\" HREF=\"\" ALT=\"\">" + CRLF
                          + "<IMG SRC=\"" + dir->filePath("bar.png") + "\" USEMAP=\"# m \" BORDER=\"0\">" + CRLF
                          + "</MAP>" + CRLF + kAfter));
    e->rch->undo();
    QCOMPARE(e->rch->Text(), kBefore + kAfter);
}

void tst_MapEventsRollover::eventsWizard_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("functions");
    QTest::addColumn<int>("event");     // row clicked, -1 none
    QTest::addColumn<int>("function");
    QTest::addColumn<QString>("inserted");  // empty: Cancel

    const QString menus = "<SCRIPT>\r\nfunction showMenu() {}\r\nfunction hideMenu() {}\r\n</SCRIPT>";
    const QStringList menuList{"showMenu()", "hideMenu()", "Total Number of Functions:2"};
    QTest::newRow("showMenu and hideMenu") << menus << menuList << 2 << 0 << " onclick='showMenu()'";
    QTest::newRow("functions with parameters")
        << "<SCRIPT>function go(url) { open(url); }\r\nfunction back() {}</SCRIPT>"
        << QStringList{"go()", "back()", "Total Number of Functions:2"} << 9 << 1 << " onmousedown='back()'";
    QTest::newRow("no functions") << "" << QStringList{"Total Number of Functions:0"} << 4 << 0
                                  << " onload='Total Number of Functions:0'";
    QTest::newRow("nothing selected") << menus << menuList << -1 << -1 << " =''";
    QTest::newRow("cancelled") << menus << menuList << 0 << 0 << "";
}

void tst_MapEventsRollover::eventsWizard()
{
    QFETCH(QString, script);
    QFETCH(QStringList, functions);
    QFETCH(int, event);
    QFETCH(int, function);
    QFETCH(QString, inserted);

    e->rch->setText(script + kBefore + kAfter);
    e->rch->setSelStart(int(script.size() + kBefore.size()));
    e->click("Label56");
    QPointer<QDialog> wizard = shownWindow("javaWiz");
    QVERIFY(wizard);
    auto* events = wizard->findChild<QListWidget*>("List2");
    auto* list = wizard->findChild<QListWidget*>("List1");
    QCOMPARE(events->count(), 10);
    QCOMPARE(events->item(9)->text(), QString("onmousedown"));
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    QCOMPARE(shown, functions);
    QVERIFY(events->selectedItems().isEmpty() && list->selectedItems().isEmpty());

    for (const auto& [view, row] : {std::pair{events, event}, std::pair{list, function}})
        if (row >= 0)
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(view->item(row)).center());
    click(wizard, inserted.isEmpty() ? "Command2" : "Command1");
    QTRY_VERIFY(!wizard || !wizard->isVisible());
    QCOMPARE(e->rch->Text(), script + kBefore + inserted + kAfter);
    e->rch->undo();
    QCOMPARE(e->rch->Text(), script + kBefore + kAfter);
}

QDialog* tst_MapEventsRollover::openRollover(const QString& page)
{
    e->rch->setText(page);
    e->click("Label57");
    return shownWindow("funcFrm");
}

void tst_MapEventsRollover::chooseImages(QDialog* wizard, const QStringList& files)
{
    for (const QString& f : files) {
        prompts->answerFile(dir->filePath(f));
        click(wizard, "Command1");
    }
}

void tst_MapEventsRollover::rollover_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("anchors");

    const QString body = "<BODY><% x = \"</HEAD></script>\" %></BODY></HTML>";
    const QString isn12 = "isn1 = new Image();" + CRLF + " isn1.src = \"a.gif\";" + CRLF
                          + " isn2 = new Image();" + CRLF + " isn2.src = \"b.gif\";" + CRLF + " </script>";
    const QString pairOne = "<a HREF='#' onmouseover='document.one.src=isn2.src; return true;' "
                            "onmouseout='document.one.src=isn1.src; return true;'>"
                            + CRLF + "<img NAME='one' SRC='a.gif' border=0></a>";
    QTest::newRow("no images") << "<HTML><HEAD></HEAD>" + body << QStringList{}
        << "<HTML><HEAD><Script Language='Javascript'> </script></HEAD>" + body << "";
    QTest::newRow("four images, no script") << "<HTML><HEAD></HEAD>" + body
        << QStringList{"a.gif", "b.gif", "c.gif", "d.gif"}
        << "<HTML><HEAD><Script Language='Javascript'> " + isn12.chopped(10) + " isn3 = new Image();" + CRLF
               + "isn3.src = \"c.gif\";" + CRLF + " isn4 = new Image();" + CRLF + "isn4.src = \"d.gif\";" + CRLF
               + " </script></HEAD>" + body
        << pairOne + CRLF + "<a HREF='#' onmouseover='document.two.src=isn4.src; return true;' "
                            "onmouseout='document.two.src=isn3.src; return true;'>" + CRLF
               + "<img NAME='two' SRC='c.gif' border=0></a>";
    QTest::newRow("two script blocks, lower case")
        << "<head><script>var a;</script><script>var b;</script></head>" + body << QStringList{"a.gif", "b.gif"}
        << "<head><script>var a;" + isn12 + "<script>var b;" + isn12 + "</head>" + body << pairOne;
    QTest::newRow("head end in lower case") << "<head></head>" << QStringList{"a.gif", "b.gif"}
        << "<head><Script Language='Javascript'> " + isn12 + "</head>" << pairOne;
    QTest::newRow("neither script nor head") << "<P>only</P>" << QStringList{"a.gif", "b.gif"}
        << "<P>only</P>" << pairOne;
}

void tst_MapEventsRollover::rollover()
{
    QFETCH(QString, page);
    QFETCH(QStringList, images);
    QFETCH(QString, expected);
    QFETCH(QString, anchors);

    QDialog* wizard = openRollover(page);
    QVERIFY(wizard);
    auto* text1 = wizard->findChild<QPlainTextEdit*>("Text1");
    QVERIFY(!text1->isVisible());
    chooseImages(wizard, images);
    click(wizard, "Command2");

    QCOMPARE(e->rch->Text(), expected);
    QVERIFY(wizard->isVisible() && text1->isVisible());
    QCOMPARE(text1->toPlainText(), QString(anchors).replace(CRLF, "\n"));
    const QString message = prompts->messages().at(0).text;
    if (page == expected)
        QVERIFY2(message.contains("nowhere to go"), qPrintable(message));
    else
        QCOMPARE(message, QString("Cut And Paste This Code Where You Want Your Images"));
    QCOMPARE(e->surface->DocumentHTML().contains("isn2.src = \"b.gif\";"), expected.contains("b.gif"));
    e->rch->undo();
    QCOMPARE(e->rch->Text(), page);
}

// Cancelled dialogs, the fifteenth image, two presses, names from the page's folder.
void tst_MapEventsRollover::rolloverSlots()
{
    const QString page = dir->filePath("site/index.htm");
    QDir(dir->path()).mkpath("site/img");
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("<HEAD></HEAD>") > 0);
    file.close();
    prompts->answerFile(page);
    e->window->parts()->lifecycle().Label3_Click();

    QDialog* wizard = openRollover(e->rch->Text());
    QVERIFY(wizard);
    prompts->cancelFile();
    click(wizard, "Command1");
    QCOMPARE(wizard->findChild<QLabel*>("Label2_0")->text(), QString());
    chooseImages(wizard, {"site/a.gif", "site/img/b.gif", "c.gif"});
    for (int i = 4; i <= 15; ++i)
        chooseImages(wizard, {QStringLiteral("site/%1.gif").arg(i)});
    QCOMPARE(prompts->pending(), 1);  // the fifteenth is not asked for
    prompts->clear();
    const QStringList expected{"a.gif", "img/b.gif", "../c.gif", "Image 14.", "14.gif"};
    QStringList shown;
    for (const char* name : {"Label2_0", "Label2_1", "Label2_2", "Label3_13", "Label2_13"})
        shown << wizard->findChild<QLabel*>(name)->text();
    QCOMPARE(shown, expected);

    click(wizard, "Command2");
    QVERIFY(wizard->findChild<QPlainTextEdit*>("Text1")->toPlainText().endsWith(
        "<a HREF='#' onmouseover='document.seven.src=isn14.src; return true;' "
        "onmouseout='document.seven.src=isn13.src; return true;'>\n<img NAME='seven' SRC='13.gif' border=0></a>"));
    click(wizard, "Command2");
    QCOMPARE(e->rch->Text().count("isn14.src = \"14.gif\";"), 2);
    QCOMPARE(e->rch->Text().count("<Script Language='Javascript'>"), 1);

    click(wizard, "Command4");
    QCOMPARE(prompts->messages().last().title, QString("Orvane Help"));
}

ORVANE_TEST_MAIN(tst_MapEventsRollover)
#include "tst_map_events_rollover.moc"
