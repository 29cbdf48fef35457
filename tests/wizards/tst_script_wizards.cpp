// The events wizard and the image rollover wizard through the real main
// window: opened from the JavaScript menu, answered through their windows,
// writing into the real source pane and design surface.

#include "../commands/EditorFixture.h"
#include "WizardTestSupport.h"

#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "shell/lifecycle/DocumentLifecycle.h"
#include "shell/lifecycle/MainWindowParts.h"

#include <QDir>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace orvane;
using namespace orvane::test;

namespace {
const QString CRLF = QStringLiteral("\r\n");
const QString kOpen = "<a HREF='#' onmouseover='document.%1.src=isn%2.src; return true;' "
                      "onmouseout='document.%1.src=isn%3.src; return true;'>";

QStringList entries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QPushButton* button(QWidget* window, const char* name) { return window->findChild<QPushButton*>(name); }
}  // namespace

class tst_ScriptWizards : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openers_data();
    void openers();
    void eventsWizardWritesAtTheCaret_data();
    void eventsWizardWritesAtTheCaret();
    void rolloverWritesScriptAndAnchors_data();
    void rolloverWritesScriptAndAnchors();
    void rolloverSlotsFillOneByOne();
    void rolloverPicturesAreNamedFromThePage();

private:
    QDialog* openRollover(const QString& page);
    void chooseImages(QDialog* wizard, const QStringList& files);

    std::unique_ptr<EditorFixture> e;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<QTemporaryDir> dir;
};

void tst_ScriptWizards::init()
{
    e = std::make_unique<EditorFixture>();
    prompts = std::make_unique<ScriptedPrompts>();
    dir = std::make_unique<QTemporaryDir>();
}

void tst_ScriptWizards::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(w))
            delete w;
    QCOMPARE(prompts->unexpected(), QStringList());
    prompts.reset();
    e.reset();
}

void tst_ScriptWizards::openers_data()
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
    QTest::newRow("Image Map Wizard, Source mode") << "Image5" << true << "frmMain" << "" << false;
    QTest::newRow("Image Map Wizard, Edit mode") << "Image5" << false << "frmMain" << "" << false;
}

void tst_ScriptWizards::openers()
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
    if (window.isEmpty()) {
        QTest::qWait(100);
        for (const char* w : {"javaWiz", "funcFrm", "frmMain"})
            QVERIFY(!isOpen(w));
    } else {
        QDialog* opened = openWindow(window);
        QVERIFY(opened);
        QVERIFY(opened->isModal());
    }
    QCOMPARE(prompts->messages().isEmpty() ? QString() : prompts->messages().at(0).text, message);
    if (!message.isEmpty() && window.isEmpty())
        QCOMPARE(prompts->messages().at(0).title, QString(applicationTitle()));
    if (control != "Image5")
        QCOMPARE(e->menuPanel("Picture_java")->isVisible(), panelOpen);
}

void tst_ScriptWizards::eventsWizardWritesAtTheCaret_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("functions");
    QTest::addColumn<int>("event");     // row chosen, -1 none
    QTest::addColumn<int>("function");
    QTest::addColumn<QString>("inserted");

    const QString menus = "<SCRIPT>\r\nfunction showMenu() {}\r\nfunction hideMenu() {}\r\n</SCRIPT>\r\n<DIV";
    QTest::newRow("showMenu and hideMenu") << menus
        << QStringList{"showMenu()", "hideMenu()", "Total Number of Functions:2"} << 2 << 0
        << " onclick='showMenu()'";
    QTest::newRow("functions with parameters are named right")
        << "<SCRIPT>function go(url) { open(url); }\r\nfunction back() {}</SCRIPT><A"
        << QStringList{"go()", "back()", "Total Number of Functions:2"} << 9 << 1 << " onmousedown='back()'";
    QTest::newRow("no functions") << "<P" << QStringList{"Total Number of Functions:0"} << 4 << 0
        << " onload='Total Number of Functions:0'";
    QTest::newRow("nothing selected") << menus
        << QStringList{"showMenu()", "hideMenu()", "Total Number of Functions:2"} << -1 << -1 << " =''";
    QTest::newRow("cancelled") << menus
        << QStringList{"showMenu()", "hideMenu()", "Total Number of Functions:2"} << 0 << 0 << "";
}

