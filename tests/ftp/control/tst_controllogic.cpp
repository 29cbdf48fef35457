// The plain parts under the control's panes: the keyed folder tree, how the
// file list sorts, finds and hands out its entries, which volume a local
// folder is on, which remote names may become local files, and what an upload
// of a folder sends.
#include "ControlSession.h"
#include "DragData.h"
#include "FileListModel.h"
#include "ImageList.h"
#include "KeyedTree.h"
#include "LocalVolumes.h"
#include "NameSafety.h"
#include "ServerListing.h"
#include "TransferPlan.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>

#include <memory>

using namespace orvane::ftp;
using namespace orvane::testing;
using Kind = UploadStep::Kind;

namespace {

// A local folder of a subfolder and files whose names, types and sizes
// order differently.
void fillLocal(FileListModel& list)
{
    list.reset("/d/");
    list.add({{"Sub", -1, true}, {"b.txt", 10}, {"A.txt", 9}, {"a.txt", 100}, {"c", 0}});
}

}  // namespace

class tst_ControlLogic : public QObject {
    Q_OBJECT
private slots:
    void removeForgetsDescendantsAndKeepsSiblingsOpen()
    {
        QTreeWidget view;
        ImageList images(view.style());
        KeyedTree tree(&view, &images);
        tree.add(QString(), {"root", "host"});
        tree.add("root", {"pub/", "pub/", kFolderImage, kSelectedFolderImage, true});
        tree.add("pub/", {"pub/m/", "m/", kFolderImage, kSelectedFolderImage, true});
        tree.add("pub/m/", {"pub/m/deep/", "deep/"});
        tree.node("root")->setExpanded(true);
        tree.node("pub/")->setExpanded(true);
        tree.node("pub/m/")->setExpanded(true);
        view.setCurrentItem(tree.node("pub/m/deep/"));

        // A sorted insert moves no expanded sibling and keeps the current node.
        tree.addChildren("pub/", {{"pub/a/", "a/"}, {"pub/z/", "z/"}});
        QCOMPARE(childTexts(tree.node("pub/")), (QStringList{"a/", "m/", "z/"}));
        QVERIFY(tree.node("pub/m/")->isExpanded());
        QCOMPARE(view.currentItem(), tree.node("pub/m/deep/"));

        // Removed with its descendants, whose keys are free again.
        QVERIFY(tree.remove("pub/m/"));
        QVERIFY(!tree.node("pub/m/deep/"));
        QCOMPARE(tree.count(), 4);
        QVERIFY(tree.add("pub/", {"pub/m/", "m/"}));
        QVERIFY(tree.add("pub/m/", {"pub/m/deep/", "deep/"}));
    }

