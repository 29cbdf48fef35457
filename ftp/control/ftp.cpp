#include "ftp.h"

#include "FileListView.h"
#include "Inet.h"
#include "ServerAddress.h"
#include "ItemRoles.h"
#include "LocalListing.h"
#include "LocalVolumes.h"
#include "Prompts.h"
#include "ServerListing.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QGridLayout>
#include <QSplitter>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace orvane::ftp {

namespace {

const QString kPromptTitle = QStringLiteral("Orvane FTP");
const QString kLocalRootKey = QStringLiteral("root");
const QString kSystemDriveKey = QStringLiteral("/");

QTreeWidget* makeTree(QWidget* parent, const char* name)
{
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(QLatin1String(name));
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    // Names are never cut short: a narrow tree scrolls sideways instead.
    tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree->header()->setStretchLastSection(false);
    tree->setIconSize(QSize(ImageList::kSize, ImageList::kSize));
    return tree;
}

FileListView* makeList(QWidget* parent, const char* name, FileListView::Takes takes)
{
    auto* list = new FileListView(takes, parent);
    list->setObjectName(QLatin1String(name));
    list->setIconSize(QSize(ImageList::kSize, ImageList::kSize));
    return list;
}

}  // namespace

ftp::ftp(QWidget* parent) : QWidget(parent), m_inet(new Inet(this)), m_imgList(style())
{
    buildSurface();
    m_clientNodes = std::make_unique<KeyedTree>(m_treeClient, &m_imgList);
    m_serverNodes = std::make_unique<KeyedTree>(m_treeServer, &m_imgList);
    m_lstClient->entries().setFolderIcon(m_imgList.icon(kFolderImage));
    connect(m_inet, &Inet::StateChanged, this, &ftp::Inet1_StateChanged);
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &ftp::showProgress);
    resize(designSize().expandedTo(minimumSizeHint()));
}

ftp::~ftp()
{
    // Shutting down cancels what runs, and reports nothing any more.
    disconnect(m_inet, nullptr, this, nullptr);
    m_inet->Cancel();
}

