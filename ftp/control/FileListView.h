#pragma once
// A file list of the control: a report view whose selection can be dragged
// out, and which takes drops of one kind (local files or remote names).
// The drop is handed on after the drag has ended, so the transfers it starts
// never run inside the drag's own event loop.

#include <QTreeWidget>

#include <functional>

namespace orvane::ftp {

class FileListView : public QTreeWidget {
    Q_OBJECT
public:
    enum class Takes { LocalFiles, RemoteNames };

    FileListView(Takes takes, QWidget* parent);

    // Builds the drag data for the selected items when a drag starts.
    void setDragData(std::function<QMimeData*()> supply) { m_supply = std::move(supply); }

signals:
    void localFilesDropped(const QStringList& paths);
    void remoteNamesDropped(const QStringList& names);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool takes(const QMimeData* data) const;

    Takes m_takes;
    std::function<QMimeData*()> m_supply;
};

}  // namespace orvane::ftp
