// The control's file operations against real servers: the local list,
// transfers by drop, remote and local file operations, the file menus.
#include "ControlTestSupport.h"
#include "DragData.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>

using namespace orvane;
using namespace orvane::testing;

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// Opens the local tree down to `folder` and clicks it.
void openLocal(FtpControl& c, const QString& folder)
{
    QString key = "/";
    for (const QString& part : folder.split('/', Qt::SkipEmptyParts)) {
        if (QTreeWidgetItem* node = nodeByKey(c.treeClient, key))
            node->setExpanded(true);
        key += part + '/';
    }
    QTreeWidgetItem* node = nodeByKey(c.treeClient, key);
    QVERIFY2(node, qPrintable(key));
    c.treeClient->setCurrentItem(node);
    emit c.treeClient->itemClicked(node, 0);
}

void select(QTreeWidget* list, const QStringList& names)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setSelected(names.contains(list->topLevelItem(i)->text(0)));
}

// Enters `list` with the data and drops it there, then waits for the command.
void dropOn(FtpControl& c, QTreeWidget* list, const QMimeData* data)
{
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list->viewport(), &drop);
    QTest::qWait(10);   // the drop runs once the drag has ended
    QVERIFY(waitIdle(c));
}

// Drags the selection of `from` onto `to` with the data the view gives.
void drag(FtpControl& c, QTreeWidget* from, QTreeWidget* to)
{
    std::unique_ptr<QMimeData> data(from->model()->mimeData(from->selectionModel()->selectedIndexes()));
    dropOn(c, to, data.get());
}

QStringList texts(const QSignalSpy& spy)
{
    QStringList out;
    for (const QList<QVariant>& args : spy)
        out << args.at(0).toString();
    return out;
}

struct Session {
    FtpControl c;
    ScriptedPrompts prompts;
    QSignalSpy sent{&c, &FtpControl::operationSent};
};

// Connects and opens the remote folder `folder` (a key) and the local one.
bool open(Session& s, const TestServer& server, const QString& folder, const QString& local)
{
    if (!connectTo(s.c, s.prompts, server))
        return false;
    click(s.c, nodeByKey(s.c.treeServer, folder));
    openLocal(s.c, local);
    s.prompts.clear();
    s.sent.clear();
    return !QTest::currentTestFailed();
}

}  // namespace

