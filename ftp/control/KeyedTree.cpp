#include "KeyedTree.h"

#include "ItemRoles.h"
#include "ServerListing.h"

#include <QTreeWidget>

namespace orvane::ftp {

namespace {

// Placeholders first, then by text without regard to case, then with it.
bool sortsBefore(const QTreeWidgetItem* a, const QTreeWidgetItem* b)
{
    const bool aHeld = KeyedTree::isPlaceholderKey(KeyedTree::keyOf(a));
    const bool bHeld = KeyedTree::isPlaceholderKey(KeyedTree::keyOf(b));
    if (aHeld != bHeld)
        return aHeld;
    const int c = QString::compare(a->text(0), b->text(0), Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a->text(0) < b->text(0);
}

}  // namespace

KeyedTree::KeyedTree(QTreeWidget* view, const ImageList* images)
    : m_view(view), m_images(images)
{
}

bool KeyedTree::isPlaceholderKey(const QString& key)
{
    return key.endsWith(kPlaceholder);
}

QString KeyedTree::keyOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, KeyRole).toString() : QString();
}

int KeyedTree::imageOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, ImageRole).toInt() : 0;
}

QTreeWidgetItem* KeyedTree::make(const NodeEntry& entry) const
{
    auto* node = new QTreeWidgetItem(QStringList{entry.text});
    node->setData(0, KeyRole, entry.key);
    node->setData(0, ImageRole, entry.image);
    node->setData(0, SelectedImageRole, entry.selectedImage);
    node->setData(0, SortedChildrenRole, entry.sortedChildren);
    if (entry.image)
        node->setIcon(0, m_images->icon(entry.image, entry.selectedImage));
    if (!isPlaceholderKey(entry.key))
        node->setToolTip(0, entry.key == QLatin1String("root") ? entry.text : entry.key);
    return node;
}

void KeyedTree::insertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* child)
{
    int lo = 0;
    int hi = parent->childCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (sortsBefore(child, parent->child(mid)))
            hi = mid;
        else
            lo = mid + 1;
    }
    parent->insertChild(lo, child);
}

QTreeWidgetItem* KeyedTree::add(const QString& parentKey, const NodeEntry& entry)
{
    const QList<QTreeWidgetItem*> added = addChildren(parentKey, {entry});
    return added.isEmpty() ? nullptr : added.first();
}

QList<QTreeWidgetItem*> KeyedTree::addChildren(const QString& parentKey,
                                               const QList<NodeEntry>& entries)
{
    QTreeWidgetItem* parent = nullptr;
    if (!parentKey.isEmpty()) {
        parent = node(parentKey);
        if (!parent)
            return {};
    }
    QList<QTreeWidgetItem*> added;
    for (const NodeEntry& entry : entries) {
        if (entry.key.isEmpty() || m_nodes.contains(entry.key))
            continue;
        QTreeWidgetItem* child = make(entry);
        m_nodes.insert(entry.key, child);
        added << child;
    }
    if (added.isEmpty())
        return added;
    const bool sorted = parent && parent->data(0, SortedChildrenRole).toBool();
    if (!parent) {
        m_view->addTopLevelItems(added);
    } else if (!sorted) {
        parent->addChildren(added);
    } else if (parent->childCount() == 0) {
        QList<QTreeWidgetItem*> ordered = added;
        std::stable_sort(ordered.begin(), ordered.end(), sortsBefore);
        parent->addChildren(ordered);
    } else {
        // One by one, so the nodes already there keep their expanded state.
        for (QTreeWidgetItem* child : added)
            insertSorted(parent, child);
    }
    return added;
}

void KeyedTree::forget(QTreeWidgetItem* node)
{
    m_nodes.remove(keyOf(node));
    for (int i = 0; i < node->childCount(); ++i)
        forget(node->child(i));
}

bool KeyedTree::remove(const QString& key)
{
    QTreeWidgetItem* target = node(key);
    if (!target)
        return false;
    forget(target);
    delete target;
    return true;
}

void KeyedTree::clear()
{
    m_nodes.clear();
    m_view->clear();
}

}  // namespace orvane::ftp
