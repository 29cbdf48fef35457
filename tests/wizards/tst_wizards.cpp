// The wizard windows opened from the real main window (table, page colours,
// style class, image map, events and image rollover), answered through their
// windows, the prompt seam and the file dialogs, writing into the real source
// pane and design surface; and the texts they build from plain functions.
#include "WindowFixture.h"
#include "WizardWindows.h"
#include "SurfaceTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "TabStrip.h"
#include "DocumentLifecycle.h"
#include "MainWindowParts.h"
#include "MapText.h"
#include "ScanFunctions.h"
#include "frmMain.h"

#include <QtWidgets>

using namespace orvane;
using namespace orvane::test;

namespace {

const QString kPage = QStringLiteral(
    "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>one</P><% Response.Write(\"x\") %><P>two</P></BODY></HTML>");
const QString kBlock = QStringLiteral(
    "<STYLE> .title {color:Black; margin-top:-80px; font-family:Arial; font-size:10px} </STYLE> ");
const QString CRLF = QStringLiteral("\r\n");
// Author's text on both sides of the source pane's caret, a server block included.
const QString kBefore = QStringLiteral("<P>before</P>\r\n<% If a < b Then %>\r\n<DIV");
const QString kAfter = QStringLiteral(">x</DIV>\r\n<% End If %>");

void type(QDialog& d, const QString& box, const QString& text) {
    auto* edit = d.findChild<QLineEdit*>(box);
    edit->clear();
    QTest::keyClicks(edit, text);
}

}  // namespace

