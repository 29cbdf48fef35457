// The image map, events and image rollover wizards opened from the real main window, answered
// through their windows and the prompt seam, writing into the real source pane and design surface.

#include "WindowFixture.h"
#include "WizardWindows.h"

#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "DocumentLifecycle.h"
#include "MainWindowParts.h"
#include "frmMain.h"

#include <QtWidgets>

using namespace orvane;
using namespace orvane::test;

namespace {
const QString CRLF = QStringLiteral("\r\n");
// Author's text on both sides of the caret, a server block included.
const QString kBefore = QStringLiteral("<P>before</P>\r\n<% If a < b Then %>\r\n<DIV");
const QString kAfter = QStringLiteral(">x</DIV>\r\n<% End If %>");

QStringList coordsOf(const QString& text) {
    QStringList coords;
    for (const QRegularExpressionMatch& m : QRegularExpression("COORDS=\"([^\"]*)\"").globalMatch(text))
        coords << m.captured(1);
    return coords;
}
}  // namespace

class tst_MapEventsRollover : public QObject {
    Q_OBJECT
private slots:
    void init() {
        e = std::make_unique<WindowFixture>();
        prompts = std::make_unique<ScriptedPrompts>();
        dir = std::make_unique<QTemporaryDir>();
        e->setSourceMode(true);
        e->rch->setText(kBefore + kAfter);
        e->rch->setSelStart(int(kBefore.size()));
    }
    void cleanup() {
        QCOMPARE(prompts->unexpected(), QStringList());
        prompts.reset();
        e.reset();
    }
    void mapRegionsInPictureCoordinates_data();
    void mapRegionsInPictureCoordinates();
    void mapRefusals();
    void eventsWizard();
    void rollover_data();
    void rollover();
    void rolloverSlots();

private:
    // The wizard over a picture of `size` made here; an empty size cancels the file dialog.
    frmMain* openMap(QSize size) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        size.isEmpty() || !picture.save(dir->filePath("bar.png")) ? prompts->cancelFile()
                                                                  : prompts->answerFile(dir->filePath("bar.png"));
        e->clickTool("Image5");
        return map = qobject_cast<frmMain*>(shownWindow("frmMain"));
    }
    void markRegion(QPoint from, QPoint to, const QString& href = "a.htm", const QString& alt = "Home");
    QDialog* openRollover(const QString& page) {
        e->rch->setText(page);
        e->click("Label57");
        return shownWindow("funcFrm");
    }
    void chooseImages(QDialog* wizard, const QStringList& files) {
        for (const QString& f : files) {
            prompts->answerFile(dir->filePath(f));
            press(wizard, "Command1");
        }
    }

    std::unique_ptr<WindowFixture> e;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<QTemporaryDir> dir;
    QPointer<frmMain> map;
};

// "Select Region", two clicks on the viewport, then the settings (closed by the frame for a null link).
void tst_MapEventsRollover::markRegion(QPoint from, QPoint to, const QString& href, const QString& alt) {
    auto* viewport = map->findChild<QWidget*>("picContainer");
    // Events go to whatever lies under the point, as the window system sends them.
    const auto under = [viewport](QPoint p) {
        QWidget* w = viewport->childAt(p);
        return w ? std::pair{w, w->mapFrom(viewport, p)} : std::pair{viewport, p};
    };
    press(map, "Command1");
    QTest::mouseClick(under(from).first, Qt::LeftButton, {}, under(from).second);
    QTest::mouseMove(under(to).first, under(to).second);
    QTest::mouseClick(under(to).first, Qt::LeftButton, {}, under(to).second);
    if (QDialog* settings = shownWindow("frmSettings"); settings && href.isNull()) {
        settings->close();
    } else if (settings) {
        settings->findChild<QLineEdit*>("txtURL")->setText(href);
        settings->findChild<QLineEdit*>("txtFrame")->setText(alt);
        press(settings, "cmdOK");
    }
}

