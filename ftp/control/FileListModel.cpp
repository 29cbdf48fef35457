#include "FileListModel.h"

#include "DragData.h"
#include "ImageList.h"
#include "ItemRoles.h"
#include "ServerListing.h"

#include <algorithm>
#include <numeric>

namespace orvane::ftp {

namespace {

bool textLess(const QString& a, const QString& b)
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
    m_entries.clear();
    m_order.clear();
    endResetModel();
}

bool FileListModel::contains(const QString& name) const
{
    return m_names.find(name, m_entries) >= 0;
}

int FileListModel::add(QList<FileEntry> entries)
{
    if (entries.isEmpty())
        return 0;
    const qsizetype first = m_entries.size();
    const int added = int(m_names.appendNew(m_entries, std::move(entries)));
    if (added == 0)
        return 0;
    // Told as rows added at the end, then moved to their places.
    beginInsertRows({}, int(first), int(m_entries.size()) - 1);
    if (!m_order.empty()) {
        m_order.resize(size_t(m_entries.size()));
        std::iota(m_order.begin() + first, m_order.end(), int(first));
    }
    endInsertRows();
    if (m_sortColumn >= 0)
        reorder();
    return added;
}

bool FileListModel::remove(const QString& name)
{
    const int entry = m_names.find(name, m_entries);
    if (entry < 0)
        return false;
    int row = entry;
    if (!m_order.empty())
        row = int(std::find(m_order.begin(), m_order.end(), entry) - m_order.begin());
    beginRemoveRows({}, row, row);
    m_names.removeAt(name, entry, m_entries);
    m_entries.removeAt(entry);
    if (!m_order.empty()) {
        m_order.erase(m_order.begin() + row);
        for (int& e : m_order)
            e -= e > entry ? 1 : 0;
    }
    endRemoveRows();
    return true;
}

QString FileListModel::keyAt(int row) const
{
    const FileEntry& entry = entryAt(row);
    return entry.folder ? m_folderKey + entry.name + QLatin1Char('/') : m_folderKey + entry.name;
}

QString FileListModel::text(const FileEntry& entry, int column) const
{
    if (column == 0)
        return entry.name;
    if (column == 1)
        return entry.folder ? QStringLiteral("File Folder") : fileTypeOf(entry.name);
    return entry.size < 0 ? QString() : QString::number(entry.size);
}

QModelIndex FileListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= m_entries.size() || column < 0 || column > kSizeColumn)
        return {};
    return createIndex(row, column);
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kSizeColumn + 1;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const FileEntry& entry = entryAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(entry, index.column());
    case Qt::DecorationRole:
        return index.column() == 0 && entry.folder ? QVariant(m_folderIcon) : QVariant();
    case KeyRole:
        return keyAt(index.row());
    case TagRole:
        return entry.folder ? QStringLiteral("Folder") : QStringLiteral("File");
    case ImageRole:
        return entry.folder ? int(kFolderImage) : 0;
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
    const auto& entries = m_entries;
    if (m_sortColumn == kSizeColumn) {
        // No size (-1) before any size.
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](int a, int b) { return entries[a].size < entries[b].size; });
    } else if (m_sortColumn == 1) {
        std::vector<QString> types(size_t(entries.size()));
        for (qsizetype i = 0; i < entries.size(); ++i)
            types[size_t(i)] = text(entries[i], 1);
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](int a, int b) { return textLess(types[size_t(a)], types[size_t(b)]); });
    } else {
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](int a, int b) { return textLess(entries[a].name, entries[b].name); });
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
        out << (m_side == Side::Local ? pathAt(row) : entryAt(row).name);
    return m_side == Side::Local ? localFilesData(out) : remoteNamesData(out);
}

}  // namespace orvane::ftp
