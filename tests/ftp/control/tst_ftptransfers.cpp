// The control's file operations against real servers: the local list,
// transfers by drop, remote and local file operations, the file menus.
#include "ControlTestSupport.h"
#include "DragData.h"
#include "Inet.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>

using namespace orvane;
using namespace orvane::testing;

namespace {

const QString kStill = QStringLiteral("      Still Executing    ");

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
    QString key = QStringLiteral("/");
    const QStringList parts = folder.split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
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
    list->clearSelection();
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

// Drags the selection of `from` onto `to` as the views hand it over.
void drag(FtpControl& c, QTreeWidget* from, QTreeWidget* to)
{
    std::unique_ptr<QMimeData> data(
        from->model()->mimeData(from->selectionModel()->selectedIndexes()));
    dropOn(c, to, data.get());
}

QStringList sentTexts(const QSignalSpy& spy)
{
    QStringList out;
    for (const QList<QVariant>& args : spy)
        out << args.at(0).toString();
    return out;
}

}  // namespace

class tst_FtpTransfers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }
    void publishAndFetchBack_data();
    void publishAndFetchBack();
    void downloadGuards_data();
    void downloadGuards();
    void stoppedDownloadKeepsTheOldFile_data();
    void stoppedDownloadKeepsTheOldFile();
    void deleteSelectedRemoteFiles_data();
    void deleteSelectedRemoteFiles();
    void emptyAnswersAndRemoveDirectory();
    void paneMarkerAndFileMenu();
    void localListAndVolumes();
};

void tst_FtpTransfers::publishAndFetchBack_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("FTP, pyftpdlib") << "ftp_pyftpd";
    QTest::newRow("FTP, vsftpd") << "ftp_vsftpd";
    QTest::newRow("explicit FTPS, pyftpdlib") << "ftp_pyftpd_tls";
    QTest::newRow("SFTP") << "ftp_sshd";
}

