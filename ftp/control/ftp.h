#pragma once
// ftp: the FTP publishing control. A local pane (folder tree treeClient beside
// file list lstClient) and a remote pane (treeServer beside lstServer) over
// one transfer control Inet1 that runs one operation at a time. Everything
// starts from the user's clicks inside the control; its prompts go through
// orvane::prompts(). Its widgets carry those names as object names.

#include "DesignLayout.h"
#include "FtpOperation.h"
#include "ImageList.h"
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

    // Add the folders (tree nodes) of a listing of the remote folder keyed
    // `path`.
    void GetServerFolders(const QString& path, const Listing& listing);

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
    QString serverPath() const { return m_serverPath; }

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
    void fileList_MouseUp(FileListView* list, Qt::MouseButton button, const QPoint& globalPos);
    void fileList_ColumnClick(FileListView* list, int column);
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
    void showProgress();
    void readReply();
    // A certificate or host key that could not be verified: the user may
    // trust it for this session, and the operation is then sent again.
    void offerTrust();

    // The surface.
    QLabel* m_label2 = nullptr;
    QLabel* m_lblClientFolder = nullptr;
    QLabel* m_lblState = nullptr;
    QLabel* m_label3 = nullptr;
    QLabel* m_lblServerFolder = nullptr;
    QTreeWidget* m_treeClient = nullptr;
    FileListView* m_lstClient = nullptr;
    QTreeWidget* m_treeServer = nullptr;
    FileListView* m_lstServer = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command4 = nullptr;
    QPushButton* m_command5 = nullptr;
    QPushButton* m_command2 = nullptr;
    QPushButton* m_command3 = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_command8 = nullptr;
    QPushButton* m_command7 = nullptr;
    QMenu* m_popFileMenu = nullptr;
    QAction* m_mnuCopy = nullptr;
    QAction* m_mnuDelete = nullptr;
    QAction* m_mnuMove = nullptr;
    QAction* m_mnuRename = nullptr;
    QAction* m_mnuRefresh = nullptr;
    QAction* m_mnuCancel = nullptr;
    QMenu* m_popServer = nullptr;
    QAction* m_mnuFile = nullptr;
    QAction* m_mnuConnect = nullptr;

    Inet* m_inet = nullptr;
    ImageList m_imgList;
    std::unique_ptr<KeyedTree> m_clientNodes;
    std::unique_ptr<KeyedTree> m_serverNodes;
    QSplitter* m_panes = nullptr;
    QSplitter* m_localPanes = nullptr;
    QSplitter* m_remotePanes = nullptr;

    std::unique_ptr<LocalFileSystem> m_fileSystem;
    QString m_serverPath;

    std::optional<Operation> m_lastOperation;
    bool m_retryPending = false;
    std::optional<Outcome> m_outcome;   // of the last operation sent, once it ended
    int m_commandDepth = 0;             // commands working through their items
    bool m_cancelRequested = false;
    QString m_transferName;
    QTimer* m_progressTimer = nullptr;
};

}  // namespace orvane::ftp