void ftp::buildSurface()
{
    auto label = [this](const char* name, const QString& caption) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };

    m_label2 = label("Label2", QStringLiteral("Local System:"));
    m_lblClientFolder = label("lblClientFolder", QString());
    m_lblClientFolder->hide();
    m_lblState = label("lblState", QString());
    m_label3 = label("Label3", QStringLiteral("Remote System:"));
    m_lblServerFolder = label("lblServerFolder", QString());

    m_treeClient = makeTree(this, "treeClient");
    m_lstClient = makeList(this, "lstClient", FileListView::Takes::RemoteNames);
    m_treeServer = makeTree(this, "treeServer");
    m_lstServer = makeList(this, "lstServer", FileListView::Takes::LocalFiles);

    m_command1 = button("Command1", QStringLiteral("&MkDir"));
    m_command4 = button("Command4", QStringLiteral("R&ename"));
    m_command5 = button("Command5", QStringLiteral("RmD&ir"));
    m_command2 = button("Command2", QStringLiteral("&Delete"));
    m_command3 = button("Command3", QStringLiteral("&Refresh"));
    m_closeButton = button("close", QStringLiteral("&Close"));
    m_command8 = button("Command8", QStringLiteral("C&onnect"));
    m_command7 = button("Command7", QStringLiteral("C&ancel"));
    arrange();

    m_popFileMenu = new QMenu(this);
    m_popFileMenu->setObjectName(QStringLiteral("popFileMenu"));
    auto menuItem = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    m_mnuCopy = menuItem(m_popFileMenu, "mnuCopy", QStringLiteral("&Copy"));
    m_mnuDelete = menuItem(m_popFileMenu, "mnuDelete", QStringLiteral("&Delete"));
    m_mnuMove = menuItem(m_popFileMenu, "mnuMove", QStringLiteral("&Move"));
    m_mnuRename = menuItem(m_popFileMenu, "mnuRename", QStringLiteral("&Rename"));
    m_mnuRefresh = menuItem(m_popFileMenu, "mnuRefresh", QStringLiteral("&Refresh"));
    // Choosing it closes the menu, which is all it is for.
    m_mnuCancel = menuItem(m_popFileMenu, "mnuCancel", QStringLiteral("&Cancel"));

    m_popServer = new QMenu(this);
    m_popServer->setObjectName(QStringLiteral("popServer"));
    m_mnuFile = m_popServer->addAction(QStringLiteral("&File"));
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
    m_mnuConnect = m_popServer->addAction(QStringLiteral("&Connect"));
    m_mnuConnect->setObjectName(QStringLiteral("mnuConnect"));

    connect(m_command8, &QPushButton::clicked, this, &ftp::Command8_Click);
    connect(m_closeButton, &QPushButton::clicked, this, &ftp::close_Click);
    connect(m_command7, &QPushButton::clicked, this, &ftp::Command7_Click);
    connect(m_command3, &QPushButton::clicked, this, &ftp::Command3_Click);
    connect(m_mnuConnect, &QAction::triggered, this, &ftp::mnuConnect_Click);
    connect(m_command1, &QPushButton::clicked, this, &ftp::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &ftp::Command2_Click);
    connect(m_command4, &QPushButton::clicked, this, &ftp::Command4_Click);
    connect(m_command5, &QPushButton::clicked, this, &ftp::Command5_Click);
    connect(m_mnuDelete, &QAction::triggered, this, &ftp::mnuDelete_Click);
    connect(m_mnuCopy, &QAction::triggered, this, &ftp::mnuCopy_Click);
    connect(m_mnuMove, &QAction::triggered, this, &ftp::mnuMove_Click);
    connect(m_mnuRename, &QAction::triggered, this, &ftp::mnuRename_Click);
    connect(m_mnuRefresh, &QAction::triggered, this, &ftp::mnuRefresh_Click);
    connect(m_treeClient, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { treeClient_NodeClick(node); });
    connect(m_lstServer, &FileListView::localFilesDropped, this, &ftp::lstServer_OLEDragDrop);
    connect(m_lstClient, &FileListView::remoteNamesDropped, this, &ftp::lstClient_OLEDragDrop);
    for (FileListView* list : {m_lstClient, m_lstServer}) {
        list->viewport()->installEventFilter(this);
        connect(list->header(), &QHeaderView::sectionClicked, this,
                [this, list](int column) { fileList_ColumnClick(list, column); });
    }
    connect(m_treeServer, &QTreeWidget::itemExpanded, this, &ftp::treeServer_Expand);
    connect(m_treeServer, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { treeServer_NodeClick(node); });
    connect(m_treeClient, &QTreeWidget::itemExpanded, this, &ftp::treeClient_Expand);
    m_treeServer->viewport()->installEventFilter(this);
}

void ftp::arrange()
{
    // Each side: its caption over its tree and list; the two sides share the
    // width through a splitter, starting at the designed widths.
    auto side = [this](QList<QWidget*> captions, QTreeWidget* tree, QTreeView* list,
                       QSplitter*& split) {
        auto* box = new QWidget(this);
        auto* column = new QVBoxLayout(box);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        auto* row = new QHBoxLayout;
        for (QWidget* caption : captions)
            row->addWidget(caption);
        row->addStretch(1);
        column->addLayout(row);
        split = new QSplitter(Qt::Horizontal, box);
        split->addWidget(tree);
        split->addWidget(list);
        split->setChildrenCollapsible(false);
        split->setSizes({tree->width(), list->width()});
        column->addWidget(split, 1);
        return box;
    };
    m_treeClient->resize(px(1695), 0);
    m_lstClient->resize(px(2055), 0);
    m_treeServer->resize(px(2415), 0);
    m_lstServer->resize(px(2895), 0);
    m_panes = new QSplitter(Qt::Horizontal, this);
    m_panes->setObjectName(QStringLiteral("panes"));
    m_panes->setChildrenCollapsible(false);
    m_panes->addWidget(side({m_label2, m_lblClientFolder, m_lblState}, m_treeClient, m_lstClient, m_localPanes));
    m_panes->addWidget(side({m_label3, m_lblServerFolder}, m_treeServer, m_lstServer, m_remotePanes));
    m_panes->setSizes({m_localPanes->sizes().value(0) + m_localPanes->sizes().value(1),
                       m_remotePanes->sizes().value(0) + m_remotePanes->sizes().value(1)});

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_command1, m_command4, m_command5})
        buttons->addWidget(b);
    buttons->addSpacing(px(465));
    buttons->addWidget(m_command2);
    buttons->addWidget(m_command3);
    buttons->addStretch(1);
    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {m_closeButton, m_command8, m_command7})
        bottom->addWidget(b);
    bottom->addStretch(1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(px(120), 0, 0, 0);
    grid->addWidget(m_panes, 0, 0);
    grid->addLayout(buttons, 0, 1);
    grid->addLayout(bottom, 1, 0, 1, 2);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);
}