    void columnSort_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("names");   // in view order after the click
        QTest::addColumn<int>("placeOfLater");    // where an "aa.txt" of 5 bytes added afterwards goes
        QTest::newRow("name: any case, then capitals first")
            << 0 << QStringList{"A.txt", "a.txt", "b.txt", "c", "Sub"} << 2;
        QTest::newRow("type: equal types keep their order")
            << 1 << QStringList{"c", "Sub", "b.txt", "A.txt", "a.txt"} << 5;
        QTest::newRow("size: as numbers, none first")
            << 2 << QStringList{"Sub", "c", "A.txt", "b.txt", "a.txt"} << 2;
    }

    // The selection stays on its entries, and entries added later go to
    // their sorted places.
    void columnSort()
    {
        QFETCH(int, column);
        QFETCH(QStringList, names);
        QFETCH(int, placeOfLater);
        FileListModel list(FileListModel::Side::Local, nullptr);
        fillLocal(list);
        QItemSelectionModel selection(&list);
        selection.select(list.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);   // b.txt
        list.sort(column);
        QCOMPARE(rowsOf(&list, 1), names);
        QCOMPARE(selection.selectedRows().size(), 1);
        QCOMPARE(selection.selectedRows().first().data().toString(), QString("b.txt"));
        list.add({{"aa.txt", 5}});
        QCOMPARE(list.index(placeOfLater, 0).data().toString(), QString("aa.txt"));
    }

    void uniqueNames_data()
    {
        QTest::addColumn<int>("names");     // "n0", "n1", ... in one batch, each twice
        QTest::addColumn<int>("removeEvery");   // then every k-th of them is removed, in one call
        QTest::addColumn<int>("sortColumn");    // -1: never sorted
        QTest::newRow("few names, first one removed") << 3 << 3 << -1;
        QTest::newRow("scattered removals") << 40 << 3 << -1;
        QTest::newRow("sorted by name, scattered removals") << 40 << 3 << 0;
        QTest::newRow("thousands of names: the table grows, runs form") << 5000 << 3 << -1;
        QTest::newRow("most names removed") << 2000 << 1 << -1;
        QTest::newRow("thousands sorted by size, every other one removed") << 3000 << 2 << 2;
    }

    // Whatever was added and removed before, each name is found at its own
    // entry and comes in at most once; the views are told of each removal
    // in order, and a selected row that stays keeps its selection.
    void uniqueNames()
    {
        QFETCH(int, names);
        QFETCH(int, removeEvery);
        QFETCH(int, sortColumn);
        FileListModel list(FileListModel::Side::Remote, nullptr);
        // The tester walks the whole list at every change: small lists only.
        std::unique_ptr<QAbstractItemModelTester> tester;
        if (names <= 100)
            tester = std::make_unique<QAbstractItemModelTester>(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.reset("pub/");
        QList<FileEntry> batch;
        for (int round = 0; round < 2; ++round)
            for (int i = 0; i < names; ++i)
                batch.append({QString("n%1").arg(i), i});
        QCOMPARE(list.add(batch), names);
        if (sortColumn >= 0)
            list.sort(sortColumn);
        QStringList kept, removed{"not listed"};
        for (int i = 0; i < names; ++i)
            (i % removeEvery == 0 ? removed : kept) << QString("n%1").arg(i);
        if (sortColumn == 0)
            kept.sort();   // lower-case names: plain order
        QItemSelectionModel selection(&list);
        const int selectedRow = kept.isEmpty() ? -1 : list.count() - 1;
        const QString selectedName = selectedRow < 0 ? QString() : list.nameAt(selectedRow).toString();
        if (selectedRow >= 0)
            selection.select(list.index(selectedRow, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(list.remove(removed + removed), names - int(kept.size()));
        QCOMPARE(list.count(), kept.size());
        for (int row = 0; row < list.count(); ++row) {
            QCOMPARE(list.nameAt(row).toString(), kept[row]);
            QVERIFY(list.contains(kept[row]));
        }
        if (selectedRow >= 0 && kept.contains(selectedName)) {
            QCOMPARE(selection.selectedRows().size(), 1);
            QCOMPARE(selection.selectedRows().first().data().toString(), selectedName);
        }
        QList<FileEntry> again;
        for (int i = 0; i < names; ++i)
            again.append({QString("n%1").arg(i)});
        QCOMPARE(list.add(again), names - int(kept.size()));
        QCOMPARE(list.count(), names);
    }

    // Names are unique; a removed one may come back; a drag hands out local
    // paths (folders without their "/") or remote names, in view order.
    void namesRemovalAndDragData()
    {
        FileListModel local(FileListModel::Side::Local, nullptr);
        fillLocal(local);
        QCOMPARE(local.add({{"c", 7}, {"new", 1}, {"new", 2}}), 1);
        QCOMPARE(local.count(), 6);
        QCOMPARE(local.index(0, 0).data(KeyRole).toString(), QString("/d/Sub/"));
        QCOMPARE(local.index(0, 1).data().toString(), QString("File Folder"));
        local.sort(2);
        QVERIFY(local.remove({"b.txt"}) == 1 && local.remove({"b.txt"}) == 0 && !local.contains("b.txt"));
        QCOMPARE(local.add({{"b.txt", 3}}), 1);
        QCOMPARE(rowsOf(&local, 3).mid(0, 4), (QStringList{"Sub|File Folder|", "c|File|0", "new|File|1", "b.txt|TXT|3"}));
        std::unique_ptr<QMimeData> paths(local.mimeData({local.index(3, 2), local.index(0, 0), local.index(3, 0)}));
        QCOMPARE(localFilesOf(paths.get()), (QStringList{"/d/Sub", "/d/b.txt"}));
        QVERIFY(remoteNamesOf(paths.get()).isEmpty());

        FileListModel remote(FileListModel::Side::Remote, nullptr);
        remote.reset("pub/");
        remote.add({{"x.htm"}, {"y.htm"}});
        std::unique_ptr<QMimeData> names(remote.mimeData({remote.index(1, 0), remote.index(0, 0)}));
        QCOMPARE(remoteNamesOf(names.get()), (QStringList{"x.htm", "y.htm"}));
        QVERIFY(!names->hasUrls());
    }

    // The remote list shows a listing's files (no folders, no hidden names,
    // no sizes, repeats once) and its unread lines whole; the tree gets its
    // folders. A listing of files only is shown without copying its entries.
    void remoteListFromAListing()
    {
        const Listing listing = parseListing("drwxr-xr-x 2 u g 4096 Mar 14 09:05 pub\n"
                                             "-rw-r--r-- 1 u g 312 Mar 14 09:05 index.html\n"
                                             "-rw-r--r-- 1 u g 20 Mar 14 09:05 .htaccess\n"
                                             "drwxr-xr-x 2 u g 4096 Mar 14 09:05 .git\n"
                                             "-rw-r--r-- 1 u g 5 Mar 14 09:05 index.html\n"
                                             "this line follows no format\n",
                                             false, QDate(2026, 3, 15));
        FileListModel remote(FileListModel::Side::Remote, nullptr);
        remote.reset("pub/");
        QCOMPARE(remote.addRows(serverFiles(listing)), 2);
        QCOMPARE(rowsOf(&remote), (QStringList{"index.html|HTML||File", "this line follows no format|File||File"}));
        const QList<RemoteFolder> folders = serverFolders("pub/", listing);
        QCOMPARE(folders.size(), 1);
        QCOMPARE(folders[0].key, QString("pub/pub/"));
        QCOMPARE(folders[0].text, QString("pub/"));

        const Listing files = parseListing("type=file;size=1; a\r\ntype=file;size=2; b\r\n", true, {});
        QCOMPARE(serverFiles(files).rows.constData(), files.entries.constData());
    }

    void driveOfAKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("drive");
        QTest::newRow("folder on the system drive") << "/home/me/" << "/";
        QTest::newRow("folder on a mounted volume") << "/media/stick/site/" << "/media/stick/";
        QTest::newRow("same prefix, other folder") << "/media/stickers/" << "/";
        QTest::newRow("placeholder of a volume") << "/media/stick/***" << "/media/stick/";
        QTest::newRow("not a path") << "root" << "";
    }

    void driveOfAKey()
    {
        QFETCH(QString, key);
        QFETCH(QString, drive);
        QCOMPARE(driveKeyOf(key, {"/", "/media/stick/"}), drive);
    }

    void unsafeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");   // empty: safe
        const QString slash = "it contains \"/\"";
        QTest::newRow("plain") << "index.htm" << "";
        QTest::newRow("leading dot") << ".htaccess" << "";
        QTest::newRow("three dots") << "..." << "";
        QTest::newRow("parent") << ".." << "it names a folder, not a file";
        QTest::newRow("climbs out") << "../x" << slash;
        QTest::newRow("absolute") << "/etc/passwd" << slash;
        QTest::newRow("backslash") << "..\\x" << "it contains \"\\\"";
        QTest::newRow("NUL") << QString("a") + QChar(0) + "b" << "it contains a control character";
        QTest::newRow("empty") << "" << "the name is empty";
        QTest::newRow("255 bytes") << QString(255, 'x') << "";
        QTest::newRow("256 bytes") << QString(256, 'x')
                                   << "it is longer than the local file system allows (255 bytes)";
        QTest::newRow("128 two-byte letters") << QString(128, QChar(0xe9))
                                              << "it is longer than the local file system allows (255 bytes)";
    }

    void unsafeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QCOMPARE(unsafeLocalNameReason(name, 255), reason);
    }

    void uploadOfAFolderTree()
    {
        QTemporaryDir dir;
        const QString site = dir.filePath("site");
        for (const char* rel : {"site/b.htm", "site/.htaccess", "site/css/a.css", "site/css/img/x.png"})
            QVERIFY(write(dir.filePath(rel), ""));
        QDir().mkpath(dir.filePath("site/empty"));
        QVERIFY(QFile::link(site, dir.filePath("site/loop")));

        const QList<UploadStep> want{
            {Kind::MakeFolder, "", "pub/site"},
            {Kind::Send, site + "/.htaccess", "pub/site/.htaccess"},
            {Kind::Send, site + "/b.htm", "pub/site/b.htm"},
            {Kind::MakeFolder, "", "pub/site/css"},
            {Kind::Send, site + "/css/a.css", "pub/site/css/a.css"},
            {Kind::MakeFolder, "", "pub/site/css/img"},
            {Kind::Send, site + "/css/img/x.png", "pub/site/css/img/x.png"},
            {Kind::MakeFolder, "", "pub/site/empty"},
            {Kind::MakeFolder, "", "pub/site/loop"},
        };
        QCOMPARE(uploadSteps(site + "/", "pub/"), want);
        QCOMPARE(uploadSteps(site + "/b.htm", ""),
                 (QList<UploadStep>{{Kind::Send, site + "/b.htm", "b.htm"}}));
    }
};

QTEST_MAIN(tst_ControlLogic)
#include "tst_controllogic.moc"