void tst_ScriptWizards::eventsWizardWritesAtTheCaret()
{
    QFETCH(QString, page);
    QFETCH(QStringList, functions);
    QFETCH(int, event);
    QFETCH(int, function);
    QFETCH(QString, inserted);

    const QString tail = QStringLiteral(">x</P>\r\n<% If a < b Then %>");
    e->setSourceMode(true);
    e->rch->setText(page + tail);
    e->rch->setSelStart(int(page.size()));
    e->click("Label56");
    QPointer<QDialog> wizard = openWindow("javaWiz");
    QVERIFY(wizard);
    QCOMPARE(wizard->windowTitle(), QString("Events"));
    auto* events = wizard->findChild<QListWidget*>("List2");
    auto* list = wizard->findChild<QListWidget*>("List1");
    QCOMPARE(entries(events), (QStringList{"onmouseover", "onmouseout", "onclick", "onsubmit", "onload",
                                          "onunload", "onblur", "onselect", "onfocus", "onmousedown"}));
    QCOMPARE(entries(list), functions);
    QVERIFY(events->selectedItems().isEmpty() && list->selectedItems().isEmpty());

    if (event >= 0)
        QTest::mouseClick(events->viewport(), Qt::LeftButton, {},
                          events->visualItemRect(events->item(event)).center());
    if (function >= 0)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(function)).center());
    QTest::mouseClick(button(wizard, inserted.isEmpty() ? "Command2" : "Command1"), Qt::LeftButton);
    QTRY_VERIFY(!wizard || !wizard->isVisible());
    QCOMPARE(e->rch->Text(), page + inserted + tail);
    e->rch->undo();
    QCOMPARE(e->rch->Text(), page + tail);
}

QDialog* tst_ScriptWizards::openRollover(const QString& page)
{
    e->setSourceMode(true);
    e->rch->setText(page);
    e->click("Label57");
    return openWindow("funcFrm");
}

void tst_ScriptWizards::chooseImages(QDialog* wizard, const QStringList& files)
{
    for (const QString& f : files) {
        prompts->answerFile(dir->filePath(f));
        QTest::mouseClick(button(wizard, "Command1"), Qt::LeftButton);
    }
}

void tst_ScriptWizards::rolloverWritesScriptAndAnchors_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("anchors");
    QTest::addColumn<QString>("message");

    const QString cut = "Cut And Paste This Code Where You Want Your Images";
    const QString pairOne = kOpen.arg("one").arg(2).arg(1) + CRLF + "<img NAME='one' SRC='a.gif' border=0></a>";
    const QString body = "<BODY><% x = \"</HEAD>\" %></BODY></HTML>";
    QTest::newRow("no images") << "<HTML><HEAD><TITLE>t</TITLE></HEAD>" + body << QStringList{}
        << "<HTML><HEAD><TITLE>t</TITLE><Script Language='Javascript'> </script></HEAD>" + body << "" << cut;
    QTest::newRow("four images, no script")
        << "<HTML><HEAD><TITLE>t</TITLE></HEAD>" + body << QStringList{"a.gif", "b.gif", "c.gif", "d.gif"}
        << "<HTML><HEAD><TITLE>t</TITLE><Script Language='Javascript'> isn1 = new Image();" + CRLF
               + " isn1.src = \"a.gif\";" + CRLF + " isn2 = new Image();" + CRLF + " isn2.src = \"b.gif\";" + CRLF
               + " isn3 = new Image();" + CRLF + "isn3.src = \"c.gif\";" + CRLF + " isn4 = new Image();" + CRLF
               + "isn4.src = \"d.gif\";" + CRLF + " </script></HEAD>" + body
        << pairOne + CRLF + kOpen.arg("two").arg(4).arg(3) + CRLF + "<img NAME='two' SRC='c.gif' border=0></a>"
        << cut;
    QTest::newRow("two script blocks") << "<head><script>var a;</script><script>var b;</script></head>"
        << QStringList{"a.gif", "b.gif"}
        << "<head><script>var a;isn1 = new Image();" + CRLF + " isn1.src = \"a.gif\";" + CRLF
               + " isn2 = new Image();" + CRLF + " isn2.src = \"b.gif\";" + CRLF
               + " </script><script>var b;isn1 = new Image();" + CRLF + " isn1.src = \"a.gif\";" + CRLF
               + " isn2 = new Image();" + CRLF + " isn2.src = \"b.gif\";" + CRLF + " </script></head>"
        << pairOne << cut;
    QTest::newRow("server block holding a script end tag")
        << "<head><script>var a;</script></head><% Response.Write \"</script>\" %>" << QStringList{"a.gif"}
        << "<head><script>var a;isn1 = new Image();" + CRLF + " isn1.src = \"a.gif\";" + CRLF
               + " </script></head><% Response.Write \"</script>\" %>"
        << pairOne << cut;
    QTest::newRow("lower-case head end") << "<html><head></head><body></body></html>" << QStringList{"a.gif"}
        << "<html><head><Script Language='Javascript'> isn1 = new Image();" + CRLF + " isn1.src = \"a.gif\";"
               + CRLF + " </script></head><body></body></html>"
        << pairOne << cut;
    QTest::newRow("neither script nor head") << "<P>only</P>" << QStringList{"a.gif", "b.gif"}
        << "<P>only</P>" << pairOne << "nowhere";
}

