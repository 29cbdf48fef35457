// The control's commands that change files: transfers by drag and drop and
// from the file menu, and the remote and local file operations. Each runs its
// operations one after another; while it works, other clicks are refused.

#include "DragData.h"
#include "Inet.h"
#include "KeyedList.h"
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

const QString kFileTag = QStringLiteral("File");

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

QTreeWidgetItem* selectedItem(const QTreeWidget* list)
{
    QTreeWidgetItem* current = list->currentItem();
    if (current && current->isSelected())
        return current;
    return list->selectedItems().value(0);
}

QList<QTreeWidgetItem*> selectedInListOrder(const QTreeWidget* list)
{
    QList<QTreeWidgetItem*> out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->isSelected())
            out << list->topLevelItem(i);
    }
    return out;
}

// The pane marker: "1" in the list the user right-clicked last.
QString tagOf(const QTreeWidget* list)
{
    return list->property("Tag").toString();
}

void setTag(QTreeWidget* list, const QString& tag)
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
    lblState->setText(progressText(m_transferName, m_inet->bytesDone(), m_inet->bytesTotal()));
}

// ---- Transfers --------------------------------------------------------------

QString ftp::localFolder() const
{
    const QString key = KeyedTree::keyOf(treeClient->currentItem());
    if (key.isEmpty() || key == QLatin1String("root") || !QFileInfo(key).isDir())
        return QString();
    return key.endsWith(QLatin1Char('/')) ? key : key + QLatin1Char('/');
}

QMimeData* ftp::lstClient_OLESetData() const
{
    QStringList paths;
    for (QTreeWidgetItem* item : selectedInListOrder(lstClient))
        paths << withoutTrailingSlash(KeyedList::keyOf(item));
    return localFilesData(paths);
}

QMimeData* ftp::lstServer_OLESetData() const
{
    QStringList names;
    for (QTreeWidgetItem* item : selectedInListOrder(lstServer))
        names << item->text(0);
    return remoteNamesData(names);
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
        const bool shown = !lstServer->findItems(name, Qt::MatchFixedString | Qt::MatchCaseSensitive).isEmpty();
        if (!mayWrite(shown, name, m_cancelRequested)) {
            if (m_cancelRequested)
                break;
            continue;
        }
        if (uploadOne(path))
            done << path;
        if (m_cancelRequested)
            break;
    }
    lstServer->viewport()->update();
    return done;
}

bool ftp::uploadOne(const QString& localPath)
{
    const QString prefix = pathPrefix(ServerPath);
    const QFileInfo top(withoutTrailingSlash(localPath));
    const QList<UploadStep> steps = uploadSteps(localPath, prefix);
    // A folder the remote tree already shows is not made again.
    const bool folderShown =
        m_serverNodes->node(serverFolderKey(ServerPath, top.fileName() + QLatin1Char('/')));
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
        m_serverItems->add({{ServerPath + top.fileName(), top.fileName(), kFileTag,
                             fileTypeOf(top.fileName()), QString()}});
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
    const QString prefix = pathPrefix(ServerPath);
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
            m_clientItems->add({{target, name, kFileTag, fileTypeOf(name), QString()}});
        }
        if (outcome == Outcome::Cancelled)
            break;
    }
    lstClient->viewport()->update();
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
    execute(Operation::mkdir(pathPrefix(ServerPath) + answer.text));
}

bool ftp::deleteSelectedRemote()
{
    CommandScope scope(m_commandDepth, m_cancelRequested);
    const QString prefix = pathPrefix(ServerPath);
    for (QTreeWidgetItem* item : selectedInListOrder(lstServer)) {
        const QString name = item->text(0);
        const MsgResult answer = prompts().messageBox(
            QStringLiteral("Delete ") + name + QLatin1Char('?'), MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel)
            return false;
        if (answer == MsgResult::Yes && run(Operation::remove(prefix + name)) == Outcome::Cancelled)
            return false;
    }
    lstServer->viewport()->update();
    return true;
}

void ftp::Command2_Click()
{
    if (refusedWhileBusy())
        return;
    // Acts unless the local list was right-clicked last ("0" here).
    bool number = false;
    const int mark = tagOf(lstServer).toInt(&number);
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
    QTreeWidgetItem* item = selectedItem(lstServer);
    if (!item) {
        prompts().messageBox(QStringLiteral("Select the file to rename in the remote list first."));
        return;
    }
    const InputAnswer answer = prompts().inputBox(QStringLiteral("Enter Name"), QString());
    if (!answer.accepted || answer.text.isEmpty())
        return;
    CommandScope scope(m_commandDepth, m_cancelRequested);
    const QString prefix = pathPrefix(ServerPath);
    run(Operation::rename(prefix + item->text(0), prefix + answer.text));
}

void ftp::Command5_Click()
{
    if (refusedWhileBusy())
        return;
    const MsgResult answer = prompts().messageBox(
        QStringLiteral("Delete This Directory: ") + ServerPath + QLatin1Char('?'),
        MsgButtons::YesNoCancel);
    if (answer != MsgResult::Yes)
        return;
    {
        CommandScope scope(m_commandDepth, m_cancelRequested);
        run(Operation::rmdir(pathPrefix(ServerPath)));
    }
    FilesOnly = false;
    ServerPath = QString(kRootKey);
    m_serverNodes->clear();
    addServerRoot();
    execute(Operation::dir());
    if (QTreeWidgetItem* root = m_serverNodes->node(QString(kRootKey)))
        root->setExpanded(true);
}

