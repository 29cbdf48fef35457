#pragma once
// A tree view whose nodes are found by a unique text key, as the control's
// folder trees need: adding a key that exists fails, nodes may keep their
// children sorted, and a placeholder child (a key ending in "***") always
// stays first.

#include "ImageList.h"

#include <QHash>
#include <QList>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace orvane::ftp {

struct NodeEntry {
    QString key;
    QString text;
    int image = 0;           // imgList index, 0 for none
    int selectedImage = 0;
    bool sortedChildren = false;
};

class KeyedTree {
public:
    KeyedTree(QTreeWidget* view, const ImageList* images);

    // Adds a top-level node (empty parentKey) or a child of parentKey.
    // nullptr when the key exists or the parent does not.
    QTreeWidgetItem* add(const QString& parentKey, const NodeEntry& entry);
    // Adds the children of one parent, skipping keys that exist: appended in
    // order, or each in its sorted place when the parent keeps them sorted.
    QList<QTreeWidgetItem*> addChildren(const QString& parentKey, const QList<NodeEntry>& entries);

    QTreeWidgetItem* node(const QString& key) const { return m_nodes.value(key); }
    static QString keyOf(const QTreeWidgetItem* node);
    static int imageOf(const QTreeWidgetItem* node);

    // Removes the node and everything under it.
    bool remove(const QString& key);
    void clear();
    int count() const { return int(m_nodes.size()); }

    static bool isPlaceholderKey(const QString& key);

private:
    QTreeWidgetItem* make(const NodeEntry& entry) const;
    void insertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* child);
    void forget(QTreeWidgetItem* node);

    QTreeWidget* m_view;
    const ImageList* m_images;
    QHash<QString, QTreeWidgetItem*> m_nodes;
};

}  // namespace orvane::ftp