QByteArray ftp::saveLayout() const
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << m_panes->saveState() << m_localPanes->saveState() << m_remotePanes->saveState();
    return state;
}

void ftp::restoreLayout(const QByteArray& state)
{
    QDataStream in(state);
    QByteArray panes, local, remote;
    in >> panes >> local >> remote;
    if (in.status() != QDataStream::Ok)
        return;
    m_panes->restoreState(panes);
    m_localPanes->restoreState(local);
    m_remotePanes->restoreState(remote);
}

bool ftp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->globalPosition().toPoint();
        if (watched == m_treeServer->viewport())
            treeServer_MouseUp(mouse->button(), at);
        else if (watched == m_lstClient->viewport())
            fileList_MouseUp(m_lstClient, mouse->button(), at);
        else if (watched == m_lstServer->viewport())
            fileList_MouseUp(m_lstServer, mouse->button(), at);
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Properties ---------------------------------------------------------

void ftp::setURL(const QString& text)
{
    if (!parseServerAddress(text).isValid()) {
        prompts().messageBox(
            QStringLiteral("The URL you have entered is invalid. Please check and try again."));
        return;
    }
    m_inet->setURL(text);
}

void ftp::setLoginName(const QString& text)
{
    if (!text.isEmpty())
        m_inet->setUserName(text);
}

void ftp::setPassword(const QString& text)
{
    if (text.isEmpty()) {
        prompts().messageBox(QStringLiteral("You must enter a password. Check and try again."));
        return;
    }
    m_inet->setPassword(text);
}

// ---- Connecting ---------------------------------------------------------

void ftp::Command8_Click()
{
    if (refusedWhileBusy())
        return;
    m_fileSystem = std::make_unique<LocalFileSystem>();
    m_clientNodes->add(QString(), {kLocalRootKey, QStringLiteral("MyComputer"), kRootImage});
    ParseDrives();
    if (QTreeWidgetItem* root = m_clientNodes->node(kLocalRootKey))
        root->setExpanded(true);
    if (QTreeWidgetItem* system = m_clientNodes->node(kSystemDriveKey))
        system->setExpanded(true);

    m_serverNodes->clear();
    const InputAnswer url = prompts().inputBox(QStringLiteral("Enter URL to Connect"), kPromptTitle);
    const InputAnswer user = prompts().inputBox(QStringLiteral("Enter Username"), kPromptTitle);
    const InputAnswer password = prompts().inputBox(QStringLiteral("Enter Password"), kPromptTitle,
                                                    QString(), InputEcho::Password);
    openServer(url.text, user.text, password.text);
}

void ftp::mnuConnect_Click()
{
    if (refusedWhileBusy())
        return;
    m_serverNodes->clear();
    const InputAnswer url = prompts().inputBox(QStringLiteral("Enter URL to Connect"), kPromptTitle,
                                               QStringLiteral("127.0.0.1"));
    const InputAnswer user = prompts().inputBox(QStringLiteral("Enter Username"), kPromptTitle,
                                                QStringLiteral("anonymous"));
    const InputAnswer password = prompts().inputBox(QStringLiteral("Enter Password"), kPromptTitle,
                                                    QStringLiteral("guest"), InputEcho::Password);
    openServer(url.text, user.text, password.text);
}

void ftp::openServer(const QString& url, const QString& user, const QString& password)
{
    setURL(url);
    setLoginName(user);
    setPassword(password);
    m_serverPath = QString(kRootKey);
    // The list showed a folder of the previous connection; the new root's
    // files replace it.
    m_lstServer->entries().reset(QString(kRootKey));
    addServerRoot();
    execute(Operation::dir());
    if (QTreeWidgetItem* root = m_serverNodes->node(QString(kRootKey)))
        root->setExpanded(true);
}

