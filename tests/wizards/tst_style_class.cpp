// The style class dialog: the page text it writes (a plain function), and the
// window opened from the Style menu and the toolbar's "SS", writing through
// the real source pane and design surface in either mode, with one undo.
#include "../commands/EditorFixture.h"
#include "ScriptedPrompts.h"
#include "TestMain.h"
#include "WizardDialogs.h"
#include "wizards/StyleFrm/StyleClass.h"

#include <QComboBox>


Q_DECLARE_METATYPE(orvane::StyleClass)
Q_DECLARE_METATYPE(orvane::MsgIcon)

using namespace orvane;
using namespace orvane::test;

namespace {

const StyleClass kInitial{"title", "Black", "-80px", "Arial", "10px"};
const QString kInitialBlock =
    QStringLiteral("<STYLE> .title {color:Black; margin-top:-80px; font-family:Arial; font-size:10px} </STYLE> ");

// A page holding server blocks and the surface's generator line, CR LF ended.
const QString kServerPage = QStringLiteral(
    "<%@ Language=VBScript %>\r\n<HTML><HEAD>\r\n"
    "<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">\r\n"
    "<TITLE><% =title %></TITLE>\r\n</head>\r\n"
    "<BODY bgcolor=white><P class='a'>x &amp; y</P>\r\n<% If a < b Then %>z<% End If %>\r\n</BODY></HTML>\r\n");
const QString kServerPageStyled = QStringLiteral(
    "<%@ Language=VBScript %>\r\n<HTML><HEAD>\r\n"
    "<META NAME=\"GENERATOR\" Content=\"Kestrova Editor v.1.0\">\r\n"
    "<TITLE><% =title %></TITLE>\r\n"
    "<STYLE> .title {color:Black; margin-top:-80px; font-family:Arial; font-size:10px} </STYLE> </head>\r\n"
    "<BODY bgcolor=white><P class='a'>x &amp; y</P>\r\n<% If a < b Then %>z<% End If %>\r\n</BODY></HTML>\r\n");

}  // namespace

class tst_StyleClass : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void init();
    void cleanup();

    void pageText_data();
    void pageText();

    void initialValues();
    void writesInEitherMode_data();
    void writesInEitherMode();
    void twoUsesLeaveTwoBlocks();
    void refusals_data();
    void refusals();

private:
    void write(const QString& opener, std::function<void(QDialog&)> answer);

    std::unique_ptr<EditorFixture> e;
    std::unique_ptr<ScriptedPrompts> prompts;
};

void tst_StyleClass::init()
{
    prompts = std::make_unique<ScriptedPrompts>();
    e = std::make_unique<EditorFixture>();
}

void tst_StyleClass::cleanup()
{
    QVERIFY2(prompts->unexpected().isEmpty(), qPrintable(prompts->unexpected().join("; ")));
    e.reset();
    prompts.reset();
}

void tst_StyleClass::pageText_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<StyleClass>("style");
    QTest::addColumn<QString>("expected");  // "-": refused, the page has no head end tag
    QTest::newRow("initial values, </HEAD>") << "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY></BODY></HTML>"
        << kInitial
        << "<HTML><HEAD><TITLE>t</TITLE><STYLE> .title {color:Black; margin-top:-80px; font-family:Arial; "
           "font-size:10px} </STYLE> </HEAD><BODY></BODY></HTML>";
    QTest::newRow("</head>, typed values") << "<head></head>"
        << StyleClass{"warn", "Teal", "5px", "Old English", "20px"}
        << "<head><STYLE> .warn {color:Teal; margin-top:5px; font-family:Old English; font-size:20px} </STYLE> </head>";
    QTest::newRow("</Head>, first of two") << "a</Head>b</HEAD>" << kInitial
        << "a" + kInitialBlock + "</Head>b</HEAD>";
    QTest::newRow("one-space name") << "</HEAD>" << StyleClass{" ", "Red", "0px", "Futura", "12px"}
        << "<STYLE> .  {color:Red; margin-top:0px; font-family:Futura; font-size:12px} </STYLE> </HEAD>";
    QTest::newRow("every generator name, exact case only")
        << "Microsoft DHTML Editing Control</HEAD>microsoft DHTML Editing Control Microsoft DHTML Editing Control"
        << kInitial
        << "Kestrova Editor v.1.0" + kInitialBlock
           + "</HEAD>microsoft DHTML Editing Control Kestrova Editor v.1.0";
    QTest::newRow("no head end tag") << "<HTML><BODY>Microsoft DHTML Editing Control</BODY></HTML>"
        << kInitial << "-";
    QTest::newRow("an unclosed head end is no end tag") << "<HEAD></HEAD" << kInitial << "-";
}

void tst_StyleClass::pageText()
{
    QFETCH(QString, page);
    QFETCH(StyleClass, style);
    QFETCH(QString, expected);
    QCOMPARE(withStyleClass(page, style).value_or("-"), expected);
}

void tst_StyleClass::write(const QString& opener, std::function<void(QDialog&)> answer)
{
    whenShown("StyleFrm", answer);
    e->click(opener);
}