void tst_MapEventsRollover::mapRegionsInPictureCoordinates_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("scroll");  // -1: that bar is hidden
    QTest::addColumn<QList<QPoint>>("clicks");  // on the viewport, two per region
    QTest::addColumn<QStringList>("coords");
    QTest::addColumn<bool>("editMode");

    QTest::newRow("Edit mode: over the design surface's selection") << QSize(200, 60) << QPoint(-1, -1)
        << QList<QPoint>{{10, 5}, {60, 30}, {70, 5}, {120, 30}} << QStringList{"10,5,60,30", "70,5,120,30"} << true;
    QTest::newRow("drawn from bottom right to top left") << QSize(200, 60) << QPoint(-1, -1)
        << QList<QPoint>{{120, 30}, {70, 5}, {40, 40}, {40, 40}} << QStringList{"120,30,70,5", "40,40,40,40"} << false;
    QTest::newRow("larger than the viewport, scrolled both ways") << QSize(900, 700) << QPoint(300, 250)
        << QList<QPoint>{{10, 5}, {60, 30}} << QStringList{"310,255,360,280"} << false;
}

void tst_MapEventsRollover::mapRegionsInPictureCoordinates() {
    QFETCH(QSize, picture);
    QFETCH(QPoint, scroll);
    QFETCH(QList<QPoint>, clicks);
    QFETCH(QStringList, coords);
    QFETCH(bool, editMode);
    if (editMode) {
        e->setSourceMode(false);
        e->surface->setDocumentHTML("<HTML><BODY><P>text</P></BODY></HTML>");
    }
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
    press(map, "Command2");
    QTRY_VERIFY(!map);
    const QString html = e->surface->DocumentHTML();
    QCOMPARE(coordsOf(editMode ? html.toUpper() : e->rch->Text()), coords);
    QCOMPARE(html.contains(QRegularExpression("<MAP NAME=\"?nav\"?>", QRegularExpression::CaseInsensitiveOption)),
             editMode);
}

// Finish without regions or name, empty settings, the 101st region, no picture.
void tst_MapEventsRollover::mapRefusals() {
    QVERIFY(openMap({}));
    QVERIFY(!map->findChild<QWidget*>("picImage")->isVisible());
    markRegion({10, 10}, {20, 20});
    QCOMPARE(map->regions().count(), 0);
    delete map;

    QVERIFY(openMap({200, 120}));
    press(map, "Command2");  // no regions: not even the name is asked
    markRegion({1, 1}, {20, 20}, "", "Home");
    QPointer<QDialog> settings = shownWindow("frmSettings");  // a beep, and the dialog stays
    QVERIFY(settings);
    settings->findChild<QLineEdit*>("txtURL")->setText(" say \"hi\" & ");
    press(settings, "cmdOK");
    QTRY_VERIFY(!settings || !settings->isVisible());
    for (int i = 1; i < 100; ++i)
        markRegion({i, 1}, {i + 1, 100}, QString());
    QTRY_VERIFY(!shownWindow("frmSettings"));
    markRegion({150, 1}, {160, 10});  // the 101st
    QCOMPARE(map->regions().count(), 100);
    prompts->answerInput("   ").cancelInput().answerInput(" m ");
    press(map, "Command2");
    press(map, "Command2");
    QCOMPARE(e->rch->Text(), kBefore + kAfter);
    press(map, "Command2");
    QTRY_VERIFY(!map);

    const auto beep = [](const ScriptedPrompts::Asked& a) { return a.kind == ScriptedPrompts::Kind::Beep; };
    QCOMPARE(std::count_if(prompts->asked().begin(), prompts->asked().end(), beep), 3);
    QCOMPARE(prompts->messages().last().text, QString("An image map can hold at most 100 regions."));
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

// The event picked and the function picked become an attribute at the caret.
void tst_MapEventsRollover::eventsWizard() {
    const QString script = "<SCRIPT>\r\nfunction showMenu() {}\r\nfunction hideMenu() {}\r\n</SCRIPT>";
    e->rch->setText(script + kBefore + kAfter);
    e->rch->setSelStart(int(script.size() + kBefore.size()));
    e->click("Label56");
    QPointer<QDialog> wizard = shownWindow("javaWiz");
    QVERIFY(wizard);
    auto* events = wizard->findChild<QListWidget*>("List2");
    auto* list = wizard->findChild<QListWidget*>("List1");
    QCOMPARE(events->count() + list->count(), 10 + 3);
    QCOMPARE(events->item(9)->text() + list->item(2)->text(), QString("onmousedownTotal Number of Functions:2"));

    for (const auto& [view, row] : {std::pair{events, 2}, std::pair{list, 0}})
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(view->item(row)).center());
    press(wizard, "Command1");
    QTRY_VERIFY(!wizard || !wizard->isVisible());
    QCOMPARE(e->rch->Text(), script + kBefore + " onclick='showMenu()'" + kAfter);
    e->rch->undo();
    QCOMPARE(e->rch->Text(), script + kBefore + kAfter);
}

