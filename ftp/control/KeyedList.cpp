#include "KeyedList.h"

#include "ItemRoles.h"

#include <QTreeWidget>

namespace orvane::ftp {

namespace {

// Sorts by the list's sort column: sizes as numbers, texts without regard to
// letter case (then with it, so the order is total).
class FileListItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QString a = text(column);
        const QString b = other.text(column);
        if (column == KeyedList::kSizeColumn) {
            bool aNumber = false, bNumber = false;
            const qlonglong x = a.toLongLong(&aNumber);
            const qlonglong y = b.toLongLong(&bNumber);
            if (aNumber != bNumber)
                return !aNumber;   // no size before any size
            if (aNumber && x != y)
                return x < y;
        }
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    }
};

}  // namespace

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

QList<QTreeWidgetItem*> KeyedList::add(const QList<ItemRow>& rows)
{
    QList<QTreeWidgetItem*> added;
    added.reserve(rows.size());
    m_items.reserve(m_items.size() + rows.size());
    for (const ItemRow& entry : rows) {
        if (m_items.contains(entry.key))
            continue;
        auto* item = new FileListItem(QStringList{entry.text, entry.type, entry.size});
        item->setData(0, KeyRole, entry.key);
        item->setData(0, TagRole, entry.tag);
        m_items.insert(entry.key, item);
        added << item;
    }
    m_view->addTopLevelItems(added);
    return added;
}

bool KeyedList::remove(const QString& key)
{
    QTreeWidgetItem* item = m_items.take(key);
    delete item;
    return item != nullptr;
}

void KeyedList::clear()
{
    m_items.clear();
    m_view->clear();
}

}  // namespace orvane::ftp
