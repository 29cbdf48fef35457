#pragma once
// ftp: the FTP publishing control. A local pane (folder tree treeClient beside
// file list lstClient) and a remote pane (treeServer beside lstServer) over
// one transfer control Inet1 that runs one operation at a time. Everything
// starts from the user's clicks inside the control; its prompts go through
// orvane::prompts().

#include "DesignLayout.h"
#include "FtpOperation.h"
#include "ImageList.h"
#include "KeyedList.h"
#include "KeyedTree.h"
#include "ServerListing.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QMimeData;
class QSplitter;
class QTimer;
class QMenu;
class QAction;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvane::ftp {

class Inet;
class LocalFileSystem;
class FileListView;

class ftp : public QWidget {
    Q_OBJECT
public:
    explicit ftp(QWidget* parent = nullptr);
    ~ftp() override;

    // Checks and sets the server address, the user name and the password of
    // the transfer control; a rejected value keeps the previous one.
    void setURL(const QString& text);
    void setLoginName(const QString& text);
    void setPassword(const QString& text);

    // Add the folders (tree nodes) and files (list items) of the reply lines
    // of the remote folder keyed `path`.
    void GetServerFolders(const QString& path, const QStringList& lines);
    void GetServerFiles(const QString& path, const QStringList& lines);

    // Add the mounted volumes under the local root, and the subfolders of the
    // local folder keyed `root` under its node.
    void ParseDrives();
    void ParseFolders(const QString& root);
    // Fills the local list with the folder keyed `folderKey`.
    void ParseFiles(const QString& folderKey);

    Inet& Inet1() const { return *m_inet; }
    // An operation runs, one refused for an unverified peer is about to be
    // sent again, or a command is working through its items.
    bool isBusy() const;
    QString serverPath() const { return ServerPath; }
    bool filesOnly() const { return FilesOnly; }

public:
    // The positions of the splitters between the panes, for the next opening.
    QByteArray saveLayout() const;
    void restoreLayout(const QByteArray& state);

signals:
    // The text of each operation handed to the transfer control.
    void operationSent(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSurface();
    void arrange();

    // Handlers.
    void Command8_Click();
    void mnuConnect_Click();
    void close_Click();
    void Command7_Click();
    void Command3_Click();
    void Inet1_StateChanged(int state);
    void treeServer_Expand(QTreeWidgetItem* node);
    void treeServer_NodeClick(QTreeWidgetItem* node);
    void treeServer_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void treeClient_Expand(QTreeWidgetItem* node);
    void treeClient_NodeClick(QTreeWidgetItem* node);
    void fileList_MouseUp(QTreeWidget* list, Qt::MouseButton button, const QPoint& globalPos);
    void fileList_ColumnClick(QTreeWidget* list, int column);
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command5_Click();
    void mnuDelete_Click();
    void mnuCopy_Click();
    void mnuMove_Click();
    void mnuRename_Click();
    void mnuRefresh_Click();
    void lstServer_OLEDragDrop(const QStringList& localPaths);
    void lstClient_OLEDragDrop(const QStringList& remoteNames);

    // Steps 8 to 12 of a connect, after the three answers.
    void openServer(const QString& url, const QString& user, const QString& password);
    void addServerRoot();
    // Starts an operation; false when it was not sent (another one runs, or
    // it was refused).
    bool execute(const Operation& operation);
    bool operationRunning() const;
    void WaitWhileExecuting(bool busy);
    // Shows "Still Executing" and returns true while the control is busy.
    bool refusedWhileBusy();

    // Commands that work through several items, one operation after another.
    enum class Outcome { Done, Failed, Cancelled, NotSent };
    Outcome run(const Operation& operation, const QString& shownName = QString());
    // Each returns the entries fully transferred; a Cancel (button or
    // question) ends the rest.
    QStringList upload(const QStringList& localPaths);
    QStringList download(const QStringList& remoteNames);
    bool uploadOne(const QString& localPath);
    // The confirmed deletes of the selected items; false when cancelled.
    bool deleteSelectedRemote();
    bool deleteSelectedLocal();
    void renameRemote();
    void renameLocal();
    void transferMarked(bool move);
    // The selected local folder a download can land in, or empty.
    QString localFolder() const;
    QMimeData* lstClient_OLESetData() const;
    QMimeData* lstServer_OLESetData() const;
    void showProgress();
    void readReply();
    void addServerFiles(const QList<ItemRow>& files);
    // A certificate or host key that could not be verified: the user may
    // trust it for this session, and the operation is then sent again.
    void offerTrust();

public:
    // The surface, by their names.
    QLabel* Label2 = nullptr;
    QLabel* lblClientFolder = nullptr;
    QLabel* lblState = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblServerFolder = nullptr;
    QTreeWidget* treeClient = nullptr;
    QTreeWidget* lstClient = nullptr;
    QTreeWidget* treeServer = nullptr;
    QTreeWidget* lstServer = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* closeButton = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command7 = nullptr;
    QMenu* popFileMenu = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuDelete = nullptr;
    QAction* mnuMove = nullptr;
    QAction* mnuRename = nullptr;
    QAction* mnuRefresh = nullptr;
    QAction* mnuCancel = nullptr;
    QMenu* popServer = nullptr;
    QAction* mnuFile = nullptr;
    QAction* mnuConnect = nullptr;

private:
    Inet* m_inet = nullptr;
    ImageList imgList;
    std::unique_ptr<KeyedTree> m_clientNodes;
    std::unique_ptr<KeyedTree> m_serverNodes;
    std::unique_ptr<KeyedList> m_serverItems;
    std::unique_ptr<KeyedList> m_clientItems;
    QSplitter* m_panes = nullptr;
    QSplitter* m_localPanes = nullptr;
    QSplitter* m_remotePanes = nullptr;

    std::unique_ptr<LocalFileSystem> FileSystem;
    QString ServerPath;
    bool FilesOnly = false;

    std::optional<Operation> m_lastOperation;
    bool m_retryPending = false;
    std::optional<Outcome> m_outcome;   // of the last operation sent, once it ended
    int m_commandDepth = 0;             // commands working through their items
    bool m_cancelRequested = false;
    QString m_transferName;
    QTimer* m_progressTimer = nullptr;
};

}  // namespace orvane::ftp
