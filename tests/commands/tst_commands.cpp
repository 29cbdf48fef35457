// The menu bar of the real window (opening, mode gating, closing rules), the
// commands of the menus, the toolbar and the context menu, clicked as a user
// clicks them, and the window at rest, which makes no calls into the page.
#include "ScriptedPrompts.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

using namespace orvane;
using namespace orvane::menubar;
using namespace orvane::test;

namespace {

const QString kCancel = QStringLiteral("<cancel>");

// Each question asked as "text|title|default", a message's default being its
// icon ("(i)" for information), all joined by "|".
QString questions(const ScriptedPrompts& prompts)
{
    QStringList asked;
    for (const ScriptedPrompts::Asked& a : prompts.asked())
        asked << a.text + "|" + a.title + "|" + (a.icon == MsgIcon::Information ? "(i)" : a.defaultText);
    return asked.join("|");
}

// The pane's text with its selection between "[" and "]".
QString marked(const SourcePane& pane)
{
    return pane.Text().insert(pane.SelStart() + pane.SelLength(), ']').insert(pane.SelStart(), '[');
}

void setMarked(SourcePane& pane, const QString& text)
{
    pane.setText(QString(text).remove('[').remove(']'));
    pane.setSelStart(int(text.indexOf('[')));
    pane.setSelLength(int(text.indexOf(']') - text.indexOf('[') - 1));
}

// The document's HTML without case and quotes, whatever the serialiser's style.
QString normalised(const QString& html)
{
    return html.toLower().remove(QLatin1Char('"')).remove(QLatin1Char('\''));
}

// How a menu item and its panel are left; "-" for a toolbar control.
QString panelState(WindowFixture& e, const QString& control)
{
    QLabel* item = e.menuBar->item(control);
    if (!item)
        return "-";
    if (!item->parentWidget()->isVisible())
        return "closed";
    return MenuBar::foreColor(item) == MenuBar::kHover ? "open, red" : "open, black";
}

}  // namespace

class tst_Commands : public QObject {
    Q_OBJECT
private slots:
    void init() { e = std::make_unique<WindowFixture>(); }
    void cleanup() { e.reset(); }

    // A click opens the header's panel under it, in front of what lies there
    // (even a sibling made later, or the web view's own render child) and of
    // panels opened before; clicks close nothing.
    void clickOpensPanelInFront()
    {
        auto* cover = new QWidget(e->window.get());
        cover->setGeometry(0, 16, 600, 280);
        cover->setAutoFillBackground(true);
        cover->show();
        const std::pair<const char*, const char*> opened[] = {
            {"label_file", "Picture1"}, {"Label_format", "Picture_format"}, {"Label_asp", "Picture_asp"},
            {"Label69", "pic_library"}, {"Label69", "pic_library"}};
        for (const auto& [header, name] : opened) {
            QTest::mouseClick(e->menuBar->header(header), Qt::LeftButton);
            QWidget* panel = e->menuBar->panel(name);
            QVERIFY(panel->isVisible());
            QCOMPARE(panel->geometry().topLeft(), QPoint(e->menuBar->header(header)->x(), 16));
            QWidget* top = e->window->childAt(panel->geometry().topLeft() + QPoint(2, 2));
            QVERIFY2(top == panel || panel->isAncestorOf(top), header);
        }
        QCOMPARE(openPanels(), (QStringList{"Picture1", "Picture_format", "Picture_asp", "pic_library"}));

        delete cover;
        e->surface->setDocumentHTML("<BODY BGCOLOR=#ff0000><P>x</P></BODY>");
        QWidget* panel = e->menuBar->panel("Picture_format");
        const QPoint inPanel = panel->mapTo(e->window.get(), QPoint(panel->width() - 6, panel->height() / 2));
        const QPoint besideIt = inPanel + QPoint(panel->width(), 0);
        QTRY_COMPARE(e->window->grab().toImage().pixelColor(besideIt), QColor(Qt::red));
        QCOMPARE(e->window->grab().toImage().pixelColor(inPanel), panel->palette().color(QPalette::Window));
    }

