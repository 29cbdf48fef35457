#pragma once
// A file list of the control: a report view over a FileListModel whose
// selection can be dragged out, and which takes drops of one kind (local
// files or remote names). The drop is handed on after the drag has ended, so
// the transfers it starts never run inside the drag's own event loop.

#include "FileListModel.h"

#include <QTreeView>

namespace orvane::ftp {

class FileListView : public QTreeView {
    Q_OBJECT
public:
    enum class Takes { LocalFiles, RemoteNames };

    FileListView(Takes takes, QWidget* parent);

    FileListModel& entries() const { return *m_model; }
    // The selected rows in the list's order; the current row when it is
    // selected, else the first selected one (-1 for none).
    QList<int> selectedRows() const;
    int selectedRow() const;

signals:
    void localFilesDropped(const QStringList& paths);
    void remoteNamesDropped(const QStringList& names);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool takes(const QMimeData* data) const;

    Takes m_takes;
    FileListModel* m_model;
};

}  // namespace orvane::ftp
