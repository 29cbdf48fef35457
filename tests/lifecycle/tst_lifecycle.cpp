// The document commands of the real window, with real files: round trips byte
// for byte, captions, load and save errors, the question before unsaved work
// is replaced, the shortcuts, the font boxes, and the tab switch that changes nothing.
#include "ScriptedPrompts.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "WindowFixture.h"
#include "Document.h"
#include "DocumentLifecycle.h"
#include "KeyboardCommands.h"
#include "MainWindowParts.h"
#include "ToolbarState.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <csignal>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace orvane;
using namespace orvane::test;

namespace {

const QByteArray kPageA = "<HTML>\r\n<HEAD>\r\n<TITLE>A</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<P>page a</P>\r\n</BODY>\r\n</HTML>\r\n";
const QByteArray kPageB = "<html><head><title>B</title></head>\n<body><p>page b</p></body></html>\n";
constexpr int kYesCancelled = -1;
const QString kSurfaceName = QStringLiteral("Microsoft DHTML Editing Control");
const QString kEditorName = QStringLiteral("Kestrova Editor v.1.5");

QString page(const QString& body)
{
    return QStringLiteral("<HTML><HEAD>\r\n<META NAME=\"GENERATOR\" CONTENT=\"%1\">\r\n"
                          "<TITLE>t</TITLE>\r\n</HEAD>\r\n<BODY>\r\n%2\r\n</BODY>\r\n</HTML>\r\n")
        .arg(kSurfaceName, body);
}

const QString kChanged = QStringLiteral("<HTML><HEAD><TITLE>A</TITLE></HEAD><BODY><P>changed</P></BODY></HTML>");

}  // namespace

