#pragma once
// The entries of one folder as a report-view list (columns "Name", "Type",
// "Size"). Entries are kept compact (FileRows: the names in one block, the
// size, whether it is a folder); keys, types and size texts are made only
// when asked for, so a folder of a million files costs little more than its
// names. An entry's key is the folder's key followed by its name, and "/" for
// a folder; names are unique within the list. A column click sorts through a
// permutation of the rows: sizes as numbers, texts without regard to letter
// case (then with it, so the order is total).

#include "NameIndex.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QList>
#include <QString>

#include <vector>

namespace orvane::ftp {

struct FileEntry {
    QString name;
    qint64 size = -1;     // shown in bytes; -1 shows none
    bool folder = false;
};

class FileListModel : public QAbstractItemModel {
    Q_OBJECT
public:
    static constexpr int kSizeColumn = 2;
    // What a drag out of the list carries: local files, or remote names.
    enum class Side { Local, Remote };

    FileListModel(Side side, QObject* parent);

    // Empties the list, which now shows the folder keyed `folderKey`.
    void reset(const QString& folderKey);
    QString folderKey() const { return m_folderKey; }
    void setFolderIcon(const QIcon& icon) { m_folderIcon = icon; }

    // Adds the entries in order (each in its sorted place once a column
    // was clicked), skipping names the list holds; returns how many it added.
    int addRows(FileRows entries);
    int add(const QList<FileEntry>& entries);
    // Removes the entries of these names in one pass, whatever their number;
    // returns how many it removed.
    int remove(const QStringList& names);
    bool contains(const QString& name) const;
    int count() const { return int(m_rowCount); }

    // The entry a view row shows, its key, and its local path (the key
    // without the folder's "/").
    FileEntry entryAt(int row) const;
    QStringView nameAt(int row) const { return m_entries.name(entryIndex(row)); }
    QString keyAt(int row) const;
    QString pathAt(int row) const { return m_folderKey + nameAt(row).toString(); }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Ascending only: a column click always sorts that way.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    QStringList mimeTypes() const override;
    // The rows' local files or remote names, in the list's order.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    int entryIndex(int row) const { return m_order.empty() ? row : m_order[size_t(row)]; }
    QString text(int entry, int column) const;
    // A remote list shows no sizes (its rows may be a listing's entries,
    // which know them).
    qint64 shownSize(const FileRows::Row& row) const { return m_side == Side::Remote ? -1 : row.size; }
    // Puts the rows in the order of the sort column, keeping the views'
    // selection and current row on their entries.
    void reorder();

    Side m_side;
    QString m_folderKey;
    QIcon m_folderIcon;
    FileRows m_entries;             // in the order they were added
    std::vector<int> m_order;       // row -> entry; empty while unsorted and nothing is being removed
    qsizetype m_rowCount = 0;       // rows the views were told of
    int m_sortColumn = -1;
    NameIndex m_names;              // of m_entries
};

}  // namespace orvane::ftp
