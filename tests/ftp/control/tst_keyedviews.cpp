// The keyed tree under the control's folder panes: a sorted insert or a
// removal leaves the rest of the tree as the user arranged it.
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