class tst_Wizards : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void init() {
        prompts = std::make_unique<ScriptedPrompts>();
        e = std::make_unique<WindowFixture>();
        dir = std::make_unique<QTemporaryDir>();
        e->setSourceMode(true);
        e->rch->setText(kBefore + kAfter);
        e->rch->setSelStart(int(kBefore.size()));
    }
    void cleanup() {
        QCOMPARE(prompts->unexpected(), QStringList());
        e.reset();
        prompts.reset();
    }

    void tableWindow_data() {
        QTest::addColumn<bool>("sourceMode");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<int>("tabInFront");
        QTest::addColumn<QStringList>("typed");    // "box=text": Text1 columns, Text2 rows, Text3/Text4 attributes
        QTest::addColumn<QString>("written");      // the source pane or the page after; empty: refused
        QTest::addColumn<QString>("message");
        const QStringList three{"Text1=3", "Text3=border=\"2\" id=\"t1\"", "Text4=class=\"c\""};
        const QString row = "<TR>" + QString("<TD CLASS=\"c\"></TD>").repeated(3) + "</TR>";
        // Before the caret's paragraph; upper-case names and a generator line are
        // the surface's; every other byte, the server block included, stays.
        const QString onSurface = "<HTML><HEAD>\r\n<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">"
                                  "<TITLE>t</TITLE></HEAD><BODY><P>one</P><% Response.Write(\"x\") %><TABLE BORDER=\"2\" "
                                  "ID=\"t1\"><TBODY>" + row + row + "</TBODY></TABLE><P>two</P></BODY></HTML>";
        const QString count = "Rows and Cols must each be a whole number from 0 to 1000.";
        QTest::newRow("source pane, toolbar, Edit tab in front") << true << "Image3" << 0 << three
            << "ab<TABLE border=\"2\" id=\"t1\">\r\n" + QString("<TR>\r\n" + QString("<TD class=\"c\">  </TD>\r\n").repeated(3)
                                                                + "</TR>\r\n").repeated(2) + "</TABLE>cd" << "";
        QTest::newRow("surface, Table menu") << false << "Label24" << 0 << three << onSurface << "";
        QTest::newRow("surface, toolbar, Source tab in front") << false << "Image3" << 1 << three << onSurface << "";
        QTest::newRow("source, rows 0") << true << "Image3" << 0 << QStringList{"Text2=0", "Text3=x"}
                                        << "ab<TABLE x>\r\n</TABLE>cd" << "";
        QTest::newRow("source, empty attribute boxes") << true << "Image3" << 0
            << QStringList{"Text1=1", "Text2=1", "Text3=", "Text4="} << "ab<TABLE >\r\n<TR>\r\n<TD >  </TD>\r\n</TR>\r\n</TABLE>cd" << "";
        QTest::newRow("cols x") << true << "Image3" << 0 << QStringList{"Text1=x"} << "" << count;
        QTest::newRow("rows 1001") << true << "Image3" << 0 << QStringList{"Text2=1001"} << "" << count;
        QTest::newRow("rows 0, which the surface cannot build") << false << "Image3" << 0 << QStringList{"Text2=0"} << ""
            << "The design surface cannot insert a table of 0 rows and 2 columns here.";
    }

    // A refused count keeps the window open and changes nothing; a table is one undo step.
    void tableWindow() {
        QFETCH(bool, sourceMode);
        QFETCH(QString, opener);
        QFETCH(int, tabInFront);
        QFETCH(QStringList, typed);
        QFETCH(QString, written);
        QFETCH(QString, message);
        e->surface->setDocumentHTML(kPage);
        selectText(*e->surface, "two", true);
        e->window->TabStrip1()->tabBar()->setCurrentIndex(tabInFront);
        e->rch->setText("ab<old>cd");
        e->rch->setSelStart(2);
        e->rch->setSelLength(5);
        e->setSourceMode(sourceMode);
        bool stayedOpen = false;
        whenShown("tblfFrm", [&](QDialog& d) {
            for (const QString& t : typed)
                type(d, t.section('=', 0, 0), t.section('=', 1));
            press(&d, "Command1");
            stayedOpen = d.isVisible();
            if (stayedOpen)
                press(&d, "Command2");
        });
        e->click(opener);
        const QString source = "ab<old>cd";
        QCOMPARE(stayedOpen, written.isEmpty());
        if (written.isEmpty()) {
            QCOMPARE(shownMessages(), QStringList{error(message, MsgIcon::Critical)});
            written = sourceMode ? source : kPage;
        }
        QCOMPARE(sourceMode ? e->rch->Text() : e->surface->DocumentHTML(), written);
        QCOMPARE(sourceMode ? e->surface->DocumentHTML() : e->rch->Text(), sourceMode ? kPage : source);
        if (stayedOpen)
            return;
        sourceMode ? e->rch->undo() : e->clickMenuItem("Label8");  // one step takes the table back
        QCOMPARE(e->rch->Text(), source);
        QCOMPARE(e->surface->DocumentHTML(), kPage);
    }

    // Each button writes at once, one undo step each; OK and Cancel only close.
    // In Source mode the text goes at the caret; in Edit mode the surface's
    // colour is set, and a cancelled colour dialog applies nothing. The colour
    // dialog starts from the last colour chosen while the window is open (the
    // font colour always on black); closing forgets it.
    void colourWindow() {
        const QColor dark(0x0C, 0x0B, 0x0A), blue(0, 0, 255);
        e->surface->setDocumentHTML(kPage);
        e->rch->setText("<BODY >x");
        e->rch->setSelStart(6);
        QStringList written;
        const auto use = [&](bool sourceMode, const QStringList& buttons) {
            e->setSourceMode(sourceMode);
            whenShown("clrfrm", [&](QDialog& d) {
                for (const QString& button : buttons) {
                    press(&d, button);
                    written << (sourceMode ? e->rch->Text() : e->surface->DocumentHTML());
                }
            });
            e->clickTool("Image6");
        };
        prompts->answerColor(dark).answerColor(blue).answerColor(dark).answerColor(blue).answerColor(blue);
        use(true, {"Command2", "Command3", "Command1", "Command4", "OKButton"});
        use(true, {"Command5", "CancelButton"});
        const QString bg = "<BODY BGCOLOR=\"#0C0B0A\"", link = bg + "LINK=\"#0000FF\"", font = link + "<FONT COLOR=#0C0B0A>",
                      vlink = font + "VLINK=\"#0000FF\"", alink = vlink + "ALINK=\"#0000FF\"";
        QCOMPARE(written, (QStringList{bg + ">x", link + ">x", font + ">x", vlink + ">x", vlink + ">x", alink + ">x", alink + ">x"}));
        QList<QColor> initial;
        for (const ScriptedPrompts::Asked& a : prompts->asked())
            initial << a.color;
        QCOMPARE(initial, (QList<QColor>{Qt::black, dark, Qt::black, dark, Qt::black}));
        QCOMPARE(e->surface->DocumentHTML(), kPage);
        e->rch->undo();
        QCOMPARE(e->rch->Text(), vlink + ">x");

        written.clear();
        selectText(*e->surface, "two");
        prompts->answerColor(dark).answerColor(blue).cancelColor();
        use(false, {"Command1", "Command2", "Command1", "CancelButton"});
        const QString fontOnSurface = "<HTML><HEAD>\r\n<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">"
                                      "<TITLE>t</TITLE></HEAD><BODY><P>one</P><% Response.Write(\"x\") %><P><FONT "
                                      "COLOR=\"#0c0b0a\">two</FONT></P></BODY></HTML>";
        const QString both = QString(fontOnSurface).replace("<BODY>", "<BODY BGCOLOR=\"#0000FF\">");
        QCOMPARE(written, (QStringList{fontOnSurface, both, both, both}));
        QCOMPARE(e->rch->Text(), vlink + ">x");
        for (const QString& back : {fontOnSurface, kPage}) {
            e->clickMenuItem("Label8");
            QCOMPARE(e->surface->DocumentHTML(), back);
        }
    }

    void styleWrites_data() {
        QTest::addColumn<bool>("sourceMode");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expected");  // empty: refused, nothing changes
        const QString asp = "<%@ Language=VBScript %>\r\n<HTML><HEAD>\r\n<META NAME=\"GENERATOR\" Content=\"%1\">\r\n"
                            "<TITLE><% =t %></TITLE>\r\n%2</head>\r\n<BODY bgcolor=white><P class='a'>x &amp; y</P>\r\n"
                            "<% If a < b Then %>z<% End If %>\r\n</BODY></HTML>\r\n";
        const QString styled = QString(kPage).replace("</HEAD>", kBlock + "</HEAD>");
        QTest::newRow("edit, menu, </HEAD>") << false << "Label41" << kPage << styled;
        QTest::newRow("source, server blocks, </head>") << true << "Label53" << asp.arg("Microsoft DHTML Editing Control", "")
                                                       << asp.arg("Kestrova Editor v.1.0", kBlock);
        QTest::newRow("no head end tag") << false << "Label41" << "<BODY>Microsoft DHTML Editing Control</BODY>" << "";
    }

    // An empty name is refused and keeps the window open; then "title" is written.
    void styleWrites() {
        QFETCH(bool, sourceMode);
        QFETCH(QString, opener);
        QFETCH(QString, page);
        QFETCH(QString, expected);
        e->surface->setDocumentHTML(page);
        e->rch->setText(page);
        e->setSourceMode(sourceMode);
        QStringList seen;
        whenShown("StyleFrm", [&](QDialog& d) {
            seen << d.windowTitle() << d.findChild<QLineEdit*>("Text1")->text();
            for (auto* box : d.findChildren<QComboBox*>()) {
                QStringList entries;
                for (int i = 0; i < box->count(); ++i)
                    entries << box->itemText(i);
                seen << box->objectName() + "=" + box->currentText() + ": " + entries.join(",");
            }
            press(&d, "Command1");
            seen << (d.isVisible() ? "open" : "closed");
            type(d, "Text1", "title");
            press(&d, "Command1");
            seen << e->rch->Text();  // the source pane shows the result at once
        });
        e->click(opener);
        const QString written = expected.isEmpty() ? page : expected;
        QCOMPARE(seen, QStringList({"Create a Style", "",
            "Combo4=-80px: -70px,-60px,-50px,-40px,-30px,-20px,-10px,0px,10px,20px,30px,40px,50px,60px,70px,80px",
            "Combo1=Arial: Courier,Times Roman,Verdana,Old English,Tahoma,Futura",
            "Combo2=10px: 12px,13px,14px,15px,16px,17px,18px,19px,20px",
            "Combo3=Black: White,Blue,Red,Green,Yellow,Purple,silver,Navy,Navajowhite,Beige,Tomato", "open", written}));
        QCOMPARE(e->surface->DocumentHTML(), written);
        QStringList messages{error("Style Must Have a Name!", MsgIcon::Critical)};
        if (expected.isEmpty())
            messages << error("This page has no </HEAD> tag, so the style cannot be added.", MsgIcon::Information);
        QCOMPARE(shownMessages(), messages);
        if (expected.isEmpty())
            return;
        // A second use adds a second block, nearer the head's end; typed texts are taken as they are.
        whenShown("StyleFrm", [](QDialog& d) {
            type(d, "Text1", "b");
            d.findChild<QComboBox*>("Combo3")->setCurrentIndex(1);
            d.findChild<QComboBox*>("Combo2")->lineEdit()->setText("11pt");
            press(&d, "Command1");
        });
        e->click(opener);
        const QString twice = QString(expected).replace(kBlock, kBlock + "<STYLE> .b {color:Blue; margin-top:-80px; "
                                                                          "font-family:Arial; font-size:11pt} </STYLE> ");
        QCOMPARE(e->surface->DocumentHTML(), twice);
        // Undo in the mode where the classes were written takes them back one by one.
        for (const QString& back : {expected, page}) {
            sourceMode ? e->rch->undo() : e->clickMenuItem("Label8");
            QCOMPARE(sourceMode ? e->rch->Text() : e->surface->DocumentHTML(), back);
        }
    }

    void mapRegionsInPictureCoordinates_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QPoint>("scroll");  // -1: that bar is hidden
        QTest::addColumn<QList<QPoint>>("clicks");  // on the viewport, two per region
        QTest::addColumn<QStringList>("coords");
        QTest::addColumn<bool>("editMode");

        QTest::newRow("Edit mode: over the design surface's selection") << QSize(200, 60) << QPoint(-1, -1)
            << QList<QPoint>{{10, 5}, {60, 30}, {70, 5}, {120, 30}} << QStringList{"10,5,60,30", "70,5,120,30"} << true;
        QTest::newRow("larger than the viewport, scrolled both ways") << QSize(900, 700) << QPoint(300, 250)
            << QList<QPoint>{{10, 5}, {60, 30}} << QStringList{"310,255,360,280"} << false;
    }

    void mapRegionsInPictureCoordinates() {
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
        QStringList written;
        for (const auto& m : QRegularExpression("COORDS=\"([^\"]*)\"").globalMatch(editMode ? html.toUpper() : e->rch->Text()))
            written << m.captured(1);
        QCOMPARE(written, coords);
        QCOMPARE(html.contains(QRegularExpression("<MAP NAME=\"?nav\"?>", QRegularExpression::CaseInsensitiveOption)),
                 editMode);
    }

    // Finish without regions or name, empty settings, the 101st region, no picture;
    // the first region drawn from bottom right to top left, the last of zero size.
    void mapRefusals() {
        QVERIFY(openMap({}));
        QVERIFY(!map->findChild<QWidget*>("picImage")->isVisible());
        markRegion({10, 10}, {20, 20});
        QCOMPARE(map->regions().count(), 0);
        delete map;

        QVERIFY(openMap({200, 120}));
        press(map, "Command2");  // no regions: not even the name is asked
        markRegion({20, 20}, {1, 1}, "", "Home");
        QPointer<QDialog> settings = shownWindow("frmSettings");  // a beep, and the dialog stays
        QVERIFY(settings);
        settings->findChild<QLineEdit*>("txtURL")->setText(" say \"hi\" & ");
        press(settings, "cmdOK");
        QTRY_VERIFY(!settings || !settings->isVisible());
        for (int i = 1; i < 100; ++i)
            markRegion({i, 1}, i < 99 ? QPoint(i + 1, 100) : QPoint(i, 1), QString());
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
                                + "<AREA SHAPE=\"RECT\" COORDS=\"20,20,1,1\" HREF=\" say &quot;hi&quot; &amp; \" ALT=\"Home\">"));
        QVERIFY(text.endsWith("<AREA SHAPE=\"RECT\" COORDS=\"99,1,99,1\" HREF=\"\" ALT=\"\">" + CRLF
                              + "<IMG SRC=\"" + dir->filePath("bar.png") + "\" USEMAP=\"# m \" BORDER=\"0\">" + CRLF
                              + "</MAP>" + CRLF + kAfter));
        e->rch->undo();
        QCOMPARE(e->rch->Text(), kBefore + kAfter);
    }

    // The event picked and the function picked become an attribute at the caret.
    void eventsWizard() {
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

    void rollover_data() {
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

    void rollover() {
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
    void rolloverSlots() {
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

    void mapPictureSource_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside the page") << "/site/bar.gif" << "/site/index.htm" << "bar.gif";
        QTest::newRow("below the page") << "/site/img/bar.gif" << "/site/index.htm" << "img/bar.gif";
        QTest::newRow("outside the page's folder") << "/pics/bar.gif" << "/site/index.htm" << "/pics/bar.gif";
    }

    void mapPictureSource() {
        QFETCH(QString, picture);
        QFETCH(QString, page);
        QFETCH(QString, expected);
        QCOMPARE(orvane::mapPictureSource(picture, page), expected);
    }

    void scanFunctions_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("parameters do not shift the names")
            << "function f(x) { g(); }\nfunction  g ()\n{ h(1); }\nfunction h(a, b) {}"
            << QStringList{"f()", "g()", "h()", "Total Number of Functions:3"};
        QTest::newRow("not declarations") << "<p>the function of myfunction a() and function (y) {}</p>"
                                          << QStringList{"Total Number of Functions:0"};
        QString page;
        QStringList names;
        for (int i = 1; i <= 1500; ++i) {
            page += QStringLiteral("function f%1() { return %1; }\n").arg(i);
            names << QStringLiteral("f%1()").arg(i);
        }
        QTest::newRow("1500 functions, over 40000 characters") << page << names + QStringList{"Total Number of Functions:1500"};
    }

    void scanFunctions() {
        QFETCH(QString, source);
        QFETCH(QStringList, expected);
        QCOMPARE(orvane::scanFunctions(source), expected);
    }

private:
    // Each message shown, as "text|title|icon".
    QStringList shownMessages() const {
        QStringList out;
        for (const auto& m : prompts->messages())
            out << QStringLiteral("%1|%2|%3").arg(m.text, m.title).arg(int(m.icon));
        return out;
    }
    static QString error(const QString& text, MsgIcon icon) { return text + "|Orvane Error|" + QString::number(int(icon)); }
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

    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<WindowFixture> e;
    std::unique_ptr<QTemporaryDir> dir;
    QPointer<frmMain> map;
};

// "Select Region", two clicks on the viewport, then the settings (closed by the frame for a null link).
void tst_Wizards::markRegion(QPoint from, QPoint to, const QString& href, const QString& alt) {
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

ORVANE_TEST_MAIN(tst_Wizards)
#include "tst_wizards.moc"
