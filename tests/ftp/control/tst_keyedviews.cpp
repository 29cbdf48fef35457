// The keyed trees and lists under the control's panes, and its layout.
#include "ImageList.h"
#include "KeyedList.h"
#include "KeyedTree.h"

#include <QApplication>
#include <QTreeWidget>
#include <QtTest>

using namespace orvane::ftp;

namespace {
QStringList childTexts(const QTreeWidgetItem* node)
{
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i)
        out << node->child(i)->text(0);
    return out;
}
}  // namespace

class tst_KeyedViews : public QObject {
    Q_OBJECT
private slots:
    void childOrder_data()
    {
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<QStringList>("batch1");
        QTest::addColumn<QStringList>("batch2");
        QTest::addColumn<QStringList>("order");

        QTest::newRow("unsorted keeps listing order")
            << false << QStringList{"zeta/", "Alpha/"} << QStringList{"beta/"}
            << QStringList{"***", "zeta/", "Alpha/", "beta/"};
        QTest::newRow("sorted ignores case, placeholder first")
            << true << QStringList{"zeta/", "Alpha/"} << QStringList{"beta/"}
            << QStringList{"***", "Alpha/", "beta/", "zeta/"};
        QTest::newRow("names sorting before *** still follow the placeholder")
            << true << QStringList{"(old)/", "!new/"} << QStringList{"#tmp/"}
            << QStringList{"***", "!new/", "#tmp/", "(old)/"};
    }

    void childOrder()
    {
        QFETCH(bool, sorted);
        QFETCH(QStringList, batch1);
        QFETCH(QStringList, batch2);
        QFETCH(QStringList, order);

        QTreeWidget view;
        ImageList images(view.style());
        KeyedTree tree(&view, &images);
        NodeEntry parent{"root", "host", kRootImage, 0, sorted};
        QVERIFY(tree.add(QString(), parent));
        QVERIFY(tree.add("root", {"root***", "***"}));
        for (const QStringList& batch : {batch1, batch2}) {
            QList<NodeEntry> specs;
            for (const QString& name : batch)
                specs.append({"root" + name, name, kFolderImage, kSelectedFolderImage, true});
            QCOMPARE(tree.addChildren("root", specs).size(), batch.size());
        }
        QCOMPARE(childTexts(tree.node("root")), order);
    }

    void duplicateKeysAreRefused()
    {
        QTreeWidget view;
        ImageList images(view.style());
        KeyedTree tree(&view, &images);
        QVERIFY(tree.add(QString(), {"root", "host", kRootImage}));
        QVERIFY(!tree.add(QString(), {"root", "again"}));
        QVERIFY(!tree.add("missing", {"x/", "x/"}));
        const QList<QTreeWidgetItem*> added = tree.addChildren(
            "root", {{"pub/", "pub/"}, {"pub/", "pub/ again"}, {"web/", "web/"}});
        QCOMPARE(added.size(), 2);
        QCOMPARE(view.topLevelItemCount(), 1);
        QCOMPARE(childTexts(tree.node("root")), (QStringList{"pub/", "web/"}));
        QCOMPARE(tree.count(), 3);
        QCOMPARE(KeyedTree::imageOf(tree.node("root")), int(kRootImage));
    }

    void removingANodeForgetsItsDescendants()
    {
        QTreeWidget view;
        ImageList images(view.style());
        KeyedTree tree(&view, &images);
        tree.add(QString(), {"root", "host"});
        tree.add("root", {"pub/", "pub/"});
        tree.add("pub/", {"pub/incoming/", "incoming/"});
        tree.add("pub/incoming/", {"pub/incoming/***", "***"});

        QVERIFY(tree.remove("pub/"));
        QCOMPARE(tree.count(), 1);
        QVERIFY(!tree.node("pub/incoming/"));
        // The keys are free again: listing the folder anew rebuilds it.
        QVERIFY(tree.add("root", {"pub/", "pub/"}));
        QVERIFY(tree.add("pub/", {"pub/incoming/", "incoming/"}));
        QVERIFY(!tree.remove("nothing"));

        tree.clear();
        QCOMPARE(tree.count(), 0);
        QVERIFY(tree.add(QString(), {"root", "host"}));
    }

    void sortedInsertKeepsExpandedSiblings()
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

        tree.addChildren("pub/", {{"pub/a/", "a/"}, {"pub/z/", "z/"}});
        QCOMPARE(childTexts(tree.node("pub/")), (QStringList{"a/", "m/", "z/"}));
        QVERIFY(tree.node("pub/m/")->isExpanded());
        QCOMPARE(view.currentItem(), tree.node("pub/m/deep/"));
    }

    void listSkipsExistingKeysUntilCleared()
    {
        QTreeWidget view;
        KeyedList list(&view);
        QCOMPARE(list.add({{"rootindex.html", "index.html", "File", "HTML", ""},
                           {"rootREADME", "README", "File", "File", ""}}).size(), 2);
        QCOMPARE(list.add({{"rootindex.html", "index.html", "File", "HTML", ""},
                           {"rootnew.txt", "new.txt", "File", "TXT", ""}}).size(), 1);
        QCOMPARE(view.topLevelItemCount(), 3);
        QCOMPARE(KeyedList::keyOf(list.item("rootnew.txt")), QString("rootnew.txt"));
        list.clear();
        QCOMPARE(view.topLevelItemCount(), 0);
        QCOMPARE(list.add({{"rootindex.html", "index.html", "File", "HTML", ""}}).size(), 1);
    }
};

QTEST_MAIN(tst_KeyedViews)
#include "tst_keyedviews.moc"