    void headerHoverGatesItems_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("sourceMode");
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<QStringList>("disabled");
        using L = QStringList;
        QTest::newRow("File, Source mode") << "label_file" << true << L{"Label3", "Label6"} << L{"Label1"};
        QTest::newRow("Format, Source mode") << "Label_format" << true << L{"Label15", "Label22"} << L{"Label23"};
        QTest::newRow("Table, Source mode") << "Label_table" << true << L{} << L{"Label24", "Label25", "Label30"};
        QTest::newRow("Table, Edit mode") << "Label_table" << false << L{"Label24", "Label25", "Label30"} << L{};
        QTest::newRow("Style, Source mode") << "Label_style" << true << L{} << L{"Label41", "Label46", "Label50"};
        QTest::newRow("ASP, Edit mode") << "Label_asp" << false << L{} << L{"Label58", "Label63", "Label68"};
        QTest::newRow("ASP, Source mode") << "Label_asp" << true << L{"Label58", "Label63", "Label68"} << L{};
    }

    void headerHoverGatesItems()
    {
        QFETCH(QString, header);
        QFETCH(bool, sourceMode);
        QFETCH(QStringList, enabled);
        QFETCH(QStringList, disabled);
        // Start from the opposite gating, so each row shows a change.
        e->rch->setVisible(!sourceMode);
        moveTo(e->menuBar->header(header), {2, 2});
        e->rch->setVisible(sourceMode);
        moveTo(e->menuBar->header(header));
        for (const QString& name : enabled) {
            QVERIFY2(e->menuBar->item(name)->isEnabled(), qPrintable(name));
            QCOMPARE(MenuBar::foreColor(e->menuBar->item(name)), MenuBar::kNormal);
        }
        for (const QString& name : disabled) {
            QVERIFY2(!e->menuBar->item(name)->isEnabled(), qPrintable(name));
            QCOMPARE(MenuBar::foreColor(e->menuBar->item(name)), MenuBar::kDisabledLook);
        }
    }

    void pointerClosesPanels_data()
    {
        QTest::addColumn<QString>("over");
        QTest::addColumn<QStringList>("closed");
        // A header closes the panels of the headers beside it, no others.
        QTest::newRow("File header") << "label_file" << QStringList{"Picture_edit"};
        QTest::newRow("Edit header") << "Label_edit" << QStringList{"Picture1", "Picture_format"};
        QTest::newRow("Style header") << "Label_style" << QStringList{"Picture_form", "Picture_java"};
        QTest::newRow("upper side-bar image") << "panel_1"
            << QStringList{"Picture1", "Picture_edit", "Picture_format", "Picture_table", "Picture_form",
                           "Picture_Style"};
        QTest::newRow("panel background") << "pic_library" << QStringList{};
    }

    void pointerClosesPanels()
    {
        QFETCH(QString, over);
        QFETCH(QStringList, closed);
        e->rch->show();
        for (const HeaderRow& h : menuHeaders())
            if (!h.panel.isEmpty())
                QMetaObject::invokeMethod(e->menuBar->header(h.name), "clicked");
        QCOMPARE(openPanels().size(), 9);
        if (over == "panel_1")
            moveTo(e->window->findChild<QLabel*>("panel_1"), {2, 2});
        else if (over == "pic_library")
            moveTo(e->menuBar->panel(over), {2, 2});
        else
            moveTo(e->menuBar->header(over));
        QStringList expected = allPanelsInClosingOrder();
        for (const QString& p : closed)
            expected.removeAll(p);
        QCOMPARE(openPanels(), expected);
        QVERIFY(!e->rch->isHidden());
    }

    void controlClicked_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("source");
        QTest::addColumn<QString>("before");   // Source mode: the marked pane; Edit mode: the page, all selected
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("asked");    // as questions() gives them
        QTest::addColumn<QString>("after");    // Source mode: the marked pane; Edit mode: what the page gains once
        QTest::addColumn<QString>("opened");   // windows shown
        QTest::addColumn<QString>("panel");
        using L = QStringList;
        const QString url = "Enter Url|ENTER URL FOR HREF|HTTP:\\\\";
        const QString word = "<P>word</P>";
        QTest::newRow("menu Bold replaces the selection")
            << "Label15" << true << "ab[XY]cd" << L{} << "" << "ab<STRONG>    </STRONG>[]cd" << "" << "open, red";
        QTest::newRow("toolbar Indent: three blanks")
            << "Image8" << true << "ab[]cd" << L{} << "" << "ab<BLOCKQUOTE>   </BLOCKQUOTE>[]cd" << "" << "-";
        QTest::newRow("Ordered List: three blanks") << "Label51" << true << "[]cd" << L{} << ""
            << "\r\n<OL>\r\n<LI>   </LI>\r\n</OL>[]cd" << "" << "-";
        const QString table = "<TABLE><TR><TD>a tab[]le</TD></TR></TABLE>";
        const QString find = "Enter Word to Find|Find Text|";
        QTest::newRow("Find: first match from the start, any case, part of a word") << "Label14" << true << table
            << L{"table"} << find << "<[TABLE]><TR><TD>a table</TD></TR></TABLE>" << "" << "closed";
        QTest::newRow("Find cancelled keeps the selection")
            << "Label14" << true << table << L{kCancel} << find << table << "" << "closed";
        QTest::newRow("Select All") << "Label13" << true << "one[] two" << L{} << "" << "[one two]" << "" << "closed";
        QTest::newRow("ASP Sub on one line")
            << "Label66" << true << "a[]cd" << L{} << "" << "aSub  End Sub[]cd" << "" << "open, black";
        QTest::newRow("Insert Hyperlink, cancelled")
            << "Image2" << true << "a[]cd" << L{kCancel} << url << "a<A HREF=\"\">  </A>[]cd" << "" << "-";
        QTest::newRow("Insert Hyperlink, nothing escaped") << "Image2" << true << "[]cd" << L{"a \"b\" {1}"}
            << url << "<A HREF=\"a \"b\" {1}\">  </A>[]cd" << "" << "-";
        // Source-mode refusals. The menu bar disables the Style items once the
        // pointer crosses their header; should a click reach them all the same, they refuse.
        QTest::newRow("menu Outdent refuses") << "Label19" << true << "ab[]cd" << L{}
            << "Please Use This Menu Item in Edit Mode|orvane|" << "ab[]cd" << "" << "open, red";
        QTest::newRow("toolbar Outdent refuses") << "Image9" << true << "ab[]cd" << L{}
            << "Please Use this in Edit Mode|orvane|" << "ab[]cd" << "" << "-";
        for (const char* style : {"Label42", "Label45"})
            QTest::addRow("%s refuses, ungated", style) << style << true << "ab[]cd" << L{}
                << "Please Use this Menu in Edit Mode|Orvane Tip|(i)" << "ab[]cd" << "" << "open, red";
        QTest::newRow("Events Wizard opens") << "Label56" << true << "[]abc" << L{}
            << "Step 1. Click the Element Where You would Like This Event to Occur!|Orvane Tip|(i)" << "[]abc"
            << "javaWiz" << "closed";
        QTest::newRow("menu Bold") << "Label15" << false << word << L{} << "" << "<b>word</b>" << ""
                                   << "closed";
        QTest::newRow("toolbar Align Left") << "left1" << false << "<P ALIGN=center>word</P>" << L{} << ""
                                            << "text-align: left" << "" << "-";
        // A failing command that skips errors still closes its panel; one that
        // does not stops at the failure and leaves it open. The page is unchanged.
        QTest::newRow("Delete Row outside a table") << "Label25" << false << word << L{} << "" << "" << "" << "closed";
        QTest::newRow("Send Backward, nothing positioned")
            << "Label46" << false << word << L{} << "" << "" << "" << "open, red";
        QTest::newRow("menu Bold, nothing editable")
            << "Label15" << false << "<FRAMESET></FRAMESET>" << L{} << "" << "" << "" << "open, red";
        QTest::newRow("Form") << "Label70" << false << "" << L{"p.asp"} << "Enter an Action|Form Element Name|HTTP://"
                              << "<form action=p.asp method=post>" << "" << "closed";
        QTest::newRow("Radio: value written before name") << "Label34" << false << "" << L{"r1", "yes"}
            << "Enter a Name for Your Radio Button.|Form Element Name||Enter a Value for Your Radio Button.|Form Element Value|"
            << "<input type=radio value=yes name=r1>" << "" << "closed";
        QTest::newRow("Submit: name written before value") << "Label37" << false << "" << L{"Send", "s1"}
            << "Enter a Value for Your Submit Button.|Form Element Value||Enter a Name for your Submit Button.|Form Element Name|"
            << "<input type=submit name=s1 value=send>" << "" << "closed";
        // An answer that looks like a placeholder is written as it is, not filled again.
        QTest::newRow("Create a DIV: class before id") << "Label42" << false << "" << L{"{2}", "c1"}
            << "Enter an Id For Your Division.|CSS ID||Enter a Class For Your Division.|CSS Class|"
            << "<div class=c1 id={2}>" << "" << "closed";
        // "Class= Id=" parses as one attribute whose value is "Id=".
        QTest::newRow("Create a Span, both cancelled") << "Label43" << false << "" << L{kCancel, kCancel}
            << "Enter an Id For Your Span.|CSS ID||Enter a Class For Your Span.|CSS Class|" << "<span class=id=>"
            << "" << "closed";
        QTest::newRow("Events Wizard refuses") << "Label56" << false << "" << L{}
            << "Please Change to Source Mode to Use This Component|orvane|" << "" << "" << "closed";
        QTest::newRow("Rollover Wizard refuses") << "Label57" << false << "" << L{}
            << "Please Use This Feature in Source Mode|orvane|" << "" << "" << "open, red";
        QTest::newRow("Ftp") << "Image7" << false << "" << L{} << "" << "" << "frmFtp" << "-";
    }

    void controlClicked()
    {
        QFETCH(QString, control);
        QFETCH(bool, source);
        QFETCH(QString, before);
        QFETCH(QStringList, answers);
        QFETCH(QString, asked);
        QFETCH(QString, after);
        QFETCH(QString, opened);
        QFETCH(QString, panel);
        ScriptedPrompts prompts;
        for (const QString& a : answers)
            a == kCancel ? prompts.cancelInput() : prompts.answerInput(a);
        QStringList shown;
        for (const char* w : {"frmFtp", "javaWiz", "funcFrm"})
            e->wiring->setWindow(w, [&shown, name = QString(w)] { shown << name; });
        e->setSourceMode(source);
        if (source) {
            setMarked(*e->rch, before);
        } else {
            e->rch->setText("untouched");
            if (!before.isEmpty()) {
                e->surface->setDocumentHTML(before);
                e->surface->ExecCommand(DECMD_SELECTALL);
            }
        }
        const QString page = e->surface->DocumentHTML();

        if (QByteArray(QTest::currentDataTag()).endsWith(", ungated"))
            e->clickUngatedMenuItem(control);
        else
            e->click(control);

        QCOMPARE(questions(prompts), asked);
        QCOMPARE(prompts.unexpected(), QStringList());
        QCOMPARE(prompts.pending(), 0);
        QCOMPARE(shown.join(","), opened);
        QCOMPARE(panelState(*e, control), panel);
        if (source) {
            QCOMPARE(marked(*e->rch), after);
            QCOMPARE(e->surface->DocumentHTML(), page);
        } else {
            QCOMPARE(e->rch->Text(), QString("untouched"));
            const QString now = e->surface->DocumentHTML();
            if (after.isEmpty())
                QCOMPARE(now, page);
            else
                QVERIFY2(normalised(now).count(after) == normalised(page).count(after) + 1, qPrintable(now));
        }
    }

    // Source mode: Insert Image writes the picture's file name only, and a
    // cancelled dialog keeps its last choice; toolbar Copy, menu Cut, Paste, Undo.
    void sourcePaneImageAndClipboard()
    {
        ScriptedPrompts prompts;
        prompts.answerFile("/srv/site/images/pic one.gif").cancelFile();
        e->setSourceMode(true);
        e->rch->setText(QString());
        e->clickTool("Image4");
        e->clickTool("Image4");
        QCOMPARE(e->rch->Text(), QString("<IMG SRC=\"pic one.gif\"><IMG SRC=\"pic one.gif\">"));

        // Toolbar Copy leaves the focus in the source pane.
        setMarked(*e->rch, "one [two]");
        e->surface->setFocus();
        e->clickTool("copy");
        QCOMPARE(QApplication::clipboard()->text(), QString("two"));
        QTRY_VERIFY(e->rch->hasFocus());

        setMarked(*e->rch, "[one ]two");
        e->clickMenuItem("Label10");  // Cut
        QCOMPARE(e->rch->Text() + "|" + QApplication::clipboard()->text(), QString("two|one "));
        e->rch->setSelStart(3);
        e->clickMenuItem("Label12");  // Paste
        QCOMPARE(e->rch->Text(), QString("twoone "));
        e->clickMenuItem("Label8");  // Undo takes the paste back
        QCOMPARE(e->rch->Text(), QString("two"));
        QCOMPARE(panelState(*e, "Label8"), QString("closed"));
    }

    void idleWindowMakesNoPageCalls()
    {
        QWidget* page = loadSpots();
        QTest::mouseClick(page, Qt::LeftButton, {}, centreOf("p"));
        QTest::qWait(500);  // the click's own updates
        QSignalSpy changes(e->surface, &Surface::DisplayChanged);
        const int before = e->surface->pageCallCount();
        QTest::qWait(1500);
        QCOMPARE(e->surface->pageCallCount(), before);
        QCOMPARE(changes.count(), 0);
        // The page pushes a caret move; the window's updates for it ask nothing.
        QTest::keyClick(page, Qt::Key_Right);
        QVERIFY(changes.wait(5000));
        QTest::qWait(300);
        QCOMPARE(e->surface->pageCallCount(), before);
    }

    void rightClickShowsMenuForTheSpot_data()
    {
        QTest::addColumn<bool>("clickFirst");
        QTest::addColumn<QString>("at");
        QTest::addColumn<QString>("pick");
        QTest::newRow("cell, clicked there before") << true << "td" << "Insert Row";
        QTest::newRow("cell, no click before") << false << "td" << "Insert Row";
        QTest::newRow("paragraph, clicked there before") << true << "p" << "Background Color";
        QTest::newRow("paragraph, no click before") << false << "p" << "Background Color";
        QTest::newRow("selected words") << false << "span" << "Font Color";
    }

    // The menu for the spot, with or without a click there before; the picked
    // item acts there: a row is added, or the colour dialog's colour is set.
    void rightClickShowsMenuForTheSpot()
    {
        QFETCH(bool, clickFirst);
        QFETCH(QString, at);
        QFETCH(QString, pick);
        QWidget* page = loadSpots();
        const QPoint spot = centreOf(at);
        if (clickFirst) {
            QTest::mouseClick(page, Qt::LeftButton, {}, spot);
            QTest::qWait(2000);
        }
        if (at == "span")
            selectText(*e->surface, "lead words");
        QTest::mouseClick(page, Qt::RightButton, {}, spot);
        QMenu* menu = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())), 5000);
        QHash<QString, QAction*> items;
        for (QAction* a : menu->actions())
            items[a->text()] = a;
        QVERIFY(items.value("Select All") && items["Select All"]->isEnabled());
        QVERIFY(items.value("Font...") && items["Font..."]->isEnabled());
        QCOMPARE(items.contains("Insert Row"), at == "td");
        QCOMPARE(items["Cut"]->isEnabled(), at == "span");
        ScriptedPrompts prompts;
        prompts.answerColor(QColor(255, 0, 0));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(items[pick]).center());
        if (pick == "Insert Row")
            QTRY_COMPARE(pageScript(*e->surface, "return document.querySelectorAll('tr').length;").toInt(), 2);
        else
            QTRY_COMPARE(prompts.pending(), 0);
        const QString colour = "return getComputedStyle([...document.querySelectorAll('span, span *')].pop()).color;";
        QCOMPARE(pageScript(*e->surface, colour).toString() == "rgb(255, 0, 0)", pick == "Font Color");
        QCOMPARE(e->surface->DOM().bgColor().toUpper(), pick == "Background Color" ? "#FF0000" : "");
    }

