// The FTP control against real servers: connecting, the remote and local
// panes, transfers by drop and by a real mouse drag through the X server
// (the test runs under xvfb-run), file operations and the file menus.
#include "ControlSession.h"
#include "DragData.h"
#include "Inet.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::testing;

namespace {
const QString kStill = QStringLiteral("      Still Executing    ");
const QString kRefused = QStringLiteral("\"%1\" was not downloaded: it %2.");
}  // namespace

class tst_FtpControl : public QObject {
    Q_OBJECT
private slots:
    void publishBrowseAndFetchBack_data()
    {
        QTest::addColumn<QString>("fixture");
        for (const char* name : {"ftp_pyftpd", "ftp_vsftpd", "ftp_pyftpd_tls", "ftp_vsftpd_tls",
                                 "ftp_proftpd_tls", "ftp_proftpd_implicit", "ftp_sshd"})
            QTest::newRow(name) << name;
    }

    // A user's round trip on each server: connect (refusing, then trusting an
    // unverifiable peer), browse, upload files and a folder tree, make, rename
    // and delete, download back. On TLS servers that demand session reuse every
    // data connection after an upload or a download must still be accepted.
    void publishBrowseAndFetchBack()
    {
        QFETCH(QString, fixture);
        ORVANE_REQUIRE_SERVER(server, fixture);
        for (const char* folder : {"ctl_pub", "ctl_pub/pub", "ctl_pub/alpha", "ctl_pub/Dossier été"})
            server.makeFolder(folder);
        QVERIFY(QFile::link("pub", server.pathOf("ctl_pub/to pub")));
        QVERIFY(QFile::link("pub/notes.txt", server.pathOf("ctl_pub/to notes")));
        server.writeFile("ctl_pub/README", "read me");
        server.writeFile("ctl_pub/.profile", "hidden");
        server.writeFile("ctl_pub/pub/notes.txt", "notes");
        QTemporaryDir site, back;
        QByteArray binary;
        for (int i = 0; i < 70000; ++i)
            binary += char(i * 7);
        for (const auto& [name, bytes] : {std::pair<const char*, QByteArray>{"index.htm", "<p>home</p>\r\n"},
                                          {"Makefile", "all:\n"}, {"css/site.css", "p{}"}, {"css/img/logo.png", binary}})
            write(site.filePath(name), bytes);
        Session s;
        if (server.scheme != u"ftp") {
            // Refused from the server menu, with its defaults: nothing listed, nothing retried.
            s.prompts.answerInput(server.url()).answerInput(server.user).answerInput(server.password);
            s.prompts.answerMessage(MsgResult::No);
            s.part<QAction>("mnuConnect")->trigger();
            QVERIFY(s.waitIdle());
            QStringList defaults;
            for (const ScriptedPrompts::Asked& a : s.prompts.asked().mid(0, 3))
                defaults << a.defaultText;
            QCOMPARE(defaults, (QStringList{"127.0.0.1", "anonymous", "guest"}));
            QCOMPARE(s.tree("treeClient")->topLevelItemCount(), 0);   // the menu leaves the local pane alone
            QTest::qWait(50);   // a retry would have been sent by now
            QVERIFY(!s.c.isBusy() && s.c.Inet1().hasUntrustedPeer());
            QCOMPARE(s.prompts.messages().size(), 1);
            QCOMPARE(s.tree("treeServer")->topLevelItem(0)->childCount(), 0);
            s.prompts.clear();
        }
        QVERIFY(s.connectTo(server));
        QVERIFY(s.allAnswered());
        // The peer is named with its fingerprint, trusted, and the listing sent again.
        QCOMPARE(s.prompts.messages().size(), server.scheme == u"ftp" ? 0 : 1);
        for (const ScriptedPrompts::Asked& asked : s.prompts.messages())
            QVERIFY2(asked.buttons == MsgButtons::YesNo && asked.text.contains("127.0.0.1")
                         && asked.text.contains(server.fingerprint)
                         && asked.text.contains(server.scheme == u"sftp" ? "host key" : "certificate"),
                     qPrintable(asked.text));
        s.prompts.clear();

        // The local volumes under "MyComputer", "/" first and opened.
        QTreeWidgetItem* myComputer = nodeByKey(s.tree("treeClient"), "root");
        QVERIFY(myComputer && myComputer->text(0) == "MyComputer");
        QCOMPARE(myComputer->child(0)->data(0, ftp::KeyRole).toString(), QString("/"));
        QVERIFY(nodeByKey(s.tree("treeClient"), "/usr/***") && !nodeByKey(s.tree("treeClient"), "/***"));

        // A folder lists its subfolders (links too) sorted and once, and its
        // files without hidden ones.
        QTreeWidgetItem* folder = nodeByKey(s.tree("treeServer"), "ctl_pub/");
        QCOMPARE(childTexts(folder), QStringList{"***"});
        const QStringList subfolders{"alpha/", "Dossier été/", "pub/", "to pub/"};
        s.click(folder);
        QCOMPARE(s.c.serverPath(), QString("ctl_pub/"));
        QCOMPARE(childTexts(folder), subfolders);
        QCOMPARE(s.listRows("lstServer"), (QStringList{"README|File", "to notes|File"}));
        folder->setExpanded(false);
        folder->setExpanded(true);
        QCOMPARE(s.label("lblServerFolder"), QString("Contents of \"ctl_pub/\""));
        s.click("ctl_pub/to pub/");
        QCOMPARE(s.listRows("lstServer"), QStringList{"notes.txt|TXT"});
        s.click(folder);
        QCOMPARE(childTexts(folder), subfolders);

        // Refresh adds what is new and keeps what went away, without waiting.
        QVERIFY(QFile::remove(server.pathOf("ctl_pub/README")));
        server.writeFile("ctl_pub/new.css", "new");
        s.press("Command3");
        QVERIFY(s.c.Inet1().StillExecuting());
        QVERIFY(s.waitIdle());
        QCOMPARE(s.listRows("lstServer"), (QStringList{"README|File", "new.css|CSS", "to notes|File"}));

        // Two files and a folder tree dropped on a folder with an accented name.
        s.click("ctl_pub/Dossier été/");
        s.openLocal(site.path());
        s.sent.clear();
        s.select("lstClient", {"index.htm", "Makefile", "css"});
        s.drag("lstClient", "lstServer");
        const QString to = server.pathOf("ctl_pub/Dossier été/");
        QCOMPARE(contents(to + "index.htm") + contents(to + "css/site.css"), QByteArray("<p>home</p>\r\np{}"));
        QCOMPARE(contents(to + "css/img/logo.png"), binary);
        QCOMPARE(s.listRows("lstServer"), (QStringList{"Makefile|File", "index.htm|HTM"}));
        QVERIFY(s.sentTexts().contains("PUT " + site.path() + "/index.htm ctl_pub/Dossier été/index.htm"));
        QVERIFY(s.sentTexts().contains("mkdir ctl_pub/Dossier été/css/img"));

        // Make a folder, rename a file, delete another.
        s.prompts.answerInput("made").answerInput("home.htm").answerMessage(MsgResult::Yes);
        s.press("Command1");
        QVERIFY(s.waitIdle());
        s.select("lstServer", {"index.htm"});
        s.press("Command4");
        s.select("lstServer", {"Makefile"});
        s.press("Command2");
        QVERIFY(QFileInfo(to + "made").isDir() && QFile::exists(to + "home.htm") && !QFile::exists(to + "Makefile"));
        QCOMPARE(messageTexts(s.prompts), QStringList{"Delete Makefile?"});

        // Downloaded back, from the folder and from a subfolder, after a new login.
        s.press("close");
        QVERIFY(!s.c.Inet1().StillExecuting());
        s.openLocal(back.path());
        s.click("ctl_pub/Dossier été/");
        s.select("lstServer", {"home.htm"});
        s.drag("lstServer", "lstClient");
        s.click("ctl_pub/Dossier été/css/");
        s.click("ctl_pub/Dossier été/css/img/");
        s.select("lstServer", {"logo.png"});
        s.drag("lstServer", "lstClient");
        QVERIFY(s.sentTexts().contains("GET ctl_pub/Dossier été/css/img/logo.png " + back.path() + "/logo.png"));
        QCOMPARE(contents(back.filePath("home.htm")), QByteArray("<p>home</p>\r\n"));
        QCOMPARE(contents(back.filePath("logo.png")), binary);
        QCOMPARE(s.listRows("lstClient"), (QStringList{"home.htm|HTM", "logo.png|PNG"}));
        QCOMPARE(entriesOf(back.path()).size(), 2);   // no temporary files left

        // An upload after the downloads, then a folder removed.
        s.click("ctl_pub/Dossier été/");
        s.select("lstClient", {"logo.png"});
        s.drag("lstClient", "lstServer");
        QCOMPARE(contents(to + "logo.png"), binary);
        s.click("ctl_pub/Dossier été/made/");
        s.prompts.answerMessage(MsgResult::Yes);
        s.press("Command5");
        QVERIFY(s.waitIdle());
        QVERIFY(!QFileInfo::exists(to + "made"));
        QCOMPARE(s.c.serverPath(), QString("root"));   // the tree rebuilt from the top
        QVERIFY(nodeByKey(s.tree("treeServer"), "ctl_pub/") && !nodeByKey(s.tree("treeServer"), "ctl_pub/Dossier été/made/"));
        QVERIFY(s.allAnswered());
        QCOMPARE(messageTexts(s.prompts), (QStringList{"Delete Makefile?", "Delete This Directory: ctl_pub/Dossier été/made/?"}));
        QCOMPARE(s.sentTexts().mid(s.sentTexts().size() - 2), (QStringList{"rmdir ctl_pub/Dossier été/made/", "dir"}));
    }