void tst_FtpTransfers::publishAndFetchBack()
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

    FtpControl c;
    ScriptedPrompts prompts;
    QVERIFY(connectTo(c, prompts, server));
    prompts.clear();
    click(c, nodeByKey(c.treeServer, "ctl_pub/"));
    QSignalSpy sent(&c, &FtpControl::operationSent);

    // Upload by drop: two files and a folder tree.
    openLocal(c, site.path());
    select(c.lstClient, {"index.htm", "Makefile", "css"});
    drag(c, c.lstClient, c.lstServer);
    QCOMPARE(contents(server.pathOf("ctl_pub/index.htm")), QByteArray("<p>home</p>\r\n"));
    QCOMPARE(contents(server.pathOf("ctl_pub/css/img/logo.png")), binary);
    QCOMPARE(contents(server.pathOf("ctl_pub/css/site.css")), QByteArray("p{}"));
    QCOMPARE(listRows(c.lstServer), (QStringList{"Makefile|File", "index.htm|HTM"}));
    const QString local = QDir(site.path()).canonicalPath();
    QVERIFY2(sentTexts(sent).contains("PUT " + local + "/index.htm ctl_pub/index.htm"),
             qPrintable(sentTexts(sent).join('\n')));
    QVERIFY(sentTexts(sent).contains("mkdir ctl_pub/css/img"));

    // Make a folder, rename a file, delete another.
    prompts.answerInput("made");
    c.Command1->click();
    QVERIFY(waitIdle(c));
    QVERIFY(QFileInfo(server.pathOf("ctl_pub/made")).isDir());
    select(c.lstServer, {"index.htm"});
    prompts.answerInput("home.htm");
    c.Command4->click();
    QVERIFY(QFile::exists(server.pathOf("ctl_pub/home.htm")));
    select(c.lstServer, {"Makefile"});
    prompts.answerMessage(MsgResult::Yes);
    c.Command2->click();
    QVERIFY(!QFile::exists(server.pathOf("ctl_pub/Makefile")));
    QVERIFY2(prompts.unexpected().isEmpty(), qPrintable(prompts.unexpected().join('\n')));
    QCOMPARE(messageTexts(prompts), QStringList{"Delete Makefile?"});

    // Download back, from the folder and from a subfolder.
    openLocal(c, back.path());
    click(c, nodeByKey(c.treeServer, "ctl_pub/"));
    select(c.lstServer, {"home.htm"});
    drag(c, c.lstServer, c.lstClient);
    click(c, nodeByKey(c.treeServer, "ctl_pub/css/"));
    click(c, nodeByKey(c.treeServer, "ctl_pub/css/img/"));
    select(c.lstServer, {"logo.png"});
    drag(c, c.lstServer, c.lstClient);
    const QString target = QDir(back.path()).canonicalPath() + "/";
    QVERIFY(sentTexts(sent).contains("GET ctl_pub/home.htm " + target + "home.htm"));
    QVERIFY(sentTexts(sent).contains("GET ctl_pub/css/img/logo.png " + target + "logo.png"));
    QCOMPARE(contents(back.filePath("home.htm")), QByteArray("<p>home</p>\r\n"));
    QCOMPARE(contents(back.filePath("logo.png")), binary);
    QCOMPARE(listRows(c.lstClient), (QStringList{"home.htm|HTM", "logo.png|PNG"}));
    QCOMPARE(QDir(back.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    QCOMPARE(prompts.messages().size(), 1);
}

void tst_FtpTransfers::downloadGuards_data()
{
    QTest::addColumn<QStringList>("names");     // dropped on the local list
    QTest::addColumn<int>("answer");            // to "Replace readme.txt?", 0 when not asked
    QTest::addColumn<bool>("folderChosen");
    QTest::addColumn<QByteArray>("readme");     // afterwards
    QTest::addColumn<bool>("gotB");
    QTest::addColumn<QStringList>("messages");

    const QStringList both{"readme.txt", "b.txt"};
    const QString replace = "Replace readme.txt?";
    QTest::newRow("replace: Yes") << both << int(MsgResult::Yes) << true << QByteArray("new")
                                  << true << QStringList{replace};
    QTest::newRow("replace: No") << both << int(MsgResult::No) << true << QByteArray("old")
                                 << true << QStringList{replace};
    QTest::newRow("replace: Cancel stops the batch")
        << both << int(MsgResult::Cancel) << true << QByteArray("old") << false
        << QStringList{replace};
    QTest::newRow("hostile names refused, the batch goes on")
        << QStringList{"../x", "a/b", "..", "back\\slash", "bell\a", "b.txt"} << 0 << true
        << QByteArray("old") << true
        << QStringList{"\"../x\" was not downloaded: it contains \"/\".",
                       "\"a/b\" was not downloaded: it contains \"/\".",
                       "\"..\" was not downloaded: it names a folder, not a file.",
                       "\"back\\slash\" was not downloaded: it contains \"\\\".",
                       "\"bell\\x07\" was not downloaded: it contains a control character."};
    QTest::newRow("no local folder chosen") << both << 0 << false << QByteArray("old") << false
                                            << QStringList{"Choose a local folder first: click "
                                                           "the folder in the local tree where "
                                                           "the files should go, then drop them "
                                                           "again."};
}

void tst_FtpTransfers::downloadGuards()
{
    QFETCH(QStringList, names);
    QFETCH(int, answer);
    QFETCH(bool, folderChosen);
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

    FtpControl c;
    ScriptedPrompts prompts;
    QVERIFY(connectTo(c, prompts, server));
    click(c, nodeByKey(c.treeServer, "ctl_get/"));
    openLocal(c, folder);
    if (!folderChosen)
        c.treeClient->setCurrentItem(nodeByKey(c.treeClient, "root"));
    prompts.clear();
    if (answer)
        prompts.answerMessage(MsgResult(answer));
    std::unique_ptr<QMimeData> data(orvane::ftp::remoteNamesData(names));
    dropOn(c, c.lstClient, data.get());

    QCOMPARE(messageTexts(prompts), messages);
    QCOMPARE(contents(folder + "/readme.txt"), readme);
    QCOMPARE(QFile::exists(folder + "/b.txt"), gotB);
    // Nothing written beside or above the chosen folder, no partial files.
    QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"in"});
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
             gotB ? 2 : 1);
}

void tst_FtpTransfers::stoppedDownloadKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("fullDisk");   // else Cancel while it runs
    QTest::newRow("Cancel pressed") << false;
    QTest::newRow("local disk full") << true;
}

