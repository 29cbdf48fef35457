// The control's commands that change files: transfers by drag and drop and
// from the file menu, and the remote and local file operations. Each runs its
// operations one after another; while it works, other clicks are refused.

#include "DragData.h"
#include "Inet.h"
#include "FileListView.h"
#include "KeyedTree.h"
#include "LocalListing.h"
#include "NameSafety.h"
#include "Prompts.h"
#include "ServerListing.h"
#include "TransferPlan.h"
#include "ftp.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QTreeWidget>

namespace orvane::ftp {

namespace {

// Marks a command as working through its items for as long as it runs.
class CommandScope {
public:
    CommandScope(int& depth, bool& cancelRequested) : m_depth(depth)
    {
        if (m_depth++ == 0)
            cancelRequested = false;
    }
    ~CommandScope() { --m_depth; }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    int& m_depth;
};

// The names of the selected entries, in the list's order.
QStringList selectedNames(const FileListView* list)
{
    QStringList names;
    for (int row : list->selectedRows())
        names << list->entries().entryAt(row).name;
    return names;
}

// The pane marker: "1" in the list the user right-clicked last.
QString tagOf(const FileListView* list)
{
    return list->property("Tag").toString();
}

void setTag(FileListView* list, const QString& tag)
{
    list->setProperty("Tag", tag);
}

// Whether to write over `name`: asked only when it exists; a Cancel also asks
// the command to stop.
bool mayWrite(bool exists, const QString& name, bool& cancelRequested)
{
    if (!exists)
        return true;
    const MsgResult answer = prompts().messageBox(
        QStringLiteral("Replace ") + name + QLatin1Char('?'), MsgButtons::YesNoCancel);
    if (answer == MsgResult::Cancel)
        cancelRequested = true;
    return answer == MsgResult::Yes;
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

}  // namespace

// ---- The command cycle of multi-item commands -----------------------------

ftp::Outcome ftp::run(const Operation& operation, const QString& shownName)
{
    if (!execute(operation))
        return Outcome::NotSent;
    if (!shownName.isEmpty()) {
        m_transferName = shownName;
        m_progressTimer->start();
    }
    WaitWhileExecuting(m_inet->StillExecuting());
    m_progressTimer->stop();
    if (m_cancelRequested)
        return Outcome::Cancelled;
    return m_outcome.value_or(Outcome::Cancelled);
}

void ftp::showProgress()
{
    if (!m_inet->StillExecuting())
        return;
    m_lblState->setText(progressText(m_transferName, m_inet->bytesDone(), m_inet->bytesTotal()));
}

// ---- Transfers --------------------------------------------------------------

QString ftp::localFolder() const
{
    const QString key = KeyedTree::keyOf(m_treeClient->currentItem());
    if (key.isEmpty() || key == QLatin1String("root") || !QFileInfo(key).isDir())
        return QString();
    return key.endsWith(QLatin1Char('/')) ? key : key + QLatin1Char('/');
}

void ftp::lstServer_OLEDragDrop(const QStringList& localPaths)
{
    if (refusedWhileBusy())
        return;
    upload(localPaths);
}

void ftp::lstClient_OLEDragDrop(const QStringList& remoteNames)
{
    if (refusedWhileBusy())
        return;
    download(remoteNames);
}

QStringList ftp::upload(const QStringList& localPaths)
{
    CommandScope scope(m_commandDepth, m_cancelRequested);
    QStringList done;
    for (const QString& path : localPaths) {
        const QString name = QFileInfo(withoutTrailingSlash(path)).fileName();
        if (!mayWrite(m_lstServer->entries().contains(name), name, m_cancelRequested)) {
            if (m_cancelRequested)
                break;
            continue;
        }
        if (uploadOne(path))
            done << path;
        if (m_cancelRequested)
            break;
    }
    return done;
}

bool ftp::uploadOne(const QString& localPath)
{
    const QString prefix = pathPrefix(m_serverPath);
    const QFileInfo top(withoutTrailingSlash(localPath));
    const QList<UploadStep> steps = uploadSteps(localPath, prefix);
    // A folder the remote tree already shows is not made again.
    const bool folderShown =
        m_serverNodes->node(serverFolderKey(m_serverPath, top.fileName() + QLatin1Char('/')));
    bool allDone = true;
    for (const UploadStep& step : steps) {
        Outcome outcome = Outcome::Done;
        if (step.kind == UploadStep::Kind::MakeFolder) {
            if (!folderShown || step.remote != prefix + top.fileName())
                outcome = run(Operation::mkdir(step.remote));
            // A folder that could not be made may exist already: its files
            // are tried all the same, and report their own failures.
            if (outcome == Outcome::Failed)
                outcome = Outcome::Done;
        } else {
            outcome = run(Operation::put(step.local, step.remote), QFileInfo(step.local).fileName());
        }
        if (outcome == Outcome::Cancelled || outcome == Outcome::NotSent)
            return false;
        allDone = allDone && outcome == Outcome::Done;
    }
    if (allDone && !steps.isEmpty() && steps.first().kind == UploadStep::Kind::Send) {
        m_lstServer->entries().add({{top.fileName()}});
    }
    return allDone && !steps.isEmpty();
}

QStringList ftp::download(const QStringList& remoteNames)
{
    CommandScope scope(m_commandDepth, m_cancelRequested);
    QStringList done;
    const QString folder = localFolder();
    if (folder.isEmpty()) {
        prompts().messageBox(QStringLiteral(
            "Choose a local folder first: click the folder in the local tree where the files "
            "should go, then drop them again."));
        return done;
    }
    const long maxName = maxLocalNameBytes(folder);
    const QString prefix = pathPrefix(m_serverPath);
    for (const QString& name : remoteNames) {
        const QString why = unsafeLocalNameReason(name, maxName);
        if (!why.isEmpty()) {
            prompts().messageBox(QStringLiteral("\"%1\" was not downloaded: %2.")
                                     .arg(shownName(name), why));
            continue;
        }
        const QString target = folder + name;
        if (!mayWrite(QFileInfo::exists(target) || QFileInfo(target).isSymLink(), name,
                      m_cancelRequested)) {
            if (m_cancelRequested)
                break;
            continue;
        }
        const Outcome outcome = run(Operation::get(prefix + name, target), name);
        if (outcome == Outcome::Done) {
            done << name;
            // Shown when the list shows that folder.
            FileListModel& list = m_lstClient->entries();
            if (list.folderKey() == folder)
                list.add({{name, QFileInfo(target).size()}});
        }
        if (outcome == Outcome::Cancelled)
            break;
    }
    return done;
}

// ---- Remote file operations -------------------------------------------------

void ftp::Command1_Click()
{
    if (refusedWhileBusy())
        return;
    const InputAnswer answer = prompts().inputBox(QStringLiteral("Name of Directory"), QString());
    if (!answer.accepted || answer.text.isEmpty())
        return;
    execute(Operation::mkdir(pathPrefix(m_serverPath) + answer.text));
}

bool ftp::deleteSelectedRemote()
{
    CommandScope scope(m_commandDepth, m_cancelRequested);
    const QString prefix = pathPrefix(m_serverPath);
    for (const QString& name : selectedNames(m_lstServer)) {
        const MsgResult answer = prompts().messageBox(
            QStringLiteral("Delete ") + name + QLatin1Char('?'), MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel)
            return false;
        if (answer == MsgResult::Yes && run(Operation::remove(prefix + name)) == Outcome::Cancelled)
            return false;
    }
    return true;
}

void ftp::Command2_Click()
{
    if (refusedWhileBusy())
        return;
    // Acts unless the local list was right-clicked last ("0" here).
    bool number = false;
    const int mark = tagOf(m_lstServer).toInt(&number);
    if (number && mark != 1)
        return;
    deleteSelectedRemote();
}

void ftp::Command4_Click()
{
    if (refusedWhileBusy())
        return;
    renameRemote();
}

void ftp::renameRemote()
{
    const int row = m_lstServer->selectedRow();
    if (row < 0) {
        prompts().messageBox(QStringLiteral("Select the file to rename in the remote list first."));
        return;
    }
    const InputAnswer answer = prompts().inputBox(QStringLiteral("Enter Name"), QString());
    if (!answer.accepted || answer.text.isEmpty())
        return;
    CommandScope scope(m_commandDepth, m_cancelRequested);
    const QString prefix = pathPrefix(m_serverPath);
    run(Operation::rename(prefix + m_lstServer->entries().entryAt(row).name, prefix + answer.text));
}

void ftp::Command5_Click()
{
    if (refusedWhileBusy())
        return;
    const MsgResult answer = prompts().messageBox(
        QStringLiteral("Delete This Directory: ") + m_serverPath + QLatin1Char('?'),
        MsgButtons::YesNoCancel);
    if (answer != MsgResult::Yes)
        return;
    {
        CommandScope scope(m_commandDepth, m_cancelRequested);
        run(Operation::rmdir(pathPrefix(m_serverPath)));
    }
    m_serverPath = QString(kRootKey);
    m_serverNodes->clear();
    addServerRoot();
    execute(Operation::dir());
    if (QTreeWidgetItem* root = m_serverNodes->node(QString(kRootKey)))
        root->setExpanded(true);
}

// ---- Local file operations --------------------------------------------------

bool ftp::deleteSelectedLocal()
{
    const FileListModel& list = m_lstClient->entries();
    for (int row : m_lstClient->selectedRows()) {
        const MsgResult answer = prompts().messageBox(
            QStringLiteral("Delete ") + list.entryAt(row).name + QLatin1Char('?'), MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel)
            return false;
        if (answer != MsgResult::Yes)
            continue;
        const QString path = list.pathAt(row);
        const QString why = deleteLocalFile(path);
        if (!why.isEmpty())
            prompts().messageBox(QStringLiteral("%1 was not deleted: %2.").arg(path, why));
    }
    return true;
}

void ftp::renameLocal()
{
    FileListModel& list = m_lstClient->entries();
    const int row = m_lstClient->selectedRow();
    if (row < 0)
        return;
    const InputAnswer answer = prompts().inputBox(QStringLiteral("Enter Name"), QString());
    if (!answer.accepted || answer.text.isEmpty())
        return;
    const FileEntry entry = list.entryAt(row);
    const QString from = list.pathAt(row);
    const QString folder = QFileInfo(from).absolutePath();
    const QString why = unsafeLocalNameReason(answer.text, maxLocalNameBytes(folder));
    const QString to = QDir(folder).filePath(answer.text);
    QString failure = why;
    if (failure.isEmpty() && (QFileInfo::exists(to) || QFileInfo(to).isSymLink()))
        failure = QStringLiteral("that name exists already");
    if (failure.isEmpty() && !QDir().rename(from, to))
        failure = QStringLiteral("the file system refused it");
    if (!failure.isEmpty()) {
        prompts().messageBox(QStringLiteral("%1 was not renamed: %2.").arg(from, failure));
        return;
    }
    list.remove({entry.name});
    list.add({{answer.text, entry.size, entry.folder}});
}

// ---- The file lists' menu and selection --------------------------------------

void ftp::fileList_MouseUp(FileListView* list, Qt::MouseButton button, const QPoint& globalPos)
{
    if (button != Qt::RightButton || refusedWhileBusy())
        return;
    FileListView* other = list == m_lstClient ? m_lstServer : m_lstClient;
    setTag(list, QStringLiteral("1"));
    setTag(other, QStringLiteral("0"));
    const int row = list->selectedRow();
    if (row < 0)
        return;
    if (!list->entries().entryAt(row).folder)
        m_popFileMenu->popup(globalPos);
    else
        prompts().messageBox(QStringLiteral("you right clicked a folder"));
}

void ftp::fileList_ColumnClick(FileListView* list, int column)
{
    // Every click sorts ascending by that column; entries added later go to
    // their places.
    list->header()->setSortIndicatorShown(true);
    list->header()->setSortIndicator(column, Qt::AscendingOrder);
    list->entries().sort(column);
}

void ftp::mnuDelete_Click()
{
    if (refusedWhileBusy())
        return;
    if (tagOf(m_lstServer) == QLatin1String("1")) {
        if (!deleteSelectedRemote())
            return;
    } else if (tagOf(m_lstClient) == QLatin1String("1")) {
        if (!deleteSelectedLocal())
            return;
    }
    setTag(m_lstClient, QStringLiteral("0"));
    setTag(m_lstServer, QStringLiteral("0"));
}

void ftp::mnuCopy_Click()
{
    if (refusedWhileBusy())
        return;
    transferMarked(false);
}

void ftp::mnuMove_Click()
{
    if (refusedWhileBusy())
        return;
    transferMarked(true);
}

void ftp::transferMarked(bool move)
{
    CommandScope scope(m_commandDepth, m_cancelRequested);
    if (tagOf(m_lstClient) == QLatin1String("1")) {
        FileListModel& list = m_lstClient->entries();
        QStringList paths;
        for (int row : m_lstClient->selectedRows())
            paths << list.pathAt(row);
        const QStringList sent = upload(paths);
        if (!move)
            return;
        // Only files leave the local side; a folder stays where it was.
        QStringList deleted;
        for (const QString& path : sent) {
            if (QFileInfo(path).isDir())
                continue;
            const QString why = deleteLocalFile(path);
            if (why.isEmpty())
                deleted << QFileInfo(path).fileName();
            else
                prompts().messageBox(QStringLiteral("%1 was not deleted: %2.").arg(path, why));
        }
        list.remove(deleted);
    } else if (tagOf(m_lstServer) == QLatin1String("1")) {
        const QStringList fetched = download(selectedNames(m_lstServer));
        if (!move)
            return;
        const QString prefix = pathPrefix(m_serverPath);
        QStringList deleted;
        for (const QString& name : fetched) {
            if (m_cancelRequested)
                break;
            if (run(Operation::remove(prefix + name)) == Outcome::Done)
                deleted << name;
        }
        m_lstServer->entries().remove(deleted);
    }
}

void ftp::mnuRename_Click()
{
    if (refusedWhileBusy())
        return;
    if (tagOf(m_lstServer) == QLatin1String("1"))
        renameRemote();
    else if (tagOf(m_lstClient) == QLatin1String("1"))
        renameLocal();
}

void ftp::mnuRefresh_Click()
{
    if (refusedWhileBusy())
        return;
    if (tagOf(m_lstClient) == QLatin1String("1")) {
        if (QTreeWidgetItem* node = m_treeClient->currentItem())
            treeClient_NodeClick(node);
    } else if (tagOf(m_lstServer) == QLatin1String("1")) {
        if (QTreeWidgetItem* node = m_serverNodes->node(m_serverPath))
            treeServer_NodeClick(node);
    }
}

}  // namespace orvane::ftp