void tst_StyleClass::initialValues()
{
    QStringList seen;
    QString firstEntries;
    write("Label53", [&](QDialog& d) {
        seen << d.windowTitle() << d.findChild<QLineEdit*>("Text1")->text();
        for (const char* name : {"Combo4", "Combo1", "Combo2", "Combo3"}) {
            auto* box = d.findChild<QComboBox*>(name);
            QStringList entries;
            for (int i = 0; i < box->count(); ++i)
                entries << box->itemText(i);
            seen << box->currentText() + ": " + entries.join(",");
        }
        for (const char* name : {"Command1", "Command2"})
            seen << d.findChild<QAbstractButton*>(name)->text();
        press(d, "Command2");
    });
    QCOMPARE(seen, QStringList({
        "Create a Style", "",
        "-80px: -70px,-60px,-50px,-40px,-30px,-20px,-10px,0px,10px,20px,30px,40px,50px,60px,70px,80px",
        "Arial: Courier,Times Roman,Verdana,Old English,Tahoma,Futura",
        "10px: 12px,13px,14px,15px,16px,17px,18px,19px,20px",
        "Black: White,Blue,Red,Green,Yellow,Purple,silver,Navy,Navajowhite,Beige,Tomato",
        "&Ok", "&Cancel"}));
}

void tst_StyleClass::writesInEitherMode_data()
{
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("expected");
    const QString upper = "<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>p</P></BODY></HTML>";
    const QString upperStyled = "<HTML><HEAD><TITLE>t</TITLE>" + kInitialBlock + "</HEAD><BODY><P>p</P></BODY></HTML>";
    QTest::newRow("edit, menu, </HEAD>") << false << "Label41" << upper << upperStyled;
    QTest::newRow("source, toolbar, </HEAD>") << true << "Label53" << upper << upperStyled;
    QTest::newRow("edit, toolbar, server blocks, </head>") << false << "Label53" << kServerPage << kServerPageStyled;
    QTest::newRow("source, toolbar, server blocks, </head>") << true << "Label53" << kServerPage << kServerPageStyled;
}

void tst_StyleClass::writesInEitherMode()
{
    QFETCH(bool, sourceMode);
    QFETCH(QString, opener);
    QFETCH(QString, page);
    QFETCH(QString, expected);
    e->surface->setDocumentHTML(page);
    e->rch->setText(page);
    e->setSourceMode(sourceMode);
    QString paneWhileOpen = "not shown";
    write(opener, [&](QDialog& d) {
        type(d, "Text1", "title");
        press(d, "Command1");
        paneWhileOpen = e->rch->Text();
    });
    QCOMPARE(paneWhileOpen, expected);  // the source pane shows the result at once
    QCOMPARE(e->rch->Text(), expected);
    QCOMPARE(e->surface->DocumentHTML(), expected);

    // One undo in the mode where the class was written gives the page back.
    if (sourceMode) {
        e->rch->undo();
        QCOMPARE(e->rch->Text(), page);
    } else {
        e->clickMenuItem("Label8");
        QCOMPARE(e->surface->DocumentHTML(), page);
    }
}

void tst_StyleClass::twoUsesLeaveTwoBlocks()
{
    e->surface->setDocumentHTML("<html><head></head><body>b</body></html>");
    e->setSourceMode(false);
    for (const QString& name : {QString("first"), QString("second")}) {
        write("Label53", [name](QDialog& d) {
            type(d, "Text1", name);
            d.findChild<QComboBox*>("Combo3")->setCurrentIndex(1);  // "Blue"
            d.findChild<QComboBox*>("Combo2")->lineEdit()->setText("11pt");
            press(d, "Command1");
        });
    }
    QCOMPARE(e->surface->DocumentHTML(),
             QString("<html><head>"
                     "<STYLE> .first {color:Blue; margin-top:-80px; font-family:Arial; font-size:11pt} </STYLE> "
                     "<STYLE> .second {color:Blue; margin-top:-80px; font-family:Arial; font-size:11pt} </STYLE> "
                     "</head><body>b</body></html>"));
}

void tst_StyleClass::refusals_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<MsgIcon>("icon");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("empty name") << "<HTML><HEAD></HEAD></HTML>" << "" << "Style Must Have a Name!"
        << MsgIcon::Critical << true;
    QTest::newRow("no head end tag") << "<HTML><BODY>Microsoft DHTML Editing Control</BODY></HTML>" << "c"
        << "This page has no </HEAD> tag, so the style cannot be added." << MsgIcon::Information << false;
}

void tst_StyleClass::refusals()
{
    QFETCH(QString, page);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(MsgIcon, icon);
    QFETCH(bool, staysOpen);
    e->surface->setDocumentHTML(page);
    e->rch->setText("pane");
    e->setSourceMode(false);
    bool open = false;
    write("Label41", [&](QDialog& d) {
        type(d, "Text1", name);
        press(d, "Command1");
        open = d.isVisible();
        if (open)
            press(d, "Command2");
    });
    QCOMPARE(open, staysOpen);
    QCOMPARE(prompts->messages().size(), 1);
    QCOMPARE(prompts->messages().at(0).text, message);
    QCOMPARE(prompts->messages().at(0).icon, icon);
    QCOMPARE(prompts->messages().at(0).title, QString("Orvane Error"));
    QCOMPARE(e->surface->DocumentHTML(), page);
    QCOMPARE(e->rch->Text(), QString("pane"));
}

ORVANE_TEST_MAIN(tst_StyleClass)
#include "tst_style_class.moc"