    // Lines the transport cannot read are files named by the whole line; names
    // that cannot be local files are listed but refused at download.
    void lyingServer()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_liar");
        QTemporaryDir parent;
        const QString folder = parent.filePath("in");
        QDir().mkpath(folder);
        Session s;
        QVERIFY(s.open(server, "hostile/", folder));
        const QStringList shown = s.listRows("lstServer").filter(QRegularExpression("^(?!.*L{10})"));   // the long name aside
        QCOMPARE(shown, (QStringList{"back\\slash.txt|TXT", "café.txt|TXT", "ctl\x16name.txt|TXT", "ok.txt|TXT"}));
        s.list("lstServer")->selectAll();
        s.drag("lstServer", "lstClient");
        QCOMPARE(entriesOf(parent.path()), QStringList{"in"});
        QCOMPARE(entriesOf(folder), (QStringList{"café.txt", "ok.txt"}));
        QCOMPARE(contents(folder + "/ok.txt"), QByteArray("content of ok.txt"));
        QStringList said = messageTexts(s.prompts);
        said.sort();
        QCOMPARE(said, (QStringList{kRefused.arg(QString(60, 'L') + QChar(0x2026),
                                                 "is longer than the local file system allows (255 bytes)"),
                                    kRefused.arg("back\\slash.txt", "contains \"\\\""),
                                    kRefused.arg("ctl\\x16name.txt", "contains a control character")}));
        s.click("unix/");
        QCOMPARE(s.listRows("lstServer"), (QStringList{"ok.txt|TXT", "this line follows no listing format at all|File"}));
    }

    // One user's session on one (slow) server: empty and cancelled answers,
    // remote deletes, the local list and its header clicks, the pane marker,
    // the two menus and what their items do, the replace question, downloads
    // stopped by Cancel and by a full disk, connecting again with other
    // answers, and a volume that went away.
    void panesMenusAndQuestions()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd_slow");
        server.makeFolder("ctl_walk");
        for (const auto& [name, bytes] : {std::pair{"a.txt", "x"}, {"c.txt", "x"}, {"d.txt", "x"}, {"keep.txt", "x"},
                                          {"r.txt", "remote"}, {"readme.txt", "new"}, {"b.txt", "bee"}})
            server.writeFile(QString("ctl_walk/") + name, bytes);
        server.writeFile("ctl_walk/big.bin", QByteArray(512 * 1024, 'n'));
        QTemporaryDir local;
        const QString listed = local.filePath("listed");
        QDir().mkpath(listed + "/Sub");
        for (const auto& [name, bytes] : {std::pair{"data.tar.gz", "1234567890"}, {"Makefile", "123456789"},
                                          {".hidden", ""}, {"apple.HTM", "12345678901"}})
            write(listed + '/' + name, bytes);
        for (const char* name : {"f.txt", "ro.txt", "gone.txt", "m.txt"})
            write(local.filePath(name), name);
        QDir().mkpath(local.filePath("sub"));
        QFile::setPermissions(local.filePath("ro.txt"), QFile::ReadOwner);
        // A volume to take away, and a disk too small for big.bin.
        const QString volume = local.filePath("volume"), small = local.filePath("small");
        const bool mounted = QDir().mkpath(volume) && QDir().mkpath(small)
            && !QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "none", volume})
            && !QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=384k", "none", small});
        auto unmount = qScopeGuard([&] { QProcess::execute("umount", {"-q", volume, small}); });
        Session s;
        s.c.resize(1000, 500);
        s.c.show();
        s.c.activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&s.c));
        QVERIFY(s.open(server, "ctl_walk/", listed));

        // Cancelled or empty answers send nothing.
        s.prompts.cancelInput().answerInput("").answerInput("");
        s.press("Command1");
        s.press("Command1");
        s.press("Command4");
        QCOMPARE(messageTexts(s.prompts), QStringList{"Select the file to rename in the remote list first."});
        s.select("lstServer", {"keep.txt"});
        s.press("Command4");
        QCOMPARE(s.sentTexts(), QStringList{});

        // A file dragged with the mouse from the local list onto the server list.
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        QVERIFY(QTest::qWaitForWindowActive(&s.c));
        QTest::qWait(200);   // laid out and painted where the pointer will go
        QWidget* source = s.list("lstClient")->viewport();
        QWidget* target = s.list("lstServer")->viewport();
        const QPoint from = source->mapToGlobal(s.list("lstClient")->visualRect(s.indexOf("lstClient", "Makefile")).center());
        const QPoint to = target->mapToGlobal(target->rect().center());
        const auto at = [](const QPoint& p) {
            return QStringList{"mousemove", QString::number(p.x()), QString::number(p.y()), "sleep", "0.2"};
        };
        QStringList steps = at(from - QPoint(3, 0)) + at(from) + QStringList{"mousedown", "1", "sleep", "0.3"};
        for (int k = 1; k <= 10; ++k)
            steps += at(from + (to - from) * k / 10);
        QProcess mouse;
        mouse.start("xdotool", steps + QStringList{"mouseup", "1"});
        QVERIFY2(mouse.waitForStarted(), "xdotool is needed (scripts/setup installs it)");
        QTRY_COMPARE_WITH_TIMEOUT(mouse.state(), QProcess::NotRunning, 20000);
        QCOMPARE(mouse.exitCode(), 0);
        // The drop may still be on its way from the X server: wait for the item.
        QTRY_VERIFY_WITH_TIMEOUT(s.indexOf("lstServer", "Makefile").isValid(), 20000);
        QVERIFY(s.waitIdle());
        QCOMPARE(contents(server.pathOf("ctl_walk/Makefile")), QByteArray("123456789"));
        QCOMPARE(s.sentTexts().first(), "PUT " + listed + "/Makefile ctl_walk/Makefile");
        s.sent.clear();

        // Delete asks for each selected file: Cancel stops the rest, No skips one.
        s.list("lstServer")->model()->sort(0);
        const auto remoteDelete = [&](const QStringList& names, const QList<MsgResult>& answers) {
            s.prompts.clear();
            s.select("lstServer", names);
            for (MsgResult a : answers)
                s.prompts.answerMessage(a);
            s.press("Command2");
            return messageTexts(s.prompts);
        };
        QCOMPARE(remoteDelete({"a.txt", "c.txt", "d.txt"}, {MsgResult::Yes, MsgResult::Cancel}),
                 (QStringList{"Delete a.txt?", "Delete c.txt?"}));
        QCOMPARE(s.prompts.messages().first().buttons, MsgButtons::YesNoCancel);
        QCOMPARE(s.sentTexts().first(), QString("DELETE ctl_walk/a.txt"));
        QVERIFY(s.indexOf("lstServer", "a.txt").isValid());   // listed again only by a click
        QCOMPARE(remoteDelete({"c.txt", "d.txt", "keep.txt"}, {MsgResult::Yes, MsgResult::No, MsgResult::Yes}),
                 (QStringList{"Delete c.txt?", "Delete d.txt?", "Delete keep.txt?"}));
        QCOMPARE(QDir(server.pathOf("ctl_walk")).entryList(QDir::Files),
                 (QStringList{"b.txt", "big.bin", "d.txt", "Makefile", "r.txt", "readme.txt"}));

        // RmDir at the top names no folder, and the server refuses it.
        s.click(s.tree("treeServer")->topLevelItem(0));
        s.sent.clear();
        s.prompts.clear();
        s.prompts.answerMessage(MsgResult::Yes).answerMessage(MsgResult::Yes);
        s.press("Command5");
        QVERIFY(s.waitIdle());
        QCOMPARE(s.prompts.messages().first().text, QString("Delete This Directory: root?"));
        QCOMPARE(s.sentTexts(), (QStringList{"rmdir ", "dir"}));
        QCOMPARE(s.prompts.messages().size(), 2);   // the refusal
        QVERIFY(QFileInfo(server.root).isDir());
        s.click("ctl_walk/");
        s.prompts.clear();

        QCOMPARE(s.label("lblClientFolder"), QString("Contents of \"listed\""));
        QCOMPARE(s.rows("lstClient"), (QStringList{"Sub|File Folder||Folder", ".hidden|HIDDEN|0|File", "Makefile|File|9|File",
                                                   "apple.HTM|HTM|11|File", "data.tar.gz|TAR.GZ|10|File"}));
        const QModelIndex sub = s.indexOf("lstClient", "Sub");
        QCOMPARE(sub.data(ftp::KeyRole).toString(), listed + "/Sub/");
        QCOMPARE(s.indexOf("lstClient", "Makefile").data(ftp::KeyRole).toString(), listed + "/Makefile");
        QVERIFY(!sub.data(Qt::DecorationRole).value<QIcon>().isNull());
        QHeaderView* header = s.list("lstClient")->header();
        for (int i = 0; i < 2; ++i) {   // ascending each time, sizes as numbers
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(2) + 5, 5));
            QCOMPARE(s.rows("lstClient").mid(2), (QStringList{"Makefile|File|9|File", "data.tar.gz|TAR.GZ|10|File",
                                                              "apple.HTM|HTM|11|File"}));
        }

        s.openLocal(local.path());
        const auto actionTexts = [](const QMenu* menu) {
            QStringList out;
            for (const QAction* a : menu->actions())
                out << a->text();
            return out;
        };
        const auto rightClick = [&](QAbstractItemView* view, const QPoint& at) {
            QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);
            if (QApplication::activePopupWidget())
                QApplication::activePopupWidget()->close();
        };
        const auto rightClickItem = [&](const char* list, const QString& name) {
            rightClick(s.list(list), s.list(list)->visualRect(s.indexOf(list, name)).center());
        };
        const auto marks = [&] {
            return s.list("lstClient")->property("Tag").toString() + s.list("lstServer")->property("Tag").toString();
        };
        QSignalSpy serverMenu(s.part<QMenu>("popServer"), &QMenu::aboutToShow);
        rightClick(s.tree("treeServer"), QPoint(20, 10));
        QCOMPARE(serverMenu.count(), 1);
        QCOMPARE(actionTexts(s.part<QMenu>("popServer")), (QStringList{"&File", "&Connect"}));

        // A folder gives the message, a file the menu; the list is marked.
        rightClickItem("lstClient", "sub");
        QCOMPARE(messageTexts(s.prompts), QStringList{"you right clicked a folder"});
        QCOMPARE(marks(), QString("10"));
        QSignalSpy shown(s.part<QMenu>("popFileMenu"), &QMenu::aboutToShow);
        rightClickItem("lstClient", "f.txt");
        QCOMPARE(shown.count(), 1);
        QCOMPARE(actionTexts(s.part<QMenu>("popFileMenu")), (QStringList{"&Copy", "&Delete", "&Move", "&Rename", "&Refresh", "&Cancel"}));
        // The Delete button leaves the remote list alone while the local one is marked.
        s.select("lstServer", {"r.txt"});
        s.press("Command2");
        QCOMPARE(s.prompts.messages().size(), 1);

        // Local delete: each failure said, the others deleted, both marks cleared.
        QVERIFY(QFile::remove(local.filePath("gone.txt")));
        s.select("lstClient", {"f.txt", "gone.txt", "ro.txt", "sub"});
        s.prompts.clear();
        for (int i = 0; i < 4; ++i)
            s.prompts.answerMessage(MsgResult::Yes);
        s.part<QAction>("mnuDelete")->trigger();
        const QString notDeleted = local.path() + "/%1 was not deleted: it %2.";
        QCOMPARE(messageTexts(s.prompts),
                 (QStringList{"Delete sub?", notDeleted.arg("sub", "is a folder"), "Delete f.txt?",   // still sorted by size
                              "Delete ro.txt?", notDeleted.arg("ro.txt", "is read-only"),
                              "Delete gone.txt?", notDeleted.arg("gone.txt", "does not exist")}));
        QVERIFY(!QFile::exists(local.filePath("f.txt")) && QFile::exists(local.filePath("ro.txt")));
        QCOMPARE(marks(), QString("00"));

        // Move, Rename, Copy and Refresh act on the marked list.
        s.prompts.clear();
        rightClickItem("lstServer", "r.txt");
        s.part<QAction>("mnuMove")->trigger();
        QCOMPARE(contents(local.filePath("r.txt")), QByteArray("remote"));
        QVERIFY(!QFile::exists(server.pathOf("ctl_walk/r.txt")) && !s.indexOf("lstServer", "r.txt").isValid());
        rightClickItem("lstClient", "m.txt");
        s.prompts.answerInput("n.txt");
        s.part<QAction>("mnuRename")->trigger();
        QVERIFY(QFile::exists(local.filePath("n.txt")) && !QFile::exists(local.filePath("m.txt")));
        s.select("lstClient", {"n.txt"});
        s.part<QAction>("mnuCopy")->trigger();
        QCOMPARE(contents(server.pathOf("ctl_walk/n.txt")), QByteArray("m.txt"));
        write(local.filePath("late.txt"), "l");
        s.part<QAction>("mnuRefresh")->trigger();
        QVERIFY(s.indexOf("lstClient", "late.txt").isValid() && s.allAnswered());
        QCOMPARE(s.prompts.messages().size(), 0);

        // Two names dropped where readme.txt is: the replace question's answers,
        // a name that climbs out, and a drop with no local folder chosen.
        s.openLocal(listed);
        std::unique_ptr<QMimeData> both(ftp::remoteNamesData({"readme.txt", "b.txt"}));
        for (const auto& [answer, readme, gotB] : {std::tuple{MsgResult::No, "old", true},
                                                   {MsgResult::Cancel, "old", false}, {MsgResult::Yes, "new", true}}) {
            write(listed + "/readme.txt", "old");
            QFile::remove(listed + "/b.txt");
            s.prompts.clear();
            s.prompts.answerMessage(answer);
            s.drop("lstClient", both.get());
            QCOMPARE(messageTexts(s.prompts), QStringList{"Replace readme.txt?"});
            QCOMPARE(contents(listed + "/readme.txt"), QByteArray(readme));
            QCOMPARE(QFile::exists(listed + "/b.txt"), gotB);
        }
        std::unique_ptr<QMimeData> climbing(ftp::remoteNamesData({"../b.txt"}));
        s.prompts.clear();
        s.drop("lstClient", climbing.get());
        QCOMPARE(messageTexts(s.prompts), QStringList{kRefused.arg("../b.txt", "contains \"/\"")});
        QVERIFY(!QFile::exists(local.filePath("b.txt")));
        s.tree("treeClient")->setCurrentItem(nodeByKey(s.tree("treeClient"), "root"));
        s.prompts.clear();
        s.drop("lstClient", both.get());
        QCOMPARE(messageTexts(s.prompts), QStringList{"Choose a local folder first: click the folder in the local "
                                                      "tree where the files should go, then drop them again."});
        QVERIFY(!QFile::exists(local.filePath("readme.txt")));
        QVERIFY(s.allAnswered());

        // A download shows its progress while it runs and refuses other clicks;
        // stopped by Cancel or by a full local disk (which it names) it keeps
        // the old file.
        const auto stoppedDownload = [&](const QString& folder, bool cancel) {
            write(folder + "/big.bin", "old");
            s.openLocal(folder);
            s.prompts.clear();
            s.prompts.answerMessage(MsgResult::Yes);   // replace big.bin
            QTreeWidgetItem* root = s.tree("treeServer")->topLevelItem(0);
            QStringList progress, states;
            bool waited = false;
            QTimer poll;   // also the context that ends both connections
            connect(&s.c.Inet1(), &ftp::Inet::StateChanged, &poll, [&] { states << s.label("lblState"); });
            connect(&poll, &QTimer::timeout, &poll, [&] {
                if (s.label("lblState").startsWith("big.bin: ") && !progress.contains(s.label("lblState")))
                    progress << s.label("lblState");
                if (progress.size() == 2 && s.prompts.messages().size() == 1) {
                    waited = s.c.cursor().shape() == Qt::WaitCursor;
                    s.press("Command1");
                    root->setExpanded(true);
                    s.click(root);
                }
                if (progress.size() >= 3 && cancel)
                    s.press("Command7");
            });
            poll.start(20);
            s.select("lstServer", {"big.bin"});
            s.drag("lstServer", "lstClient");
            poll.stop();
            // Until the size is known the text has no total: one text must have it.
            const QRegularExpression withTotal("^big\\.bin: \\d+ of 524288 bytes \\(\\d+%\\)$");
            QVERIFY2(progress.size() >= 2 && !progress.filter(withTotal).isEmpty(), qPrintable(progress.join('\n')));
            QVERIFY(states.contains("Connecting ... ") && waited);
            QCOMPARE(messageTexts(s.prompts).mid(0, 3), (QStringList{"Replace big.bin?", kStill, kStill}));
            QCOMPARE(s.prompts.messages().size(), cancel ? 3 : 4);   // the failure said
            // The refused tree click listed nothing and removed nothing.
            QVERIFY(!root->isExpanded() && s.c.serverPath() == "ctl_walk/" && nodeByKey(s.tree("treeServer"), "ctl_walk/"));
            QCOMPARE(contents(folder + "/big.bin"), QByteArray("old"));
            QVERIFY(entriesOf(folder).filter("big") == QStringList{"big.bin"} && s.label("lblState").isEmpty());
        };
        stoppedDownload(listed, true);

        // Connect again: each set of answers builds a new remote tree and lists
        // the login folder (none after a refused login), keeping the local tree.
        const QString invalidUrl = "The URL you have entered is invalid. Please check and try again.";
        const struct {
            QStringList answers;    // URL, user, password; "-" cancels
            QStringList messages;   // the start of each message
        } attempts[] = {
            {{server.url(), server.user, "wrong"}, {"There was an error connecting to 127.0.0.1. 530"}},
            {{"fileserver", server.user, server.password}, {invalidUrl}},   // the previous address kept
            {{"-", "-", "-"}, {invalidUrl, "You must enter a password. Check and try again."}},
            {{server.url(), "", server.password}, {}},   // the previous user name kept
        };
        for (const auto& [answers, messages] : attempts) {
            s.prompts.clear();
            for (const QString& a : answers)
                a == "-" ? s.prompts.cancelInput() : s.prompts.answerInput(a);
            s.press("Command8");
            QVERIFY(s.waitIdle());
            const QStringList said = messageTexts(s.prompts);
            QCOMPARE(said.size(), messages.size());
            for (int i = 0; i < said.size(); ++i)
                QVERIFY2(said[i].startsWith(messages[i]), qPrintable(said[i]));
            QVERIFY(s.allAnswered());
            // The three questions, titled, without defaults; the password hidden.
            QStringList asked;
            for (const ScriptedPrompts::Asked& a : s.prompts.asked().mid(0, 3))
                asked << QStringList{a.text, a.title, a.defaultText, QString::number(int(a.echo))}.join('|');
            QCOMPARE(asked, (QStringList{"Enter URL to Connect|Orvane FTP||" + QString::number(int(InputEcho::Normal)),
                                         "Enter Username|Orvane FTP||" + QString::number(int(InputEcho::Normal)),
                                         "Enter Password|Orvane FTP||" + QString::number(int(InputEcho::Password))}));
            QVERIFY(nodeByKey(s.tree("treeClient"), local.path() + "/")->isExpanded());
            QCOMPARE(s.tree("treeServer")->topLevelItemCount(), 1);
            QTreeWidgetItem* root = s.tree("treeServer")->topLevelItem(0);
            QVERIFY(s.label("lblState").isEmpty() && s.c.cursor().shape() == Qt::ArrowCursor);
            if (answers.last() == "wrong") {
                QCOMPARE(s.prompts.messages().first().title, QString("orvane"));
                QCOMPARE(root->childCount(), 0);
                continue;
            }
            QCOMPARE(root->text(0), QString("127.0.0.1"));
            QCOMPARE(root->data(0, ftp::ImageRole).toInt(), 5);
            QVERIFY(root->isExpanded() && nodeByKey(s.tree("treeServer"), "ctl_walk/"));
            QCOMPARE(s.label("lblServerFolder"), QString("Contents of \"127.0.0.1\""));
            QCOMPARE(s.c.serverPath(), QString("root"));
        }

        if (!mounted)
            QSKIP("mounting a tmpfs needs root");
        s.click("ctl_walk/");
        stoppedDownload(small, false);

        // A volume that went away: the two messages, the node closed.
        QProcess::execute("umount", {volume});
        QDir().rmdir(volume);
        s.prompts.clear();
        QTreeWidgetItem* drive = nodeByKey(s.tree("treeClient"), volume + "/");
        QVERIFY(drive);
        drive->setExpanded(true);
        emit s.tree("treeClient")->itemClicked(drive, 0);
        QCOMPARE(messageTexts(s.prompts), (QStringList{"Drive is not ready. Please check and retry.",
                                                       "Drive is not ready. Check and try again."}));
        QVERIFY(!drive->isExpanded());
        QCOMPARE(s.list("lstClient")->model()->rowCount(), 0);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    tst_FtpControl test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_ftpcontrol.moc"