void tst_MapEventsRollover::rollover_data() {
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
    QTest::newRow("four images, no script") << "<HTML><HEAD></HEAD>" + body
        << QStringList{"a.gif", "b.gif", "c.gif", "d.gif"}
        << "<HTML><HEAD><Script Language='Javascript'> " + isn12.chopped(10) + " isn3 = new Image();" + CRLF
               + "isn3.src = \"c.gif\";" + CRLF + " isn4 = new Image();" + CRLF + "isn4.src = \"d.gif\";" + CRLF
               + " </script></HEAD>" + body
        << pairOne + CRLF + "<a HREF='#' onmouseover='document.two.src=isn4.src; return true;' "
                            "onmouseout='document.two.src=isn3.src; return true;'>" + CRLF
               + "<img NAME='two' SRC='c.gif' border=0></a>";
    QTest::newRow("neither script nor head") << "<P>only</P>" << QStringList{"a.gif", "b.gif"} << "<P>only</P>" << pairOne;
}

void tst_MapEventsRollover::rollover() {
    QFETCH(QString, page);
    QFETCH(QStringList, images);
    QFETCH(QString, expected);
    QFETCH(QString, anchors);
    QDialog* wizard = openRollover(page);
    QVERIFY(wizard);
    auto* text1 = wizard->findChild<QPlainTextEdit*>("Text1");
    chooseImages(wizard, images);
    press(wizard, "Command2");

    QCOMPARE(e->rch->Text(), expected);
    QVERIFY(wizard->isVisible() && text1->isVisible());
    QCOMPARE(text1->toPlainText(), QString(anchors).replace(CRLF, "\n"));
    QCOMPARE(prompts->messages().at(0).text.contains("nowhere to go"), page == expected);
    QVERIFY(page == expected || prompts->messages().at(0).text == "Cut And Paste This Code Where You Want Your Images");
    QCOMPARE(e->surface->DocumentHTML().contains("isn2.src = \"b.gif\";"), expected.contains("b.gif"));
    e->rch->undo();
    QCOMPARE(e->rch->Text(), page);
}

// Cancelled dialogs, the fifteenth image, two presses, names from the page's folder.
void tst_MapEventsRollover::rolloverSlots() {
    QDir(dir->path()).mkpath("site/img");
    prompts->answerFile(dir->filePath("site/index.htm"));
    e->window->parts()->lifecycle().Label5_Click();  // Save As: the page lives in site/ now
    QDialog* wizard = openRollover("<HEAD></HEAD>");
    QVERIFY(wizard);
    chooseImages(wizard, {"site/a.gif"});
    prompts->cancelFile();
    press(wizard, "Command1");
    QCOMPARE(wizard->findChild<QLabel*>("Label2_1")->text(), QString());
    chooseImages(wizard, {"site/img/b.gif", "c.gif"});
    for (int i = 4; i <= 15; ++i)
        chooseImages(wizard, {QStringLiteral("site/%1.gif").arg(i)});
    QCOMPARE(prompts->pending(), 1);  // the fifteenth is not asked for
    prompts->clear();
    QStringList shown;
    for (const char* name : {"Label2_0", "Label2_1", "Label2_2", "Label3_13", "Label2_13"})
        shown << wizard->findChild<QLabel*>(name)->text();
    QCOMPARE(shown, (QStringList{"a.gif", "img/b.gif", "../c.gif", "Image 14.", "14.gif"}));

    press(wizard, "Command2");
    QVERIFY(wizard->findChild<QPlainTextEdit*>("Text1")->toPlainText().endsWith(
        "document.seven.src=isn13.src; return true;'>\n<img NAME='seven' SRC='13.gif' border=0></a>"));
    press(wizard, "Command2");
    QCOMPARE(e->rch->Text().count("isn14.src = \"14.gif\";"), 2);
    QCOMPARE(e->rch->Text().count("<Script Language='Javascript'>"), 1);
}

ORVANE_TEST_MAIN(tst_MapEventsRollover)
#include "tst_map_events_rollover.moc"
