#include "KeyedList.h"

#include "ItemRoles.h"

#include <QTreeWidget>

namespace orvane::ftp {

KeyedList::KeyedList(QTreeWidget* view) : m_view(view) {}

void KeyedList::setUpReportView(QTreeWidget* view)
{
    view->setColumnCount(3);
    view->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type"), QStringLiteral("Size")});
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
}

QString KeyedList::keyOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, KeyRole).toString() : QString();
}

QString KeyedList::tagOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, TagRole).toString() : QString();
}

QList<QTreeWidgetItem*> KeyedList::add(const QList<ItemSpec>& specs)
{
    QList<QTreeWidgetItem*> added;
    added.reserve(specs.size());
    m_items.reserve(m_items.size() + specs.size());
    for (const ItemSpec& entry : specs) {
        if (m_items.contains(entry.key))
            continue;
        auto* item = new QTreeWidgetItem(QStringList{entry.text, entry.type, entry.size});
        item->setData(0, KeyRole, entry.key);
        item->setData(0, TagRole, entry.tag);
        m_items.insert(entry.key, item);
        added << item;
    }
    m_view->addTopLevelItems(added);
    return added;
}

void KeyedList::clear()
{
    m_items.clear();
    m_view->clear();
}

}  // namespace orvane::ftp