class tst_Lifecycle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void init()
    {
        prompts = std::make_unique<ScriptedPrompts>();
        site = std::make_unique<TempSite>();
        fx = std::make_unique<WindowFixture>();
        life = &fx->window->parts()->lifecycle();
    }

    void cleanup()
    {
        QVERIFY2(prompts->unexpected().isEmpty(), qPrintable(prompts->unexpected().join("; ")));
        QCOMPARE(prompts->pending(), 0);
        fx.reset();
        prompts.reset();
        site.reset();
    }

    void openAndSaveKeepBytes_data()
    {
        QTest::addColumn<bool>("source");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("filterIndex");
        const QByteArray latin = "<html><head><meta charset=\"windows-1252\"><title>t</title></head>"
                                 "<body><p>caf\xE9 \x80</p></body></html>";
        const QByteArray asp = "<%@ Language=VBScript %>\r\n<HTML><BODY><% Response.Write \"x\" %><P>a</P>"
                               "</BODY></HTML>";
        QTest::newRow("edit mode, windows-1252") << false << latin << 1;
        QTest::newRow("source mode, windows-1252") << true << latin << 1;
        QTest::newRow("source mode, ASP page with the ASP entry") << true << asp << 2;
        QTest::newRow("source mode, LF page with no final break") << true << kPageB.chopped(1) << 1;
    }

    void openAndSaveKeepBytes()
    {
        QFETCH(bool, source);
        QFETCH(QByteArray, bytes);
        QFETCH(int, filterIndex);
        const QString from = site->write(QStringLiteral("in/page.htm"), bytes);
        const QString to = site->path(filterIndex == 2 ? QStringLiteral("out.asp") : QStringLiteral("out.htm"));
        if (source)
            fx->setSourceMode(true);

        prompts->answerFile(from);
        life->Label3_Click();
        // Source mode shows the bare path; a Source-mode save leaves the caption.
        const QString caption = source ? from : QStringLiteral("Orvane Editor - ") + from;
        QCOMPARE(fx->window->windowTitle(), caption);
        if (source)
            QCOMPARE(fx->surface->DocumentHTML(), fx->rch->Text());
        QVERIFY(!fx->window->document().isModified());

        prompts->answerFile(to, filterIndex);
        life->Label5_Click();
        QCOMPARE(TempSite::read(to), bytes);
        QCOMPARE(fx->window->windowTitle(), source ? caption : QStringLiteral("Orvane Editor - ") + to);
        if (source)
            QCOMPARE(prompts->asked().last().file.filter, QStringLiteral("HTML |*.htm| ASP | *.asp"));
        QVERIFY(!fx->window->document().isModified());
        QVERIFY(prompts->messages().isEmpty());
    }

    void modifiedPageAsksFirst_data()
    {
        QTest::addColumn<QString>("command");  // a File menu item, or "close" for the window's close
        QTest::addColumn<bool>("source");
        // MsgResult, 0: the page is not modified, or kYesCancelled: a page without a file
        // needs the save dialog for Yes, and cancelling it does not count as saved.
        QTest::addColumn<int>("answer");
        const struct { const char* name; const char* command; bool source; } commands[] = {
            {"open", "Label3", false}, {"open", "Label3", true}, {"new", "Label6", false}, {"new", "Label6", true},
            {"exit", "Label7", false}, {"close", "close", true}, {"web", "Label1", false},
        };
        const std::pair<const char*, int> answers[] = {{"not modified", 0}, {"yes", int(MsgResult::Yes)},
                                                      {"no", int(MsgResult::No)}, {"cancel", int(MsgResult::Cancel)},
                                                      {"yes, save dialog cancelled", kYesCancelled}};
        for (const auto& c : commands)
            for (const auto& [answerName, answer] : answers)
                QTest::addRow("%s in %s mode, %s", c.name, c.source ? "source" : "edit", answerName)
                    << c.command << c.source << answer;
    }

    void modifiedPageAsksFirst()
    {
        QFETCH(QString, command);
        QFETCH(bool, source);
        QFETCH(int, answer);
        const QString a = site->write(QStringLiteral("a.htm"), kPageA);
        const QString b = site->write(QStringLiteral("b.htm"), kPageB);
        if (answer != kYesCancelled)
            life->openAtStart(a);
        QString pageText;  // what the page holds once modified
        if (source) {
            fx->setSourceMode(true);
            fx->rch->setText(QString::fromLatin1(kPageA));
            if (answer) {
                fx->rch->setFocus();
                fx->rch->setSelStart(0);
                QTest::keyClicks(fx->rch, QStringLiteral("typed "));  // never handed to the surface
            }
            pageText = fx->rch->Text();
        } else if (answer) {
            fx->surface->setDocumentHTML(kChanged);
            pageText = kChanged;
        }
        QCOMPARE(fx->window->document().isModified(), answer != 0);

        if (command == "Label1")
            prompts->answerInput(QUrl::fromLocalFile(b).toString());
        if (answer)
            prompts->answerMessage(answer == kYesCancelled ? MsgResult::Yes : MsgResult(answer));
        if (answer == kYesCancelled)
            prompts->cancelFile();
        const bool goesOn = answer != int(MsgResult::Cancel) && answer != kYesCancelled;
        const QString paneBefore = fx->rch->Text();
        if (command == "Label3" && goesOn)
            prompts->answerFile(b);
        if (command == "close")
            fx->window->close();
        else
            life->run(command);
        if (command == "Label1")
            QCOMPARE(prompts->asked()[0].text + "|" + prompts->asked()[0].title + "|" + prompts->asked()[0].defaultText,
                     QStringLiteral("Enter Url for Page to Open|Open From The Web|HTTP:\\\\"));

        QStringList messages;
        for (const ScriptedPrompts::Asked& m : prompts->messages())
            messages << m.text + (m.buttons == MsgButtons::YesNoCancel && m.icon == MsgIcon::Exclamation ? "" : " (look)");
        QCOMPARE(messages, answer ? QStringList{"The current document has changed.\r\n\r\nDo you want to save changes?"}
                                  : QStringList());

        // Yes saved the page in place, without a dialog; otherwise the file is as it was.
        if (answer == int(MsgResult::Yes))
            QCOMPARE(QString::fromUtf8(TempSite::read(a)), pageText);
        else
            QCOMPARE(TempSite::read(a), kPageA);

        if (!goesOn) {
            QVERIFY(fx->window->isVisible());
            QCOMPARE(source ? fx->rch->Text() : fx->surface->DocumentHTML(), pageText);
            QVERIFY(fx->window->document().isModified());
        } else if (command == "Label7" || command == "close") {
            QVERIFY(!fx->window->isVisible());
        } else if (command == "Label6") {
            // Nine CR LF lines, no final break; Edit mode leaves the source pane as it was.
            const QString blank = QStringLiteral(
                "<HTML>\r\n<HEAD>\r\n<META NAME=\"GENERATOR\" Content=\"Kestrova Editor v.1.0\">\r\n"
                "<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n<P>&nbsp;</P>\r\n</BODY>\r\n</HTML>");
            QCOMPARE(fx->window->windowTitle(), QStringLiteral("Orvane Editor 1.0"));
            QCOMPARE(fx->rch->Text(), source ? blank : paneBefore);
            QVERIFY(fx->surface->DocumentHTML().contains(QStringLiteral("<P>&nbsp;</P>")));
            QCOMPARE(fx->surface->CurrentDocumentPath(), QString());
            QVERIFY(!fx->window->document().isModified());
        } else {
            if (source)
                QCOMPARE(fx->rch->Text(), QString::fromLatin1(kPageB));
            QVERIFY(fx->surface->DocumentHTML().contains(QStringLiteral("page b")));
            QVERIFY(!fx->window->document().isModified());
        }
    }

    void fileErrorIsReported_data()
    {
        QTest::addColumn<bool>("source");
        QTest::addColumn<QString>("command");  // open, save, or start: opened when the program starts
        QTest::addColumn<QString>("name");     // "" cancels the dialog
        QTest::addColumn<QString>("reason");
        for (const bool source : {false, true}) {
            const char* mode = source ? "source mode" : "edit mode";
            QTest::addRow("%s, open, missing file", mode) << source << "open" << "missing.htm" << "File not found";
            QTest::addRow("%s, open, missing folder", mode) << source << "open" << "nowhere/missing.htm" << "Path not found";
            QTest::addRow("%s, open, folder in place of the file", mode) << source << "open" << "folder" << "Access denied";
            QTest::addRow("%s, save, disk full", mode) << source << "save" << "full" << "Disk is full";
            QTest::addRow("%s, save, parent is a file", mode) << source << "save" << "a.htm/page.htm" << "Path not found";
            QTest::addRow("%s, save, folder in place of the file", mode) << source << "save" << "folder" << "Access denied";
        }
        QTest::addRow("edit mode, open, frameset page") << false << "open" << "frames.htm" << "Document contains a frameset";
        QTest::addRow("edit mode, open, only server script")
            << false << "open" << "script.asp" << "Document is primarily server side script";
        QTest::addRow("at start, missing file") << false << "start" << "missing.htm" << "File not found";
        QTest::addRow("source mode, open, dialog cancelled") << true << "open" << "" << "";
    }

    // The old file is kept; a failed open leaves Source mode as it was and Edit mode blank.
    void fileErrorIsReported()
    {
        QFETCH(bool, source);
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QDir(site->path()).mkdir(QStringLiteral("folder"));
        site->write(QStringLiteral("frames.htm"),
                    "<HTML><FRAMESET cols=\"50%,*\"><FRAME SRC=a.htm><FRAME SRC=b.htm></FRAMESET></HTML>");
        site->write(QStringLiteral("script.asp"), "<%@ Language=VBScript %>\r\n<% Response.Redirect \"x\" %>");
        const QString a = site->write(QStringLiteral("a.htm"), kPageA);
        const QString path = site->path(name);
        // A character device that refuses every write with "no space left".
        if (name == "full")
            QVERIFY(mknod(path.toLocal8Bit().constData(), S_IFCHR | 0666, makedev(1, 7)) == 0);
        const bool save = command == "save";
        life->openAtStart(command == "start" ? path : a);
        if (source) {
            fx->setSourceMode(true);
            fx->rch->setText(save ? kChanged : QString::fromLatin1(kPageA));
        } else if (save) {
            fx->surface->setDocumentHTML(kChanged);
        }
        if (command != "start") {
            if (name.isEmpty())
                prompts->cancelFile();
            else
                prompts->answerFile(path);
            life->run(save ? "Label4" : "Label3");
        }

        const QString doing = save ? "saving" : "loading";
        QCOMPARE(errorsShown(), reason.isEmpty() ? QString() : "Error occurred while " + doing + " document: " + reason + ".");
        QCOMPARE(TempSite::read(a), kPageA);
        QVERIFY(QFileInfo(site->path("folder")).isDir());
        struct stat st {};
        QVERIFY2(name != "full" || (stat(path.toLocal8Bit().constData(), &st) == 0 && S_ISCHR(st.st_mode)),
                 "the device was replaced by a file");
        if (save) {
            QVERIFY(source || fx->window->document().isModified());
        } else if (source) {
            QCOMPARE(fx->rch->Text(), QString::fromLatin1(kPageA));
            QCOMPARE(fx->surface->CurrentDocumentPath(), a);
            QCOMPARE(fx->window->windowTitle(), QStringLiteral("Orvane Editor - ") + a);
        } else {
            QCOMPARE(fx->surface->CurrentDocumentPath(), QString());
            QVERIFY(!fx->surface->DocumentHTML().contains(QStringLiteral("page a")));
            QCOMPARE(fx->window->windowTitle(), QStringLiteral("Orvane Editor"));
        }
    }

    // Each shortcut runs its item's command once; the focused pane does not act on it.
    void shortcutRunsItsItemOnly_data()
    {
        QTest::addColumn<QString>("focus");  // source, surface or another window
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QString>("item");
        const int C = Qt::ControlModifier;
        QTest::newRow("new") << "source" << int(Qt::Key_N) << C << "Label6";
        QTest::newRow("save") << "source" << int(Qt::Key_S) << C << "Label4";
        QTest::newRow("save as") << "source" << int(Qt::Key_S) << (C | int(Qt::ShiftModifier)) << "Label5";
        QTest::newRow("source pane, undo") << "source" << int(Qt::Key_Z) << C << "Label8";
        QTest::newRow("source pane, paste") << "source" << int(Qt::Key_V) << C << "Label12";
        QTest::newRow("plain letter") << "source" << int(Qt::Key_B) << 0 << "";
        QTest::newRow("alt is not ctrl") << "source" << int(Qt::Key_S) << int(Qt::AltModifier) << "";
        QTest::newRow("surface, bold") << "surface" << int(Qt::Key_B) << C << "Label15";
        QTest::newRow("surface, cut") << "surface" << int(Qt::Key_X) << C << "Label10";
        QTest::newRow("another window") << "other" << int(Qt::Key_S) << C << "";
    }

    void shortcutRunsItsItemOnly()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(QString, item);
        QStringList ran;
        KeyboardCommands keys(fx->window.get(), [&ran](const QString& c) { ran << c; });
        const auto press = [&](QWidget* w) { QTest::keyClick(w, Qt::Key(key), Qt::KeyboardModifiers(mods)); };
        if (focus == "source") {
            fx->setSourceMode(true);
            fx->rch->setText(QStringLiteral("abc"));
            fx->rch->setFocus();
            QTest::keyClicks(fx->rch, QStringLiteral("xy"));
            fx->rch->setSelStart(1);
            fx->rch->setSelLength(1);
            press(fx->rch);
            if (!item.isEmpty()) {
                QCOMPARE(fx->rch->Text(), QStringLiteral("xyabc"));
                QCOMPARE(fx->rch->SelStart(), 1);
                QCOMPARE(fx->rch->SelLength(), 1);
            }
        } else if (focus == "surface") {
            loadBody(*fx->surface, QStringLiteral("<P>some words here</P>"));
            fx->surface->setFocus();
            selectText(*fx->surface, QStringLiteral("words"));
            const QString before = fx->surface->DocumentHTML();
            press(fx->surface->view()->focusProxy());
            QTest::qWait(200);  // time for the page to act on the key, were it to
            QCOMPARE(fx->surface->DocumentHTML(), before);
            QCOMPARE(pageScript(*fx->surface, QStringLiteral("return getSelection().toString();")).toString(),
                     QStringLiteral("words"));
        } else {
            QLineEdit other;
            other.show();
            QVERIFY(QTest::qWaitForWindowExposed(&other));
            press(&other);
        }
        QCOMPARE(ran, item.isEmpty() ? QStringList() : QStringList{item});
    }
    // Every tab click brings its frame to the front and refreshes source and
    // preview; on an unedited page none of this is a change: it saves byte for byte.
    void tabSwitchesLeaveThePageUnchanged()
    {
        mainFrm& w = *fx->window;
        const QByteArray bytes = page(QStringLiteral("<p class=x>kept  as\ris</p>")).toUtf8();
        const QString file = site->write(QStringLiteral("page.htm"), bytes);
        life->openAtStart(file);
        for (int tab : {1, 0, 2, 2, 0, 1, 1, 0}) {
            w.rch()->hide();  // as when the pointer crosses the design surface
            fx->clickTab(tab);
            QCOMPARE(w.TabStrip1()->selectedIndex(), tab);
            QCOMPARE(fx->frontFrame(), tab);
            QVERIFY(w.isSourceMode());
            const QString source = w.rch()->Text();
            QVERIFY2(source.contains("kept  as\ris") && source.contains(kEditorName), qPrintable(source));
            QVERIFY(!source.contains(kSurfaceName));
            QCOMPARE(w.rch()->SelLength(), 0);  // nothing left selected for the next insertion
            if (tab == 2)
                QVERIFY(w.DHTMLEdit2()->DocumentHTML().contains("kept  as"));
            if (tab == 1) {  // the source is looked at: its losing the focus hands it over
                fx->rch->setFocus(Qt::MouseFocusReason);
                QTRY_VERIFY(fx->rch->hasFocus());
            }
            QVERIFY2(!w.document().isModified(), qPrintable(QString::number(tab)));
        }
        QVERIFY(w.DHTMLEdit1()->DocumentHTML().contains(kSurfaceName));
        QVERIFY(life->SaveCurrentDocument(false));
        QCOMPARE(TempSite::read(file), bytes);

        // Typed source reaches the design surface when "Edit" is clicked; a
        // click on the current tab refreshes the source first.
        fx->clickTab(1);
        w.DHTMLEdit1()->setDocumentHTML(page(QStringLiteral("<P>start</P>")));
        fx->clickTab(1);
        w.rch()->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(w.rch()->hasFocus());
        w.rch()->setSelStart(int(w.rch()->Text().indexOf(QStringLiteral("start"))));
        QTest::keyClicks(w.rch(), QStringLiteral("typed words "));
        fx->clickTab(0);
        QCOMPARE(fx->frontFrame(), 0);
        QVERIFY2(w.DHTMLEdit1()->DocumentHTML().contains(QStringLiteral("typed words start")),
                 qPrintable(w.DHTMLEdit1()->DocumentHTML()));
    }

    // Until its first document is complete a toolbar state sends nothing to
    // the page; that document empties the size box's selection, later ones do not.
    void firstDocumentStartsTracking()
    {
        QCOMPARE(sizes()->currentIndex(), -1);  // the window's own first document
        loadBody(*fx->surface, QStringLiteral("<P>plain text</P>"));
        selectText(*fx->surface, QStringLiteral("plain"));
        ToolbarState fresh(*fx->surface, *fx->rch, *fonts(), *sizes(), [] { return false; }, [](const QString&, bool) {});
        const QString before = fx->surface->DocumentHTML();
        sizes()->setCurrentIndex(4);
        fresh.FontSizeCombo_Click();
        fresh.FontCombo_Click();
        QCOMPARE(fx->surface->DocumentHTML(), before);
        loadBody(*fx->surface, QStringLiteral("<P>again</P>"));
        QTRY_VERIFY(fresh.documentReady());
        QCOMPARE(sizes()->currentIndex(), -1);
        sizes()->setCurrentIndex(2);
        QSignalSpy complete(fx->surface, &Surface::DocumentComplete);
        loadBody(*fx->surface, QStringLiteral("<P>and again</P>"));
        QTRY_COMPARE(complete.count(), 1);
        QCOMPARE(sizes()->currentIndex(), 2);
    }

    // The boxes and the latched buttons show the selection's face, size and
    // style; a size typed and entered, or a face picked or typed, reaches the
    // selection. In Source mode a pick inserts a fragment at the caret instead.
    void fontBoxes()
    {
        loadBody(*fx->surface, QStringLiteral("<P><FONT size=\"3\" face=\"Tahoma\"><B>sized</B> text</FONT></P>"));
        selectText(*fx->surface, QStringLiteral("sized"));
        const auto pressed = [this](const char* b) { return fx->toolbar->button(b)->frameStyle() != QFrame::NoFrame; };
        QTRY_COMPARE(fonts()->currentText() + "|" + sizes()->currentText(), QStringLiteral("Tahoma|3"));
        QTRY_VERIFY(pressed("bold") && !pressed("italics"));
        // Out of range puts the size minus one in the box; in range sets the size.
        for (const auto& [typed, box, size] : {std::tuple{"9", "2", "3"}, {"5", "5", "5"}}) {
            sizes()->lineEdit()->setText(typed);
            sizes()->lineEdit()->setFocus();
            QTest::keyClick(sizes()->lineEdit(), Qt::Key_Return);
            QCOMPARE(sizes()->currentText(), box);
            QCOMPARE(fx->surface->ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toString(), size);
        }
        QCOMPARE(sizes()->count(), 7);  // Enter adds nothing to the list

        selectText(*fx->surface, QStringLiteral("text"));
        fonts()->setCurrentIndex(4);
        emit fonts()->activated(4);
        QVERIFY(bodyHtml(*fx->surface).contains(QStringLiteral("Verdana")));
        selectText(*fx->surface, QStringLiteral("sized"));
        fonts()->lineEdit()->setText(QStringLiteral("Liberation Serif"));
        QTest::keyClick(fonts()->lineEdit(), Qt::Key_Enter);
        QVERIFY(bodyHtml(*fx->surface).contains(QStringLiteral("Liberation Serif")));

        const QString page = fx->surface->DocumentHTML();
        fx->setSourceMode(true);
        fx->rch->setText(QStringLiteral("ab"));
        fx->rch->setSelStart(1);
        fonts()->setCurrentIndex(2);
        emit fonts()->activated(2);
        QCOMPARE(fx->rch->Text(), QStringLiteral("a<FONT FACE=\"Tahoma\">    </FONT>b"));
        QCOMPARE(fx->surface->DocumentHTML(), page);
    }

    // Last: a window made after a renderer crash may not get its page scripts.
    void rendererCrashKeepsUnsavedWork()
    {
        const QString a = site->write(QStringLiteral("a.htm"), kPageA);
        life->openAtStart(a);
        fx->surface->setFocus();
        caretAfterText(*fx->surface, QStringLiteral("page"));
        typeText(*fx->surface, QStringLiteral("typed"));
        QTRY_VERIFY(fx->surface->DocumentHTML().contains(QStringLiteral("typed")));
        const qint64 pid = fx->surface->view()->page()->renderProcessPid();
        QVERIFY(pid > 0);
        ::kill(pid_t(pid), SIGKILL);
        // The surface reloads the text it last had in a new page process.
        QString html;
        QVERIFY(QTest::qWaitFor([&] {
            try {
                html = fx->surface->DocumentHTML();
                return fx->surface->view()->page()->renderProcessPid() != pid && !html.isEmpty();
            } catch (const SurfaceError&) {
                return false;
            }
        }, 30000));
        QVERIFY(html.contains(QStringLiteral("typed")));
        QVERIFY(fx->window->document().isModified());
        QCOMPARE(fx->surface->CurrentDocumentPath(), a);
    }

private:
    QComboBox* fonts() const { return fx->window->FontCombo(); }
    QComboBox* sizes() const { return fx->window->FontSizeCombo(); }

    // The messages shown, each of which must be a critical one with the program's title.
    QString errorsShown() const
    {
        QStringList texts;
        for (const ScriptedPrompts::Asked& m : prompts->messages())
            texts << (m.icon == MsgIcon::Critical && m.title == QString::fromLatin1(applicationTitle())
                          ? m.text : "not critical: " + m.text);
        return texts.join("; ");
    }

    std::unique_ptr<WindowFixture> fx;
    DocumentLifecycle* life = nullptr;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<TempSite> site;
};

ORVANE_TEST_MAIN(tst_Lifecycle)
#include "tst_lifecycle.moc"