void ftp::addServerRoot()
{
    m_serverNodes->add(QString(), {QString(kRootKey), m_inet->RemoteHost(), kRootImage});
}

// ---- The command cycle --------------------------------------------------

bool ftp::execute(const Operation& operation)
{
    const std::optional<Operation> previous = m_lastOperation;
    m_lastOperation = operation;
    try {
        m_inet->Execute(operation);
        m_outcome.reset();
        emit operationSent(operation.text());
        return true;
    } catch (const InetRefused& refused) {
        m_lastOperation = previous;
        prompts().messageBox(QString::fromUtf8(refused.what()));
        return false;
    } catch (const std::exception&) {
        m_lastOperation = previous;   // not sent: what runs is still the earlier one
        return false;
    }
}

bool ftp::operationRunning() const
{
    return m_inet->StillExecuting() || m_retryPending;
}

bool ftp::isBusy() const
{
    return operationRunning() || m_commandDepth > 0;
}

bool ftp::refusedWhileBusy()
{
    if (!isBusy())
        return false;
    prompts().messageBox(QStringLiteral("      Still Executing    "));
    return true;
}

void ftp::WaitWhileExecuting(bool busy)
{
    // Sleeps until the next event (a socket, the transfer's timer, user
    // input), handles it, and looks again.
    while (busy) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        busy = operationRunning();
    }
}

void ftp::Inet1_StateChanged(int state)
{
    if (state >= icResolvingHost && state <= icDisconnected) {
        m_lblState->setText(QStringLiteral("Connecting ... "));
        setCursor(Qt::WaitCursor);
    } else if (state == icError) {
        m_outcome = Outcome::Failed;
        if (m_inet->hasUntrustedPeer()) {
            offerTrust();
        } else {
            prompts().messageBox(QStringLiteral("There was an error connecting to ")
                                 + m_inet->RemoteHost() + QStringLiteral(". ")
                                 + m_inet->ResponseInfo());
        }
        m_lblState->clear();
        unsetCursor();
    } else if (state == icResponseCompleted) {
        m_outcome = Outcome::Done;
        readReply();
        m_lblState->clear();
        unsetCursor();
    }
}

void ftp::offerTrust()
{
    // The transport's reason names what failed and usually the fingerprint.
    QString reason = m_inet->ResponseInfo();
    const QString fingerprint = m_inet->untrustedFingerprint();
    if (!reason.contains(fingerprint))
        reason += QStringLiteral("\nFingerprint: ") + fingerprint;
    const QString question = QStringLiteral("The identity of %1 cannot be verified.\n\n%2\n\n"
                                            "Trust it for this session and go on?")
                                 .arg(m_inet->RemoteHost(), reason);
    if (prompts().messageBox(question, MsgButtons::YesNo, MsgIcon::Exclamation) != MsgResult::Yes
        || !m_lastOperation)
        return;
    m_inet->trustUntrustedPeer();
    // Sent again once the failed operation has wound down; a busy-wait in
    // progress keeps waiting for it.
    m_retryPending = true;
    QTimer::singleShot(0, this, [this] {
        m_retryPending = false;
        if (m_lastOperation)
            execute(*m_lastOperation);
    });
}

void ftp::Command7_Click()
{
    // Stops what runs, and the rest of a command working through its items.
    if (m_commandDepth > 0)
        m_cancelRequested = true;
    m_progressTimer->stop();
    m_inet->Cancel();
    m_lblState->clear();
    unsetCursor();
    WaitWhileExecuting(m_inet->StillExecuting());
}

void ftp::close_Click()
{
    if (refusedWhileBusy())
        return;
    execute(Operation::close());
    WaitWhileExecuting(m_inet->StillExecuting());
}

// ---- The remote pane ----------------------------------------------------

void ftp::readReply()
{
    // Straight from the listing's entries: a folder of a million files is
    // never turned into text and split again, and is sorted once.
    const Listing listing = m_inet->lastListing();
    GetServerFolders(m_serverPath, listing);
    m_lstServer->entries().addRows(serverFiles(listing));
}