// ---- Local file operations --------------------------------------------------

bool ftp::deleteSelectedLocal()
{
    for (QTreeWidgetItem* item : selectedInListOrder(lstClient)) {
        const MsgResult answer = prompts().messageBox(
            QStringLiteral("Delete ") + item->text(0) + QLatin1Char('?'), MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel)
            return false;
        if (answer != MsgResult::Yes)
            continue;
        const QString path = withoutTrailingSlash(KeyedList::keyOf(item));
        const QString why = deleteLocalFile(path);
        if (!why.isEmpty())
            prompts().messageBox(QStringLiteral("%1 was not deleted: %2.").arg(path, why));
    }
    lstClient->viewport()->update();
    return true;
}

void ftp::renameLocal()
{
    QTreeWidgetItem* item = selectedItem(lstClient);
    if (!item)
        return;
    const InputAnswer answer = prompts().inputBox(QStringLiteral("Enter Name"), QString());
    if (!answer.accepted || answer.text.isEmpty())
        return;
    const QString from = withoutTrailingSlash(KeyedList::keyOf(item));
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
    const QString tag = KeyedList::tagOf(item);
    m_clientItems->remove(KeyedList::keyOf(item));
    const bool folderItem = tag == QLatin1String("Folder");
    const QFileInfo renamed(to);
    m_clientItems->add({{folderItem ? to + QLatin1Char('/') : to, answer.text, tag,
                         folderItem ? QStringLiteral("File Folder") : fileTypeOf(answer.text),
                         folderItem ? QString() : QString::number(renamed.size())}});
}

// ---- The file lists' menu and selection --------------------------------------

void ftp::fileList_MouseUp(QTreeWidget* list, Qt::MouseButton button, const QPoint& globalPos)
{
    if (button != Qt::RightButton || refusedWhileBusy())
        return;
    QTreeWidget* other = list == lstClient ? lstServer : lstClient;
    setTag(list, QStringLiteral("1"));
    setTag(other, QStringLiteral("0"));
    QTreeWidgetItem* item = selectedItem(list);
    if (!item)
        return;
    if (KeyedList::tagOf(item) == kFileTag)
        popFileMenu->popup(globalPos);
    else
        prompts().messageBox(QStringLiteral("you right clicked a folder"));
}

void ftp::fileList_ColumnClick(QTreeWidget* list, int column)
{
    // Every click sorts ascending by that column; later items keep the order.
    list->header()->setSortIndicator(column, Qt::AscendingOrder);
    list->sortItems(column, Qt::AscendingOrder);
    list->setSortingEnabled(true);
}

void ftp::mnuDelete_Click()
{
    if (refusedWhileBusy())
        return;
    if (tagOf(lstServer) == QLatin1String("1")) {
        if (!deleteSelectedRemote())
            return;
    } else if (tagOf(lstClient) == QLatin1String("1")) {
        if (!deleteSelectedLocal())
            return;
    }
    setTag(lstClient, QStringLiteral("0"));
    setTag(lstServer, QStringLiteral("0"));
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
    if (tagOf(lstClient) == QLatin1String("1")) {
        QHash<QString, QString> keyOfPath;
        QStringList paths;
        for (QTreeWidgetItem* item : selectedInListOrder(lstClient)) {
            const QString path = withoutTrailingSlash(KeyedList::keyOf(item));
            keyOfPath.insert(path, KeyedList::keyOf(item));
            paths << path;
        }
        const QStringList sent = upload(paths);
        if (!move)
            return;
        // Only files leave the local side; a folder stays where it was.
        for (const QString& path : sent) {
            if (QFileInfo(path).isDir())
                continue;
            const QString why = deleteLocalFile(path);
            if (why.isEmpty())
                m_clientItems->remove(keyOfPath.value(path));
            else
                prompts().messageBox(QStringLiteral("%1 was not deleted: %2.").arg(path, why));
        }
    } else if (tagOf(lstServer) == QLatin1String("1")) {
        QStringList names;
        for (QTreeWidgetItem* item : selectedInListOrder(lstServer))
            names << item->text(0);
        const QStringList fetched = download(names);
        if (!move)
            return;
        const QString prefix = pathPrefix(ServerPath);
        for (const QString& name : fetched) {
            if (m_cancelRequested)
                return;
            if (run(Operation::remove(prefix + name)) == Outcome::Done)
                m_serverItems->remove(ServerPath + name);
        }
    }
}

void ftp::mnuRename_Click()
{
    if (refusedWhileBusy())
        return;
    if (tagOf(lstServer) == QLatin1String("1"))
        renameRemote();
    else if (tagOf(lstClient) == QLatin1String("1"))
        renameLocal();
}

void ftp::mnuRefresh_Click()
{
    if (refusedWhileBusy())
        return;
    if (tagOf(lstClient) == QLatin1String("1")) {
        if (QTreeWidgetItem* node = treeClient->currentItem())
            treeClient_NodeClick(node);
    } else if (tagOf(lstServer) == QLatin1String("1")) {
        if (QTreeWidgetItem* node = m_serverNodes->node(ServerPath))
            treeServer_NodeClick(node);
    }
}

}  // namespace orvane::ftp