void tst_FtpTransfers::stoppedDownloadKeepsTheOldFile()
{
    QFETCH(bool, fullDisk);
    ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd_slow");
    server.makeFolder("ctl_stop");
    server.writeFile("ctl_stop/big.bin", QByteArray(512 * 1024, 'n'));
    QTemporaryDir parent;
    const QString folder = parent.filePath("small");
    QDir().mkpath(folder);
    if (fullDisk && QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=384k", "none", folder}) != 0)
        QSKIP("mounting a small tmpfs needs root");
    auto unmount = qScopeGuard([&] {
        if (fullDisk)
            QProcess::execute("umount", {folder});
    });
    write(folder + "/big.bin", "old");

    FtpControl c;
    ScriptedPrompts prompts;
    QVERIFY(connectTo(c, prompts, server));
    click(c, nodeByKey(c.treeServer, "ctl_stop/"));
    openLocal(c, folder);
    prompts.clear();
    prompts.answerMessage(MsgResult::Yes);   // replace big.bin
    for (int i = 0; i < 3; ++i)
        prompts.answerMessage(MsgResult::OK);   // two refusals, the failure

    // While it runs: progress shown, other clicks refused, then stopped.
    QStringList progress;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &c, [&] {
        const QString text = c.lblState->text();
        if (text.startsWith("big.bin: ") && !progress.contains(text))
            progress << text;
        if (progress.size() == 2 && prompts.messages().size() == 1) {
            c.Command1->click();
            emit c.treeClient->itemClicked(c.treeClient->currentItem(), 0);
        }
        if (progress.size() >= 3 && !fullDisk)
            c.Command7->click();
    });
    poll.start(20);
    select(c.lstServer, {"big.bin"});
    drag(c, c.lstServer, c.lstClient);
    poll.stop();

    QVERIFY2(progress.size() >= 2, qPrintable(progress.join('\n')));
    QVERIFY2(QRegularExpression("^big\\.bin: \\d+ of 524288 bytes \\(\\d+%\\)$")
                 .match(progress.first()).hasMatch(), qPrintable(progress.first()));
    const QStringList asked = messageTexts(prompts);
    QCOMPARE(asked.mid(0, 3), (QStringList{"Replace big.bin?", kStill, kStill}));
    QCOMPARE(asked.size(), fullDisk ? 4 : 3);
    QCOMPARE(contents(folder + "/big.bin"), QByteArray("old"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"big.bin"});
    QCOMPARE(c.lblState->text(), QString());
    QVERIFY(c.lstClient->findItems("big.bin", Qt::MatchExactly).size() == 1);
}

void tst_FtpTransfers::deleteSelectedRemoteFiles_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("No to the second")
        << QList<int>{int(MsgResult::Yes), int(MsgResult::No), int(MsgResult::Yes)}
        << QStringList{"b.txt"};
    QTest::newRow("Cancel to the second")
        << QList<int>{int(MsgResult::Yes), int(MsgResult::Cancel)}
        << QStringList{"b.txt", "c.txt"};
}

void tst_FtpTransfers::deleteSelectedRemoteFiles()
{
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, left);
    ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
    server.makeFolder("ctl_del");
    for (const char* name : {"a.txt", "b.txt", "c.txt", "keep.txt"})
        server.writeFile(QString("ctl_del/") + name, "x");
    FtpControl c;
    ScriptedPrompts prompts;
    QVERIFY(connectTo(c, prompts, server));
    click(c, nodeByKey(c.treeServer, "ctl_del/"));
    c.lstServer->sortItems(0, Qt::AscendingOrder);
    select(c.lstServer, {"a.txt", "b.txt", "c.txt"});
    prompts.clear();
    for (int a : answers)
        prompts.answerMessage(MsgResult(a));
    QSignalSpy sent(&c, &FtpControl::operationSent);
    c.Command2->click();

    QStringList asked{"Delete a.txt?", "Delete b.txt?", "Delete c.txt?"};
    QCOMPARE(messageTexts(prompts), asked.mid(0, answers.size()));
    QCOMPARE(prompts.messages().first().buttons, MsgButtons::YesNoCancel);
    QCOMPARE(QDir(server.pathOf("ctl_del")).entryList(QDir::Files), left + QStringList{"keep.txt"});
    QCOMPARE(sentTexts(sent).first(), QString("DELETE ctl_del/a.txt"));
    QCOMPARE(c.lstServer->topLevelItemCount(), 4);   // listed again only by a click
}

