#include "FileListView.h"

#include "DragData.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QTimer>

#include <algorithm>

namespace orvane::ftp {

FileListView::FileListView(Takes takes, QWidget* parent)
    : QTreeView(parent),
      m_takes(takes),
      // A list takes one side's data and gives the other's.
      m_model(new FileListModel(takes == Takes::LocalFiles ? FileListModel::Side::Remote
                                                           : FileListModel::Side::Local,
                                this))
{
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    header()->setSectionsClickable(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

QList<int> FileListView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int FileListView::selectedRow() const
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isRowSelected(current.row(), {}))
        return current.row();
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

bool FileListView::takes(const QMimeData* data) const
{
    return m_takes == Takes::LocalFiles ? !localFilesOf(data).isEmpty()
                                        : !remoteNamesOf(data).isEmpty();
}

void FileListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (takes(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void FileListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (takes(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void FileListView::dropEvent(QDropEvent* event)
{
    if (!takes(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (m_takes == Takes::LocalFiles) {
        const QStringList paths = localFilesOf(event->mimeData());
        QTimer::singleShot(0, this, [this, paths] { emit localFilesDropped(paths); });
    } else {
        const QStringList names = remoteNamesOf(event->mimeData());
        QTimer::singleShot(0, this, [this, names] { emit remoteNamesDropped(names); });
    }
}

}  // namespace orvane::ftp