void ftp::GetServerFolders(const QString& path, const Listing& listing)
{
    const QList<RemoteFolder> folders = serverFolders(path, listing);
    if (folders.isEmpty())
        return;
    QList<NodeEntry> nodes;
    nodes.reserve(folders.size());
    for (const RemoteFolder& folder : folders)
        nodes.append({folder.key, folder.text, kFolderImage, kSelectedFolderImage, true});
    m_serverNodes->addChildren(path, nodes);
    // A folder listed again gets back the placeholder its click removed.
    for (const RemoteFolder& folder : folders)
        m_serverNodes->add(folder.key, {placeholderKey(folder.key), QString(kPlaceholder)});
}

void ftp::treeServer_Expand(QTreeWidgetItem* node)
{
    m_treeServer->setCurrentItem(node);
    m_lblServerFolder->setText(QStringLiteral("Contents of \"") + node->text(0)
                             + QLatin1Char('"'));
}

void ftp::treeServer_NodeClick(QTreeWidgetItem* node)
{
    if (isBusy()) {
        node->setExpanded(false);
        prompts().messageBox(QStringLiteral("      Still Executing    "));
        return;
    }
    const QString key = KeyedTree::keyOf(node);
    m_lstServer->entries().reset(key);
    m_serverNodes->remove(placeholderKey(key));
    m_serverPath = key;
    execute(Operation::ls(pathPrefix(m_serverPath)));
    WaitWhileExecuting(m_inet->StillExecuting());
}

void ftp::treeServer_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button == Qt::RightButton)
        m_popServer->popup(globalPos);
}

void ftp::Command3_Click()
{
    if (refusedWhileBusy())
        return;
    execute(Operation::dir(pathPrefix(m_serverPath), true));
}

// ---- The local pane -----------------------------------------------------

void ftp::ParseDrives()
{
    if (!m_fileSystem)
        return;
    QList<NodeEntry> drives;
    for (const LocalDrive& drive : m_fileSystem->Drives())
        drives.append({drive.key, drive.text, drive.type, 0, true});
    // Drives listed by an earlier Connect keep their state, opened or not.
    for (QTreeWidgetItem* drive : m_clientNodes->addChildren(kLocalRootKey, drives)) {
        const QString key = KeyedTree::keyOf(drive);
        m_clientNodes->add(key, {placeholderKey(key), QString()});
    }
}

void ftp::ParseFolders(const QString& root)
{
    if (!m_fileSystem)
        return;
    QList<NodeEntry> folders;
    for (const LocalFolder& folder : m_fileSystem->subFolders(root))
        folders.append({folder.path + QLatin1Char('/'), folder.name, kFolderImage,
                        kSelectedFolderImage, true});
    for (QTreeWidgetItem* folder : m_clientNodes->addChildren(root, folders)) {
        const QString key = KeyedTree::keyOf(folder);
        m_clientNodes->add(key, {placeholderKey(key), QString()});
    }
}

void ftp::treeClient_Expand(QTreeWidgetItem* node)
{
    const QString key = KeyedTree::keyOf(node);
    if (key == kLocalRootKey || !m_fileSystem)
        return;
    if (!m_fileSystem->isDriveReady(key)) {
        prompts().messageBox(QStringLiteral("Drive is not ready. Please check and retry."));
        node->setExpanded(false);
        return;
    }
    if (node->childCount() > 0) {
        const QString first = KeyedTree::keyOf(node->child(0));
        if (KeyedTree::isPlaceholderKey(first)) {
            ParseFolders(key);
            m_clientNodes->remove(first);
        }
    }
}

void ftp::treeClient_NodeClick(QTreeWidgetItem* node)
{
    if (refusedWhileBusy())
        return;
    const QString key = KeyedTree::keyOf(node);
    m_lstClient->entries().reset(key);
    m_lblClientFolder->clear();
    if (key == kLocalRootKey || !m_fileSystem)
        return;
    if (!m_fileSystem->isDriveReady(key)) {
        prompts().messageBox(QStringLiteral("Drive is not ready. Check and try again."));
        node->setExpanded(false);
        return;
    }
    ParseFiles(key);
    m_lblClientFolder->setText(QStringLiteral("Contents of \"") + node->text(0) + QLatin1Char('"'));
}

void ftp::ParseFiles(const QString& folderKey)
{
    FileListModel& list = m_lstClient->entries();
    if (list.folderKey() != folderKey)
        list.reset(folderKey);
    list.add(localEntries(folderKey));
}

}  // namespace orvane::ftp