void tst_FtpTransfers::emptyAnswersAndRemoveDirectory()
{
    ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
    server.makeFolder("ctl_rm");
    server.makeFolder("ctl_rm/gone");
    server.writeFile("ctl_rm/f.txt", "x");
    FtpControl c;
    ScriptedPrompts prompts;
    QVERIFY(connectTo(c, prompts, server));
    prompts.clear();
    QSignalSpy sent(&c, &FtpControl::operationSent);

    // Cancelled and empty answers send nothing; Rename needs a selected file.
    prompts.cancelInput().answerInput("");
    c.Command1->click();
    c.Command1->click();
    c.Command4->click();
    click(c, nodeByKey(c.treeServer, "ctl_rm/"));
    select(c.lstServer, {"f.txt"});
    prompts.answerInput("");
    c.Command4->click();
    QCOMPARE(sentTexts(sent), QStringList{"ls ctl_rm/"});
    QCOMPARE(messageTexts(prompts),
             QStringList{"Select the file to rename in the remote list first."});

    // At the top nothing names the login folder: the server refuses.
    click(c, c.treeServer->topLevelItem(0));
    prompts.clear();
    prompts.answerMessage(MsgResult::Yes).answerMessage(MsgResult::OK);
    c.Command5->click();
    QVERIFY(waitIdle(c));
    QCOMPARE(prompts.messages().first().text, QString("Delete This Directory: root?"));
    QVERIFY(sentTexts(sent).contains("rmdir "));
    QCOMPARE(prompts.messages().size(), 2);   // the refusal
    QVERIFY(QFileInfo(server.root).isDir());

    // In a subfolder: removed, the tree rebuilt from the root.
    click(c, nodeByKey(c.treeServer, "ctl_rm/"));
    click(c, nodeByKey(c.treeServer, "ctl_rm/gone/"));
    prompts.clear();
    prompts.answerMessage(MsgResult::Yes);
    c.Command5->click();
    QVERIFY(waitIdle(c));
    QCOMPARE(messageTexts(prompts), QStringList{"Delete This Directory: ctl_rm/gone/?"});
    QCOMPARE(sentTexts(sent).mid(sentTexts(sent).size() - 2), (QStringList{"rmdir ctl_rm/gone/", "dir"}));
    QVERIFY(!QFileInfo::exists(server.pathOf("ctl_rm/gone")));
    QCOMPARE(c.serverPath(), QString("root"));
    QCOMPARE(c.treeServer->topLevelItemCount(), 1);
    QVERIFY(nodeByKey(c.treeServer, "ctl_rm/"));
    QVERIFY(!nodeByKey(c.treeServer, "ctl_rm/gone/"));
}

void tst_FtpTransfers::paneMarkerAndFileMenu()
{
    ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
    server.makeFolder("ctl_menu2");
    server.writeFile("ctl_menu2/r.txt", "remote");
    QTemporaryDir local;
    write(local.filePath("f.txt"), "f");
    write(local.filePath("ro.txt"), "r");
    write(local.filePath("gone.txt"), "g");
    write(local.filePath("m.txt"), "m");
    QDir().mkpath(local.filePath("sub"));
    QFile::setPermissions(local.filePath("ro.txt"), QFile::ReadOwner | QFile::ReadUser);

    FtpControl c;
    c.resize(900, 400);
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    ScriptedPrompts prompts;
    QVERIFY(connectTo(c, prompts, server));
    click(c, nodeByKey(c.treeServer, "ctl_menu2/"));
    openLocal(c, local.path());
    prompts.clear();
    auto rightClick = [&](QTreeWidget* list, const QString& name) {
        QTreeWidgetItem* item = list->findItems(name, Qt::MatchExactly).value(0);
        QVERIFY(item);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(item).center());
    };

    // A folder gives the message; a file the menu; the list is marked.
    rightClick(c.lstClient, "sub");
    QCOMPARE(messageTexts(prompts), QStringList{"you right clicked a folder"});
    QCOMPARE(c.lstClient->property("Tag").toString(), QString("1"));
    QCOMPARE(c.lstServer->property("Tag").toString(), QString("0"));
    rightClick(c.lstClient, "f.txt");
    QTRY_VERIFY(QApplication::activePopupWidget() == c.popFileMenu);
    QStringList items;
    for (QAction* a : c.popFileMenu->actions())
        items << a->text();
    QCOMPARE(items, (QStringList{"&Copy", "&Delete", "&Move", "&Rename", "&Refresh", "&Cancel"}));
    c.popFileMenu->close();
    // The Delete button acts on the remote list only while it is marked.
    select(c.lstServer, {"r.txt"});
    c.Command2->click();
    QCOMPARE(prompts.messages().size(), 1);

    // Local delete: each failure said, the others deleted, both marks cleared.
    QVERIFY(QFile::remove(local.filePath("gone.txt")));
    select(c.lstClient, {"f.txt", "gone.txt", "ro.txt", "sub"});
    prompts.clear();
    for (int i = 0; i < 4; ++i)
        prompts.answerMessage(MsgResult::Yes);
    c.mnuDelete->trigger();
    const QString base = local.path() + "/";
    QCOMPARE(messageTexts(prompts),
             (QStringList{"Delete sub?", base + "sub was not deleted: it is a folder.",
                          "Delete f.txt?", "Delete gone.txt?",
                          base + "gone.txt was not deleted: it does not exist.", "Delete ro.txt?",
                          base + "ro.txt was not deleted: it is read-only."}));
    QVERIFY(!QFile::exists(local.filePath("f.txt")));
    QVERIFY(QFile::exists(local.filePath("ro.txt")) && QFileInfo(local.filePath("sub")).isDir());
    QCOMPARE(c.lstClient->property("Tag").toString() + c.lstServer->property("Tag").toString(),
             QString("00"));

    // Menu items on a marked list: Move, Rename, Refresh, Copy.
    prompts.clear();
    rightClick(c.lstServer, "r.txt");
    c.popFileMenu->close();
    c.mnuMove->trigger();
    QVERIFY(waitIdle(c));
    QCOMPARE(contents(local.filePath("r.txt")), QByteArray("remote"));
    QVERIFY(!QFile::exists(server.pathOf("ctl_menu2/r.txt")));
    QVERIFY(c.lstServer->findItems("r.txt", Qt::MatchExactly).isEmpty());
    rightClick(c.lstClient, "m.txt");
    c.popFileMenu->close();
    prompts.answerInput("n.txt");
    c.mnuRename->trigger();
    QVERIFY(QFile::exists(local.filePath("n.txt")) && !QFile::exists(local.filePath("m.txt")));
    select(c.lstClient, {"n.txt"});
    c.mnuCopy->trigger();
    QVERIFY(waitIdle(c));
    QCOMPARE(contents(server.pathOf("ctl_menu2/n.txt")), QByteArray("m"));
    write(local.filePath("late.txt"), "l");
    c.mnuRefresh->trigger();
    QCOMPARE(c.lstClient->findItems("late.txt", Qt::MatchExactly).size(), 1);
    QVERIFY2(prompts.unexpected().isEmpty(), qPrintable(prompts.unexpected().join('\n')));
    QCOMPARE(prompts.messages().size(), 0);
}

