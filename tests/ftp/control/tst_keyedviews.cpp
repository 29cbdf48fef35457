// The keyed tree under the control's folder panes.
#include "ImageList.h"
#include "KeyedTree.h"

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
        QTest::addColumn<QStringList>("batch2");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("unsorted keeps listing order")
            << false << QStringList{"beta/"} << QStringList{"***", "zeta/", "Alpha/", "beta/"};
        QTest::newRow("sorted ignores case, placeholder first")
            << true << QStringList{"beta/"} << QStringList{"***", "Alpha/", "beta/", "zeta/"};
        QTest::newRow("names sorting before *** still follow the placeholder")
            << true << QStringList{"!new/", "#tmp/"} << QStringList{"***", "!new/", "#tmp/", "Alpha/", "zeta/"};
        QTest::newRow("existing keys are skipped")
            << true << QStringList{"zeta/", "beta/", "beta/"} << QStringList{"***", "Alpha/", "beta/", "zeta/"};
    }

    void childOrder()
    {
        QFETCH(bool, sorted);
        QFETCH(QStringList, batch2);
        QFETCH(QStringList, order);
        QTreeWidget view;
        ImageList images(view.style());
        KeyedTree tree(&view, &images);
        QVERIFY(tree.add(QString(), {"root", "host", kRootImage, 0, sorted}));
        QVERIFY(!tree.add(QString(), {"root", "again"}));
        QVERIFY(tree.add("root", {"root***", "***"}));
        for (const QStringList& batch : {QStringList{"zeta/", "Alpha/"}, batch2}) {
            QList<NodeEntry> entries;
            for (const QString& name : batch)
                entries.append({"root" + name, name, kFolderImage, kSelectedFolderImage, true});
            tree.addChildren("root", entries);
        }
        QCOMPARE(childTexts(tree.node("root")), order);
        QCOMPARE(tree.count(), order.size() + 1);
    }

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
};

QTEST_MAIN(tst_KeyedViews)
#include "tst_keyedviews.moc"
