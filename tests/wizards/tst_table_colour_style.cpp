// The table wizard, the page colours window and the style class dialog, opened
// from the real main window, answered through their windows and the prompt
// seam, writing into the real source pane and design surface.
#include "WindowFixture.h"
#include "WizardWindows.h"
#include "SurfaceTestSupport.h"
#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "TabStrip.h"

#include <QtWidgets>

using namespace orvane;
using namespace orvane::test;

namespace {

const QString kPage = QStringLiteral(
    "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>one</P><% Response.Write(\"x\") %><P>two</P></BODY></HTML>");
const QString kBlock = QStringLiteral(
    "<STYLE> .title {color:Black; margin-top:-80px; font-family:Arial; font-size:10px} </STYLE> ");

void type(QDialog& d, const QString& box, const QString& text) {
    auto* edit = d.findChild<QLineEdit*>(box);
    edit->clear();
    QTest::keyClicks(edit, text);
}

}  // namespace

class tst_TableColourStyle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void init() {
        prompts = std::make_unique<ScriptedPrompts>();
        e = std::make_unique<WindowFixture>();
    }
    void cleanup() {
        QVERIFY2(prompts->unexpected().isEmpty(), qPrintable(prompts->unexpected().join("; ")));
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
            expectOneMessage(message, MsgIcon::Critical);
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

    void colourButtons_data() {
        QTest::addColumn<bool>("sourceMode");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QColor>("colour");   // invalid: the colour dialog is cancelled
        QTest::addColumn<QString>("written"); // the text at the caret, or what the surface writes
        const QColor blue(0, 0, 255), dark(0x0C, 0x0B, 0x0A);
        QTest::newRow("source, font, pure blue") << true << "Command1" << blue << "<FONT COLOR=#0000FF>";
        QTest::newRow("source, background, dark") << true << "Command2" << dark << "BGCOLOR=\"#0C0B0A\"";
        QTest::newRow("source, link") << true << "Command3" << dark << "LINK=\"#0C0B0A\"";
        QTest::newRow("edit, font, dark") << false << "Command1" << dark << "<P>one</P><% Response.Write(\"x\") %><P><FONT COLOR=\"#0c0b0a\">two</FONT></P>";
        QTest::newRow("edit, background, blue") << false << "Command2" << blue << "<BODY BGCOLOR=\"#0000FF\">";
        QTest::newRow("edit, font cancelled") << false << "Command1" << QColor() << "";
    }

    void colourButtons() {
        QFETCH(bool, sourceMode);
        QFETCH(QString, button);
        QFETCH(QColor, colour);
        QFETCH(QString, written);
        e->surface->setDocumentHTML(kPage);
        selectText(*e->surface, "two");
        e->rch->setText("<BODY >x");
        e->rch->setSelStart(6);
        e->setSourceMode(sourceMode);
        colour.isValid() ? prompts->answerColor(colour) : prompts->cancelColor();
        QString atOnce;
        whenShown("clrfrm", [&](QDialog& d) {
            press(&d, button);
            atOnce = sourceMode ? e->rch->Text() : e->surface->DocumentHTML();
            press(&d, sourceMode ? "OKButton" : "CancelButton");  // both only close
        });
        e->clickTool("Image6");
        const QString page = sourceMode ? e->rch->Text() : e->surface->DocumentHTML();
        QCOMPARE(page, atOnce);
        if (sourceMode) {
            QCOMPARE(page, "<BODY " + written + ">x");
            QCOMPARE(e->surface->DocumentHTML(), kPage);
            e->rch->undo();
            QCOMPARE(e->rch->Text(), QString("<BODY >x"));
            return;
        }
        QCOMPARE(e->rch->Text(), QString("<BODY >x"));
        if (written.isEmpty()) {
            QCOMPARE(page, kPage);  // a cancelled colour dialog applies nothing
            return;
        }
        QVERIFY2(page.contains(written) && page.contains("<TITLE>t</TITLE></HEAD>")
                 && page.endsWith("<% Response.Write(\"x\") %><P>two</P></BODY></HTML>") == (button != "Command1"),
                 qPrintable(page));
        e->clickMenuItem("Label8");
        QCOMPARE(e->surface->DocumentHTML(), kPage);
    }

    // The page colours open the colour dialog on the last colour chosen while
    // the window is open (the font colour always on black); closing forgets it.
    void colourDialogStartsFromLastChoice() {
        const QColor dark(0x0C, 0x0B, 0x0A), blue(0, 0, 255);
        e->rch->setText("<BODY >x");
        e->setSourceMode(true);
        prompts->answerColor(dark).answerColor(blue).answerColor(dark).answerColor(blue);
        whenShown("clrfrm", [&](QDialog& d) {
            for (const char* button : {"Command2", "Command3", "Command1", "Command4"})
                press(&d, button);
            press(&d, "OKButton");
        });
        e->clickTool("Image6");
        prompts->answerColor(blue);
        whenShown("clrfrm", [&](QDialog& d) {
            press(&d, "Command5");
            press(&d, "OKButton");
        });
        e->clickTool("Image6");
        QList<QColor> initial;
        for (const ScriptedPrompts::Asked& a : prompts->asked())
            initial << a.color;
        QCOMPARE(initial, (QList<QColor>{Qt::black, dark, Qt::black, dark, Qt::black}));
    }

    void styleWrites_data() {
        QTest::addColumn<bool>("sourceMode");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expected");
        const QString asp = "<%@ Language=VBScript %>\r\n<HTML><HEAD>\r\n<META NAME=\"GENERATOR\" Content=\"%1\">\r\n"
                            "<TITLE><% =t %></TITLE>\r\n%2</head>\r\n<BODY bgcolor=white><P class='a'>x &amp; y</P>\r\n"
                            "<% If a < b Then %>z<% End If %>\r\n</BODY></HTML>\r\n";
        const QString styled = QString(kPage).replace("</HEAD>", kBlock + "</HEAD>");
        const QString aspBefore = asp.arg("Microsoft DHTML Editing Control", "");
        const QString aspAfter = asp.arg("Kestrova Editor v.1.0", kBlock);
        QTest::newRow("edit, menu, </HEAD>") << false << "Label41" << kPage << styled;
        QTest::newRow("source, server blocks, </head>") << true << "Label53" << aspBefore << aspAfter;
    }

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
            type(d, "Text1", "title");
            press(&d, "Command1");
            seen << e->rch->Text();  // the source pane shows the result at once
        });
        e->click(opener);
        QCOMPARE(seen, QStringList({"Create a Style", "",
            "Combo4=-80px: -70px,-60px,-50px,-40px,-30px,-20px,-10px,0px,10px,20px,30px,40px,50px,60px,70px,80px",
            "Combo1=Arial: Courier,Times Roman,Verdana,Old English,Tahoma,Futura",
            "Combo2=10px: 12px,13px,14px,15px,16px,17px,18px,19px,20px",
            "Combo3=Black: White,Blue,Red,Green,Yellow,Purple,silver,Navy,Navajowhite,Beige,Tomato", expected}));
        QCOMPARE(e->surface->DocumentHTML(), expected);
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

    void styleRefusals_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("empty name") << "<HEAD></HEAD>" << "" << "Style Must Have a Name!" << true;
        QTest::newRow("no head end tag") << "<BODY>Microsoft DHTML Editing Control</BODY>" << "c"
            << "This page has no </HEAD> tag, so the style cannot be added." << false;
    }

    void styleRefusals() {
        QFETCH(QString, page);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(bool, staysOpen);
        e->surface->setDocumentHTML(page);
        e->rch->setText("pane");
        e->setSourceMode(false);
        bool open = false;
        whenShown("StyleFrm", [&](QDialog& d) {
            type(d, "Text1", name);
            press(&d, "Command1");
            open = d.isVisible();
        });
        e->click("Label41");
        QCOMPARE(open, staysOpen);
        expectOneMessage(message, staysOpen ? MsgIcon::Critical : MsgIcon::Information);
        QCOMPARE(e->surface->DocumentHTML(), page);
        QCOMPARE(e->rch->Text(), QString("pane"));
    }

private:
    // The one message shown: its text, the program's error title and its icon.
    void expectOneMessage(const QString& text, MsgIcon icon) {
        QCOMPARE(prompts->messages().size(), 1);
        const auto m = prompts->messages().at(0);
        QCOMPARE(m.text + "|" + m.title, text + "|Orvane Error");
        QCOMPARE(m.icon, icon);
    }
    std::unique_ptr<WindowFixture> e;
    std::unique_ptr<ScriptedPrompts> prompts;
};

ORVANE_TEST_MAIN(tst_TableColourStyle)
#include "tst_table_colour_style.moc"
