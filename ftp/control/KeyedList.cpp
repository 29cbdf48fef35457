#include "KeyedList.h"

#include "ItemRoles.h"

#include <QTreeWidget>

namespace orvane::ftp {

namespace {

// A list item that keeps its row as it was given and answers the view from
// it: no per-column copies, so a list of a million files stays small.
// Sorts by the list's sort column: sizes as numbers, texts without regard to
// letter case (then with it, so the order is total).
class FileListItem : public QTreeWidgetItem {
public:
    explicit FileListItem(const ItemRow& row) : m_row(row) {}

    QVariant data(int column, int role) const override
    {
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            if (column >= 0 && column <= KeyedList::kSizeColumn)
                return columnText(column);
        } else if (column == 0 && role == KeyRole) {
            return m_row.key;
        } else if (column == 0 && role == TagRole) {
            return m_row.tag;
        }
        return QTreeWidgetItem::data(column, role);
    }

    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const auto* row = dynamic_cast<const FileListItem*>(&other);
        if (!row || column < 0 || column > KeyedList::kSizeColumn)
            return QTreeWidgetItem::operator<(other);
        const QString& a = columnText(column);
        const QString& b = row->columnText(column);
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

private:
    const QString& columnText(int column) const
    {
        return column == 0 ? m_row.text : column == 1 ? m_row.type : m_row.size;
    }

    const ItemRow m_row;
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
        QTreeWidgetItem*& slot = m_items[entry.key];
        if (slot)
            continue;
        slot = new FileListItem(entry);
        added << slot;
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