void tst_ScriptWizards::rolloverWritesScriptAndAnchors()
{
    QFETCH(QString, page);
    QFETCH(QStringList, images);
    QFETCH(QString, expected);
    QFETCH(QString, anchors);
    QFETCH(QString, message);

    QDialog* wizard = openRollover(page);
    QVERIFY(wizard);
    auto* text1 = wizard->findChild<QPlainTextEdit*>("Text1");
    QVERIFY(!text1->isVisible());
    chooseImages(wizard, images);
    QTest::mouseClick(button(wizard, "Command2"), Qt::LeftButton);

    QCOMPARE(e->rch->Text(), expected);
    QVERIFY(text1->isVisible());
    QCOMPARE(text1->toPlainText(), QString(anchors).replace(CRLF, "\n"));
    QCOMPARE(prompts->messages().size(), 1);
    if (message == "nowhere")
        QVERIFY(prompts->messages().at(0).text.contains("nowhere to go"));
    else
        QCOMPARE(prompts->messages().at(0).text, message);
    QVERIFY(wizard->isVisible());
    if (!images.isEmpty() && message != "nowhere")
        QVERIFY(e->surface->DocumentHTML().contains("isn1.src = \"a.gif\";"));
    e->rch->undo();
    QCOMPARE(e->rch->Text(), page);
}

void tst_ScriptWizards::rolloverSlotsFillOneByOne()
{
    QDialog* wizard = openRollover("<HEAD></HEAD>");
    QVERIFY(wizard);
    QCOMPARE(wizard->findChild<QLabel*>("Label3_13")->text(), QString("Image 14."));
    prompts->cancelFile();
    QTest::mouseClick(button(wizard, "Command1"), Qt::LeftButton);
    QCOMPARE(wizard->findChild<QLabel*>("Label2_0")->text(), QString());

    QStringList fourteen;
    for (int i = 1; i <= 14; ++i)
        fourteen << QStringLiteral("p%1.gif").arg(i);
    chooseImages(wizard, fourteen);
    QCOMPARE(wizard->findChild<QLabel*>("Label2_0")->text(), QString("p1.gif"));
    QCOMPARE(wizard->findChild<QLabel*>("Label2_13")->text(), QString("p14.gif"));
    const int asked = int(prompts->asked().size());
    QTest::mouseClick(button(wizard, "Command1"), Qt::LeftButton);  // a fifteenth
    QCOMPARE(int(prompts->asked().size()), asked);
    QCOMPARE(wizard->findChild<QLabel*>("Label2_13")->text(), QString("p14.gif"));

    // Each press writes the statements again.
    QTest::mouseClick(button(wizard, "Command2"), Qt::LeftButton);
    QTest::mouseClick(button(wizard, "Command2"), Qt::LeftButton);
    QCOMPARE(e->rch->Text().count("isn14.src = \"p14.gif\";"), 2);
    QCOMPARE(e->rch->Text().count("<Script Language='Javascript'>"), 1);

    QTest::mouseClick(button(wizard, "Command4"), Qt::LeftButton);
    const ScriptedPrompts::Asked help = prompts->messages().last();
    QCOMPARE(help.title, QString("Orvane Help"));
    QVERIFY(help.text.startsWith("Select the images that you want to use for rollovers"));
}

void tst_ScriptWizards::rolloverPicturesAreNamedFromThePage()
{
    QDir(dir->path()).mkpath("site/img");
    const QString page = dir->filePath("site/index.htm");
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<HTML><HEAD></HEAD><BODY></BODY></HTML>");
    file.close();
    e->setSourceMode(true);
    prompts->answerFile(page);
    e->window->parts()->lifecycle().Label3_Click();
    QCOMPARE(e->rch->Text(), QString("<HTML><HEAD></HEAD><BODY></BODY></HTML>"));

    e->click("Label57");
    QDialog* wizard = openWindow("funcFrm");
    QVERIFY(wizard);
    chooseImages(wizard, {"site/a.gif", "site/img/b.gif", "c.gif"});
    QCOMPARE(wizard->findChild<QLabel*>("Label2_0")->text(), QString("a.gif"));
    QCOMPARE(wizard->findChild<QLabel*>("Label2_1")->text(), QString("img/b.gif"));
    QCOMPARE(wizard->findChild<QLabel*>("Label2_2")->text(), QString("../c.gif"));
}

ORVANE_TEST_MAIN(tst_ScriptWizards)
#include "tst_script_wizards.moc"
