#pragma once
// A report-view list (columns "Name", "Type", "Size") whose items are found by
// a unique text key: adding a key that exists fails. A column click sorts
// sizes as numbers and texts without regard to letter case.

#include <QHash>
#include <QList>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace orvane::ftp {

struct ItemRow {
    QString key;
    QString text;
    QString tag;       // "File" or "Folder"
    QString type;      // the "Type" column
    QString size;      // the "Size" column
};

class KeyedList {
public:
    static constexpr int kSizeColumn = 2;

    explicit KeyedList(QTreeWidget* view);

    // Gives a list its three columns in report view.
    static void setUpReportView(QTreeWidget* view);

    // Adds the items in order, skipping keys that exist; returns those added.
    QList<QTreeWidgetItem*> add(const QList<ItemRow>& rows);
    QTreeWidgetItem* item(const QString& key) const { return m_items.value(key); }
    static QString keyOf(const QTreeWidgetItem* item);
    static QString tagOf(const QTreeWidgetItem* item);

    bool remove(const QString& key);
    void clear();
    int count() const { return int(m_items.size()); }

private:
    QTreeWidget* m_view;
    QHash<QString, QTreeWidgetItem*> m_items;
};

}  // namespace orvane::ftp