class tst_FtpTransfers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

    void publishAndFetchBack_data()
    {
        addServerRows();
    }

    void publishAndFetchBack()
    {
        QFETCH(QString, fixture);
        ORVANE_REQUIRE_SERVER(server, fixture);
        server.makeFolder("ctl_pub");
        QTemporaryDir site, back;
        QByteArray binary;
        for (int i = 0; i < 70000; ++i)
            binary += char(i * 7);
        write(site.filePath("index.htm"), "<p>home</p>\r\n");
        write(site.filePath("Makefile"), "all:\n");
        write(site.filePath("css/site.css"), "p{}");
        write(site.filePath("css/img/logo.png"), binary);
        Session s;
        QVERIFY(open(s, server, "ctl_pub/", site.path()));
        const int trust = s.prompts.messages().size();

        // Two files and a folder tree dropped on the remote list.
        select(s.c.lstClient, {"index.htm", "Makefile", "css"});
        drag(s.c, s.c.lstClient, s.c.lstServer);
        QCOMPARE(contents(server.pathOf("ctl_pub/index.htm")), QByteArray("<p>home</p>\r\n"));
        QCOMPARE(contents(server.pathOf("ctl_pub/css/img/logo.png")), binary);
        QCOMPARE(contents(server.pathOf("ctl_pub/css/site.css")), QByteArray("p{}"));
        QCOMPARE(listRows(s.c.lstServer), (QStringList{"Makefile|File", "index.htm|HTM"}));
        QVERIFY(texts(s.sent).contains("PUT " + site.path() + "/index.htm ctl_pub/index.htm"));
        QVERIFY(texts(s.sent).contains("mkdir ctl_pub/css/img"));

        // Make a folder, rename a file, delete another.
        s.prompts.answerInput("made").answerInput("home.htm").answerMessage(MsgResult::Yes);
        s.c.Command1->click();
        QVERIFY(waitIdle(s.c));
        select(s.c.lstServer, {"index.htm"});
        s.c.Command4->click();
        select(s.c.lstServer, {"Makefile"});
        s.c.Command2->click();
        QVERIFY(QFileInfo(server.pathOf("ctl_pub/made")).isDir());
        QVERIFY(QFile::exists(server.pathOf("ctl_pub/home.htm")));
        QVERIFY(!QFile::exists(server.pathOf("ctl_pub/Makefile")));
        QCOMPARE(messageTexts(s.prompts).mid(trust), QStringList{"Delete Makefile?"});

        // Downloaded back, from the folder and from a subfolder.
        openLocal(s.c, back.path());
        click(s.c, nodeByKey(s.c.treeServer, "ctl_pub/"));
        select(s.c.lstServer, {"home.htm"});
        drag(s.c, s.c.lstServer, s.c.lstClient);
        click(s.c, nodeByKey(s.c.treeServer, "ctl_pub/css/"));
        click(s.c, nodeByKey(s.c.treeServer, "ctl_pub/css/img/"));
        select(s.c.lstServer, {"logo.png"});
        drag(s.c, s.c.lstServer, s.c.lstClient);
        QVERIFY(texts(s.sent).contains("GET ctl_pub/css/img/logo.png " + back.path() + "/logo.png"));
        QCOMPARE(contents(back.filePath("home.htm")), QByteArray("<p>home</p>\r\n"));
        QCOMPARE(contents(back.filePath("logo.png")), binary);
        QCOMPARE(listRows(s.c.lstClient), (QStringList{"home.htm|HTM", "logo.png|PNG"}));
        QCOMPARE(QDir(back.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        QVERIFY2(s.prompts.unexpected().isEmpty(), qPrintable(s.prompts.unexpected().join('\n')));
    }

    void downloadGuards_data()
    {
        QTest::addColumn<QStringList>("names");     // dropped on the local list
        QTest::addColumn<int>("answer");            // to "Replace readme.txt?"
        QTest::addColumn<QByteArray>("readme");     // afterwards
        QTest::addColumn<bool>("gotB");
        QTest::addColumn<QStringList>("messages");
        const QStringList both{"readme.txt", "b.txt"};
        const QStringList replace{"Replace readme.txt?"};
        const QString refused = "\"%1\" was not downloaded: it %2.";
        QTest::newRow("Yes") << both << int(MsgResult::Yes) << QByteArray("new") << true << replace;
        QTest::newRow("No") << both << int(MsgResult::No) << QByteArray("old") << true << replace;
        QTest::newRow("Cancel stops the rest") << both << int(MsgResult::Cancel) << QByteArray("old") << false
                                               << replace;
        QTest::newRow("unsafe names refused, the rest goes on")
            << QStringList{"../x", "..", "b.txt"} << 0 << QByteArray("old") << true
            << QStringList{refused.arg("../x", "contains \"/\""), refused.arg("..", "names a folder, not a file")};
        QTest::newRow("no local folder chosen")
            << both << -1 << QByteArray("old") << false
            << QStringList{"Choose a local folder first: click the folder in the local tree where the "
                           "files should go, then drop them again."};
    }

    void downloadGuards()
    {
        QFETCH(QStringList, names);
        QFETCH(int, answer);
        QFETCH(QByteArray, readme);
        QFETCH(bool, gotB);
        QFETCH(QStringList, messages);
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        server.makeFolder("ctl_get");
        server.writeFile("ctl_get/readme.txt", "new");
        server.writeFile("ctl_get/b.txt", "bee");
        QTemporaryDir parent;
        const QString folder = parent.filePath("in");
        write(folder + "/readme.txt", "old");
        Session s;
        QVERIFY(open(s, server, "ctl_get/", folder));
        if (answer < 0)
            s.c.treeClient->setCurrentItem(nodeByKey(s.c.treeClient, "root"));
        if (answer > 0)
            s.prompts.answerMessage(MsgResult(answer));
        std::unique_ptr<QMimeData> data(orvane::ftp::remoteNamesData(names));
        dropOn(s.c, s.c.lstClient, data.get());

        QCOMPARE(messageTexts(s.prompts), messages);
        QCOMPARE(contents(folder + "/readme.txt"), readme);
        QCOMPARE(QFile::exists(folder + "/b.txt"), gotB);
        // Nothing written beside or above the chosen folder, no partial files.
        QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"in"});
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
                 gotB ? 2 : 1);
    }

    void namesFromALyingServer()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_liar");
        QTemporaryDir parent;
        const QString folder = parent.filePath("in");
        QDir().mkpath(folder);
        Session s;
        QVERIFY(open(s, server, "hostile/", folder));
        s.c.lstServer->selectAll();
        drag(s.c, s.c.lstServer, s.c.lstClient);
        QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"in"});
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 (QStringList{"café.txt", "ok.txt"}));
        QCOMPARE(contents(folder + "/ok.txt"), QByteArray("content of ok.txt"));
        QStringList said = messageTexts(s.prompts);
        said.sort();
        const QString refused = "\"%1\" was not downloaded: it %2.";
        QCOMPARE(said, (QStringList{refused.arg(QString(60, 'L') + QChar(0x2026),
                                                "is longer than the local file system allows (255 bytes)"),
                                    refused.arg("back\\slash.txt", "contains \"\\\""),
                                    refused.arg("ctl\\x16name.txt", "contains a control character")}));
    }

    void stoppedDownloadKeepsTheOldFile_data()
    {
        QTest::addColumn<bool>("fullDisk");   // else Cancel while it runs
        QTest::newRow("Cancel pressed") << false;
        QTest::newRow("local disk full") << true;
    }

    void stoppedDownloadKeepsTheOldFile()
    {
        QFETCH(bool, fullDisk);
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd_slow");
        server.makeFolder("ctl_stop");
        server.writeFile("ctl_stop/big.bin", QByteArray(512 * 1024, 'n'));
        QTemporaryDir parent;
        const QString folder = parent.filePath("small");
        QDir().mkpath(folder);
        if (fullDisk && QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=384k", "none", folder}))
            QSKIP("mounting a small tmpfs needs root");
        auto unmount = qScopeGuard([&] { fullDisk && QProcess::execute("umount", {folder}); });
        write(folder + "/big.bin", "old");
        Session s;
        QVERIFY(open(s, server, "ctl_stop/", folder));
        s.prompts.answerMessage(MsgResult::Yes);   // replace big.bin

        // While it runs: progress shown, other clicks refused, then stopped.
        QStringList progress;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &s.c, [&] {
            const QString text = s.c.lblState->text();
            if (text.startsWith("big.bin: ") && !progress.contains(text))
                progress << text;
            if (progress.size() == 2 && s.prompts.messages().size() == 1) {
                s.c.Command1->click();
                emit s.c.treeClient->itemClicked(s.c.treeClient->currentItem(), 0);
            }
            if (progress.size() >= 3 && !fullDisk)
                s.c.Command7->click();
        });
        poll.start(20);
        select(s.c.lstServer, {"big.bin"});
        drag(s.c, s.c.lstServer, s.c.lstClient);
        poll.stop();

        QVERIFY2(progress.size() >= 2, qPrintable(progress.join('\n')));
        QVERIFY2(QRegularExpression("^big\\.bin: \\d+ of 524288 bytes \\(\\d+%\\)$").match(progress[0]).hasMatch(),
                 qPrintable(progress[0]));
        const QString still = "      Still Executing    ";
        QCOMPARE(messageTexts(s.prompts).mid(0, 3), (QStringList{"Replace big.bin?", still, still}));
        QCOMPARE(s.prompts.messages().size(), fullDisk ? 4 : 3);   // the failure said
        QCOMPARE(contents(folder + "/big.bin"), QByteArray("old"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"big.bin"});
        QCOMPARE(s.c.lblState->text(), QString());
    }

    void deleteSelectedRemoteFiles_data()
    {
        QTest::addColumn<QList<MsgResult>>("answers");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("No to the second") << QList{MsgResult::Yes, MsgResult::No, MsgResult::Yes}
                                          << QStringList{"b.txt", "keep.txt"};
        QTest::newRow("Cancel to the second") << QList{MsgResult::Yes, MsgResult::Cancel}
                                              << QStringList{"b.txt", "c.txt", "keep.txt"};
    }

    void deleteSelectedRemoteFiles()
    {
        QFETCH(QList<MsgResult>, answers);
        QFETCH(QStringList, left);
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        server.makeFolder("ctl_del");
        for (const char* name : {"a.txt", "b.txt", "c.txt", "keep.txt"})
            server.writeFile(QString("ctl_del/") + name, "x");
        QTemporaryDir local;
        Session s;
        QVERIFY(open(s, server, "ctl_del/", local.path()));
        s.c.lstServer->sortItems(0, Qt::AscendingOrder);
        select(s.c.lstServer, {"a.txt", "b.txt", "c.txt"});
        for (MsgResult a : answers)
            s.prompts.answerMessage(a);
        s.c.Command2->click();

        const QStringList asked{"Delete a.txt?", "Delete b.txt?", "Delete c.txt?"};
        QCOMPARE(messageTexts(s.prompts), asked.mid(0, answers.size()));
        QCOMPARE(s.prompts.messages().first().buttons, MsgButtons::YesNoCancel);
        QCOMPARE(QDir(server.pathOf("ctl_del")).entryList(QDir::Files), left);
        QCOMPARE(texts(s.sent).first(), QString("DELETE ctl_del/a.txt"));
        QCOMPARE(s.c.lstServer->topLevelItemCount(), 4);   // listed again only by a click
    }

    void emptyAnswersAndRemoveDirectory()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        server.makeFolder("ctl_rm");
        server.makeFolder("ctl_rm/gone");
        server.writeFile("ctl_rm/f.txt", "x");
        QTemporaryDir local;
        Session s;
        QVERIFY(open(s, server, "ctl_rm/", local.path()));

        // Cancelled and empty answers send nothing; Rename needs a selected file.
        s.prompts.cancelInput().answerInput("").answerInput("");
        s.c.Command1->click();
        s.c.Command1->click();
        s.c.Command4->click();
        select(s.c.lstServer, {"f.txt"});
        s.c.Command4->click();
        QCOMPARE(texts(s.sent), QStringList{});
        QCOMPARE(messageTexts(s.prompts), QStringList{"Select the file to rename in the remote list first."});

        // At the top nothing names the login folder: the server refuses.
        click(s.c, s.c.treeServer->topLevelItem(0));
        s.sent.clear();
        s.prompts.clear();
        s.prompts.answerMessage(MsgResult::Yes).answerMessage(MsgResult::Yes);
        s.c.Command5->click();
        QVERIFY(waitIdle(s.c));
        QCOMPARE(s.prompts.messages().first().text, QString("Delete This Directory: root?"));
        QCOMPARE(texts(s.sent), (QStringList{"rmdir ", "dir"}));
        QCOMPARE(s.prompts.messages().size(), 2);   // the refusal
        QVERIFY(QFileInfo(server.root).isDir());

        // In a subfolder: removed, the tree rebuilt from the root.
        click(s.c, nodeByKey(s.c.treeServer, "ctl_rm/"));
        click(s.c, nodeByKey(s.c.treeServer, "ctl_rm/gone/"));
        s.c.Command5->click();
        QVERIFY(waitIdle(s.c));
        QCOMPARE(messageTexts(s.prompts).last(), QString("Delete This Directory: ctl_rm/gone/?"));
        QCOMPARE(texts(s.sent).mid(4), (QStringList{"rmdir ctl_rm/gone/", "dir"}));
        QVERIFY(!QFileInfo::exists(server.pathOf("ctl_rm/gone")));
        QCOMPARE(s.c.serverPath(), QString("root"));
        QCOMPARE(s.c.treeServer->topLevelItemCount(), 1);
        QVERIFY(nodeByKey(s.c.treeServer, "ctl_rm/") && !nodeByKey(s.c.treeServer, "ctl_rm/gone/"));
    }

    void paneMarkerAndFileMenu()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        server.makeFolder("ctl_menu2");
        server.writeFile("ctl_menu2/r.txt", "remote");
        QTemporaryDir local;
        for (const char* name : {"f.txt", "ro.txt", "gone.txt", "m.txt"})
            write(local.filePath(name), name);
        QDir().mkpath(local.filePath("sub"));
        QFile::setPermissions(local.filePath("ro.txt"), QFile::ReadOwner);
        Session s;
        s.c.resize(900, 400);
        s.c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.c));
        QVERIFY(open(s, server, "ctl_menu2/", local.path()));
        auto rightClick = [&](QTreeWidget* list, const QString& name) {
            QTreeWidgetItem* item = list->findItems(name, Qt::MatchExactly).value(0);
            QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(item).center());
            if (QApplication::activePopupWidget())
                QApplication::activePopupWidget()->close();
        };
        auto marks = [&] { return s.c.lstClient->property("Tag").toString() + s.c.lstServer->property("Tag").toString(); };

        // A folder gives the message, a file the menu; the list is marked.
        rightClick(s.c.lstClient, "sub");
        QCOMPARE(messageTexts(s.prompts), QStringList{"you right clicked a folder"});
        QCOMPARE(marks(), QString("10"));
        QSignalSpy shown(s.c.popFileMenu, &QMenu::aboutToShow);
        rightClick(s.c.lstClient, "f.txt");
        QCOMPARE(shown.count(), 1);
        QStringList items;
        for (QAction* a : s.c.popFileMenu->actions())
            items << a->text();
        QCOMPARE(items, (QStringList{"&Copy", "&Delete", "&Move", "&Rename", "&Refresh", "&Cancel"}));
        // The Delete button leaves the remote list alone while the local one is marked.
        select(s.c.lstServer, {"r.txt"});
        s.c.Command2->click();
        QCOMPARE(s.prompts.messages().size(), 1);

        // Local delete: each failure said, the others deleted, both marks cleared.
        QVERIFY(QFile::remove(local.filePath("gone.txt")));
        select(s.c.lstClient, {"f.txt", "gone.txt", "ro.txt", "sub"});
        s.prompts.clear();
        for (int i = 0; i < 4; ++i)
            s.prompts.answerMessage(MsgResult::Yes);
        s.c.mnuDelete->trigger();
        const QString notDeleted = local.path() + "/%1 was not deleted: it %2.";
        QCOMPARE(messageTexts(s.prompts),
                 (QStringList{"Delete sub?", notDeleted.arg("sub", "is a folder"), "Delete f.txt?",
                              "Delete gone.txt?", notDeleted.arg("gone.txt", "does not exist"),
                              "Delete ro.txt?", notDeleted.arg("ro.txt", "is read-only")}));
        QVERIFY(!QFile::exists(local.filePath("f.txt")) && QFile::exists(local.filePath("ro.txt")));
        QCOMPARE(marks(), QString("00"));

        // Move, Rename, Copy and Refresh act on the marked list.
        s.prompts.clear();
        rightClick(s.c.lstServer, "r.txt");
        s.c.mnuMove->trigger();
        QCOMPARE(contents(local.filePath("r.txt")), QByteArray("remote"));
        QVERIFY(!QFile::exists(server.pathOf("ctl_menu2/r.txt")));
        QVERIFY(s.c.lstServer->findItems("r.txt", Qt::MatchExactly).isEmpty());
        rightClick(s.c.lstClient, "m.txt");
        s.prompts.answerInput("n.txt");
        s.c.mnuRename->trigger();
        QVERIFY(QFile::exists(local.filePath("n.txt")) && !QFile::exists(local.filePath("m.txt")));
        select(s.c.lstClient, {"n.txt"});
        s.c.mnuCopy->trigger();
        QCOMPARE(contents(server.pathOf("ctl_menu2/n.txt")), QByteArray("m.txt"));
        write(local.filePath("late.txt"), "l");
        s.c.mnuRefresh->trigger();
        QCOMPARE(s.c.lstClient->findItems("late.txt", Qt::MatchExactly).size(), 1);
        QVERIFY2(s.prompts.unexpected().isEmpty(), qPrintable(s.prompts.unexpected().join('\n')));
        QCOMPARE(s.prompts.messages().size(), 0);
    }

    void localListAndVolumes()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        QTemporaryDir local;
        QDir().mkpath(local.filePath("Sub"));
        write(local.filePath("data.tar.gz"), "1234567890");
        write(local.filePath("Makefile"), "123456789");
        write(local.filePath(".hidden"), "");
        write(local.filePath("apple.HTM"), "12345678901");
        const QString volume = local.filePath("volume");
        QDir().mkpath(volume);
        const bool mounted = !QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "none", volume});
        Session s;
        s.c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.c));
        QVERIFY(open(s, server, "root", local.path()));
        QCOMPARE(s.c.lblClientFolder->text(), "Contents of \"" + QFileInfo(local.path()).fileName() + "\"");
        auto rows = [&] {
            QStringList out;
            for (int i = 0; i < s.c.lstClient->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = s.c.lstClient->topLevelItem(i);
                out << QStringList{item->text(0), item->text(1), item->text(2),
                                   item->data(0, orvane::ftp::TagRole).toString()}.join('|');
            }
            return out;
        };
        QCOMPARE(rows(), (QStringList{"Sub|File Folder||Folder", "volume|File Folder||Folder",
                                      ".hidden|HIDDEN|0|File", "Makefile|File|9|File",
                                      "apple.HTM|HTM|11|File", "data.tar.gz|TAR.GZ|10|File"}));
        QCOMPARE(s.c.lstClient->topLevelItem(0)->data(0, orvane::ftp::KeyRole).toString(), local.path() + "/Sub/");
        QCOMPARE(s.c.lstClient->topLevelItem(3)->data(0, orvane::ftp::KeyRole).toString(), local.path() + "/Makefile");

        // Column clicks sort ascending, sizes as numbers, names in any case.
        QHeaderView* header = s.c.lstClient->header();
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(2) + 5, 5));
            QCOMPARE(rows().mid(3), (QStringList{"Makefile|File|9|File", "data.tar.gz|TAR.GZ|10|File",
                                                 "apple.HTM|HTM|11|File"}));
        }
        emit header->sectionClicked(0);
        QCOMPARE(rows().first(2), (QStringList{".hidden|HIDDEN|0|File", "apple.HTM|HTM|11|File"}));

        // A volume that went away: the two messages, the node closed.
        if (!mounted)
            QSKIP("mounting a tmpfs needs root");
        QProcess::execute("umount", {volume});
        QDir().rmdir(volume);
        QTreeWidgetItem* drive = nodeByKey(s.c.treeClient, volume + "/");
        QVERIFY(drive);
        drive->setExpanded(true);
        emit s.c.treeClient->itemClicked(drive, 0);
        QCOMPARE(messageTexts(s.prompts), (QStringList{"Drive is not ready. Please check and retry.",
                                                       "Drive is not ready. Check and try again."}));
        QVERIFY(!drive->isExpanded());
        QCOMPARE(s.c.lstClient->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(tst_FtpTransfers)
#include "tst_ftptransfers.moc"
