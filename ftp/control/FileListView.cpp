#include "FileListView.h"

#include "DragData.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>

namespace orvane::ftp {

FileListView::FileListView(Takes takes, QWidget* parent) : QTreeWidget(parent), m_takes(takes)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

QStringList FileListView::mimeTypes() const
{
    return {QStringLiteral("text/uri-list"), QLatin1String(kRemoteNamesType)};
}

QMimeData* FileListView::mimeData(const QList<QTreeWidgetItem*>&) const
{
    return m_supply ? m_supply() : nullptr;
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
