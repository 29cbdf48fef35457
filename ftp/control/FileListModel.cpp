#include "FileListModel.h"

#include "DragData.h"
#include "ImageList.h"
#include "ItemRoles.h"
#include "ServerListing.h"

#include <algorithm>
#include <numeric>

namespace orvane::ftp {

namespace {

bool textLess(QStringView a, QStringView b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

}  // namespace

FileListModel::FileListModel(Side side, QObject* parent) : QAbstractItemModel(parent), m_side(side) {}

void FileListModel::reset(const QString& folderKey)
{
    beginResetModel();
    m_folderKey = folderKey;
    m_names.clear();
    m_entries = FileRows();
    m_order.clear();
    m_rowCount = 0;
    endResetModel();
}

bool FileListModel::contains(const QString& name) const
{
    return m_names.find(name, m_entries) >= 0;
}

int FileListModel::add(const QList<FileEntry>& entries)
{
    FileRows rows;
    for (const FileEntry& entry : entries)
        rows.append(entry.name, entry.size, entry.folder);
    return addRows(std::move(rows));
}

int FileListModel::addRows(FileRows entries)
{
    if (entries.rows.isEmpty())
        return 0;
    const qsizetype first = m_entries.size();
    const int added = int(m_names.appendNew(m_entries, std::move(entries)));
    if (added == 0)
        return 0;
    // Told as rows added at the end (the views see them from the start of
    // the insertion on), then moved to their places.
    beginInsertRows({}, int(m_rowCount), int(m_rowCount) + added - 1);
    if (!m_order.empty()) {
        m_order.resize(size_t(m_rowCount + added));
        std::iota(m_order.begin() + m_rowCount, m_order.end(), int(first));
    }
    m_rowCount += added;
    endInsertRows();
    if (m_sortColumn >= 0)
        reorder();
    return added;
}

int FileListModel::remove(const QStringList& names)
{
    std::vector<int> gone;
    for (const QString& name : names) {
        const int entry = m_names.find(name, m_entries);
        if (entry >= 0)
            gone.push_back(entry);
    }
    std::sort(gone.begin(), gone.end());
    gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
    if (gone.empty())
        return 0;
    // The rows leave the views in runs, the last run first; the entries
    // stay until every run is gone, then leave in one pass.
    if (m_order.empty()) {
        m_order.resize(size_t(m_entries.size()));
        std::iota(m_order.begin(), m_order.end(), 0);
    }
    std::vector<char> isGone(size_t(m_entries.size()), 0);
    for (const int entry : gone)
        isGone[size_t(entry)] = 1;
    std::vector<int> rows;
    rows.reserve(gone.size());
    for (size_t row = 0; row < m_order.size(); ++row)
        if (isGone[size_t(m_order[row])])
            rows.push_back(int(row));
    for (size_t end = rows.size(); end > 0;) {
        size_t begin = end - 1;
        while (begin > 0 && rows[begin - 1] == rows[begin] - 1)
            --begin;
        beginRemoveRows({}, rows[begin], rows[end - 1]);
        m_order.erase(m_order.begin() + rows[begin], m_order.begin() + rows[end - 1] + 1);
        m_rowCount = qsizetype(m_order.size());
        endRemoveRows();
        end = begin;
    }
    m_names.remove(gone, m_entries);
    std::vector<int> newIndex(size_t(m_entries.size()), -1);
    qsizetype kept = 0;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (isGone[size_t(i)])
            continue;
        newIndex[size_t(i)] = int(kept);
        m_entries.rows[kept++] = m_entries.rows[i];
    }
    m_entries.rows.resize(kept);
    for (int& entry : m_order)
        entry = newIndex[size_t(entry)];
    if (m_sortColumn < 0)
        m_order.clear();   // the identity again
    return int(gone.size());
}

FileEntry FileListModel::entryAt(int row) const
{
    const FileRows::Row& entry = m_entries.rows[entryIndex(row)];
    return {nameAt(row).toString(), shownSize(entry), bool(entry.isFolder)};
}

QString FileListModel::keyAt(int row) const
{
    const QString path = pathAt(row);
    return m_entries.rows[entryIndex(row)].isFolder ? path + QLatin1Char('/') : path;
}

QString FileListModel::text(int entry, int column) const
{
    const FileRows::Row& row = m_entries.rows[entry];
    if (column == 0)
        return m_entries.name(entry).toString();
    if (column == 1)
        return row.isFolder ? QStringLiteral("File Folder") : fileTypeOf(m_entries.name(entry));
    const qint64 size = shownSize(row);
    return size < 0 ? QString() : QString::number(size);
}

QModelIndex FileListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= m_rowCount || column < 0 || column > kSizeColumn)
        return {};
    return createIndex(row, column);
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rowCount);
}

int FileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kSizeColumn + 1;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int entryNumber = entryIndex(index.row());
    const FileRows::Row& entry = m_entries.rows[entryNumber];
    switch (role) {
    case Qt::DisplayRole:
        return text(entryNumber, index.column());
    case Qt::DecorationRole:
        return index.column() == 0 && entry.isFolder ? QVariant(m_folderIcon) : QVariant();
    case KeyRole:
        return keyAt(index.row());
    case TagRole:
        return entry.isFolder ? QStringLiteral("Folder") : QStringLiteral("File");
    case ImageRole:
        return entry.isFolder ? int(kFolderImage) : 0;
    default:
        return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QString captions[] = {QStringLiteral("Name"), QStringLiteral("Type"),
                                       QStringLiteral("Size")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > kSizeColumn)
        return {};
    return captions[section];
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

void FileListModel::sort(int column, Qt::SortOrder)
{
    if (column < 0 || column > kSizeColumn)
        return;
    m_sortColumn = column;
    reorder();
}

void FileListModel::reorder()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> entryOf;
    entryOf.reserve(size_t(before.size()));
    for (const QModelIndex& index : before)
        entryOf.push_back(entryIndex(index.row()));

    if (m_order.empty()) {
        m_order.resize(size_t(m_entries.size()));
        std::iota(m_order.begin(), m_order.end(), 0);
    }
    const FileRows& entries = m_entries;
    if (m_sortColumn == kSizeColumn) {
        // No size (-1) before any size.
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](int a, int b) { return shownSize(entries.rows[a]) < shownSize(entries.rows[b]); });
    } else if (m_sortColumn == 1) {
        std::vector<QString> types(size_t(entries.size()));
        for (qsizetype i = 0; i < entries.size(); ++i)
            types[size_t(i)] = text(int(i), 1);
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](int a, int b) { return textLess(types[size_t(a)], types[size_t(b)]); });
    } else {
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](int a, int b) { return textLess(entries.name(a), entries.name(b)); });
    }

    std::vector<int> rowOf(m_order.size());
    for (size_t row = 0; row < m_order.size(); ++row)
        rowOf[size_t(m_order[row])] = int(row);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after << createIndex(rowOf[size_t(entryOf[size_t(i)])], before[i].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QStringList FileListModel::mimeTypes() const
{
    return {m_side == Side::Local ? QStringLiteral("text/uri-list") : QLatin1String(kRemoteNamesType)};
}

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const
{
    std::vector<int> rows;
    for (const QModelIndex& index : indexes)
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList out;
    for (int row : rows)
        out << (m_side == Side::Local ? pathAt(row) : nameAt(row).toString());
    return m_side == Side::Local ? localFilesData(out) : remoteNamesData(out);
}

}  // namespace orvane::ftp
