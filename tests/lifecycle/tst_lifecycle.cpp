// The document commands on a real design surface and source pane, with real
// files: round trips byte for byte, captions, load and save errors, and the
// question before unsaved work is replaced.
#include "ScriptedPrompts.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "WindowFixture.h"
#include "platform/surface/Document.h"
#include "shell/lifecycle/DocumentLifecycle.h"
#include "shell/lifecycle/MainWindowParts.h"

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

    // The old file is kept; a failed open leaves the Source-mode page as it
    // was and the design surface blank; a failed save leaves the page modified.
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

    void rendererCrashKeepsUnsavedWork()
    {
        const QString a = site->write(QStringLiteral("a.htm"), kPageA);
        life->openAtStart(a);
        fx->surface->setFocus();
        caretAfterText(*fx->surface, QStringLiteral("page"));
        typeText(*fx->surface, QStringLiteral("typed"));
        QVERIFY(fx->surface->DocumentHTML().contains(QStringLiteral("typed")));
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