private:
    // A paragraph, words in a span and a table; returns the view that takes the clicks.
    QWidget* loadSpots()
    {
        loadBody(*e->surface, "<P><SPAN>lead words</SPAN></P><TABLE border=1><TR><TD>cell one</TD><TD>two</TD></TR></TABLE>");
        return e->surface->view()->focusProxy();
    }

    // The centre of the first element matching selector, in view coordinates.
    QPoint centreOf(const QString& selector)
    {
        const QVariantList r = pageScript(*e->surface, QStringLiteral(
            "const b = document.querySelector(%1).getBoundingClientRect();"
            "return [Math.round(b.left + b.width / 2), Math.round(b.top + b.height / 2)];").arg(quoted(selector))).toList();
        return r.size() == 2 ? QPoint(r[0].toInt(), r[1].toInt()) : QPoint();
    }

    void moveTo(QWidget* w, QPoint at = {-1, -1})
    {
        QTest::mouseMove(e->window->windowHandle(),
                         w->mapTo(e->window.get(), at == QPoint(-1, -1) ? w->rect().center() : at));
    }

    QStringList openPanels() const
    {
        QStringList open;
        for (const QString& p : allPanelsInClosingOrder())
            if (e->menuBar->panel(p)->isVisible())
                open << p;
        return open;
    }

    std::unique_ptr<WindowFixture> e;
};

ORVANE_TEST_MAIN(tst_Commands)
#include "tst_commands.moc"