void tst_FtpTransfers::localListAndVolumes()
{
    ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
    QTemporaryDir local;
    QDir().mkpath(local.filePath("Sub"));
    write(local.filePath("data.tar.gz"), "1234567890");   // 10 bytes
    write(local.filePath("Makefile"), "123456789");       // 9
    write(local.filePath(".hidden"), "");
    write(local.filePath("apple.HTM"), "12345678901");    // 11
    const QString volume = local.filePath("volume");
    QDir().mkpath(volume);
    const bool mounted = QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "none", volume}) == 0;

    FtpControl c;
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    ScriptedPrompts prompts;
    QVERIFY(connectTo(c, prompts, server));
    openLocal(c, local.path());
    QCOMPARE(c.lblClientFolder->text(), "Contents of \"" + QFileInfo(local.path()).fileName() + "\"");
    auto rows = [&] {
        QStringList out;
        for (int i = 0; i < c.lstClient->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = c.lstClient->topLevelItem(i);
            out << QStringList{item->text(0), item->text(1), item->text(2),
                               item->data(0, orvane::ftp::TagRole).toString()}.join('|');
        }
        return out;
    };
    QCOMPARE(rows(), (QStringList{"Sub|File Folder||Folder", "volume|File Folder||Folder",
                                  ".hidden|HIDDEN|0|File", "Makefile|File|9|File",
                                  "apple.HTM|HTM|11|File", "data.tar.gz|TAR.GZ|10|File"}));
    QCOMPARE(c.lstClient->topLevelItem(0)->data(0, orvane::ftp::KeyRole).toString(),
             local.path() + "/Sub/");
    QCOMPARE(c.lstClient->topLevelItem(3)->data(0, orvane::ftp::KeyRole).toString(),
             local.path() + "/Makefile");

    // Column clicks sort ascending, sizes as numbers, names in any case.
    QHeaderView* header = c.lstClient->header();
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, 5));
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
    QTreeWidgetItem* drive = nodeByKey(c.treeClient, volume + "/");
    QVERIFY(drive);
    prompts.clear();
    drive->setExpanded(true);
    emit c.treeClient->itemClicked(drive, 0);
    QCOMPARE(messageTexts(prompts), (QStringList{"Drive is not ready. Please check and retry.",
                                                 "Drive is not ready. Check and try again."}));
    QVERIFY(!drive->isExpanded());
    QCOMPARE(c.lstClient->topLevelItemCount(), 0);
}

QTEST_MAIN(tst_FtpTransfers)
#include "tst_ftptransfers.moc"
