#include "ftp.h"

#include "AddressCheck.h"
#include "Inet.h"
#include "LocalVolumes.h"
#include "Prompts.h"
#include "ServerListing.h"

#include <QCoreApplication>
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
    tree->setIconSize(QSize(ImageList::kSize, ImageList::kSize));
    return tree;
}

QTreeWidget* makeList(QWidget* parent, const char* name)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setIconSize(QSize(ImageList::kSize, ImageList::kSize));
    KeyedList::setUpReportView(list);
    return list;
}

}  // namespace

ftp::ftp(QWidget* parent) : QWidget(parent), m_inet(new Inet(this)), imgList(style())
{
    buildSurface();
    m_clientNodes = std::make_unique<KeyedTree>(treeClient, &imgList);
    m_serverNodes = std::make_unique<KeyedTree>(treeServer, &imgList);
    m_serverItems = std::make_unique<KeyedList>(lstServer);
    connect(m_inet, &Inet::StateChanged, this, &ftp::Inet1_StateChanged);
    setMinimumSize(designSize());
    resize(designSize());
}

ftp::~ftp()
{
    // Shutting down cancels what runs, and reports nothing any more.
    disconnect(m_inet, nullptr, this, nullptr);
    m_inet->Cancel();
}

void ftp::place(QWidget* control, const QRect& design, Anchor anchor)
{
    m_placements.append({control, design, anchor});
    control->setGeometry(design);
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

    Label2 = label("Label2", QStringLiteral("Local System:"));
    place(Label2, twipsRect(120, 0, 1935, 255), Anchor::PaneCaption);
    lblClientFolder = label("lblClientFolder", QString());
    place(lblClientFolder, twipsRect(1440, 0, 3255, 255), Anchor::PaneCaption);
    lblClientFolder->hide();
    lblState = label("lblState", QString());
    place(lblState, twipsRect(2760, 0, 2175, 255), Anchor::PaneCaption);
    Label3 = label("Label3", QStringLiteral("Remote System:"));
    place(Label3, twipsRect(3960, 0, 1695, 255), Anchor::PaneCaption);
    lblServerFolder = label("lblServerFolder", QString());
    place(lblServerFolder, twipsRect(6240, 0, 2775, 255), Anchor::PaneCaption);

    treeClient = makeTree(this, "treeClient");
    place(treeClient, twipsRect(120, 240, 1695, 2895), Anchor::Pane);
    lstClient = makeList(this, "lstClient");
    place(lstClient, twipsRect(1800, 240, 2055, 2895), Anchor::Pane);
    treeServer = makeTree(this, "treeServer");
    place(treeServer, twipsRect(3960, 240, 2415, 2895), Anchor::Pane);
    lstServer = makeList(this, "lstServer");
    place(lstServer, twipsRect(6360, 240, 2895, 2895), Anchor::Pane);

    Command1 = button("Command1", QStringLiteral("&MkDir"));
    place(Command1, twipsRect(9360, 240, 735, 495), Anchor::RightColumn);
    Command4 = button("Command4", QStringLiteral("R&ename"));
    place(Command4, twipsRect(9360, 720, 735, 495), Anchor::RightColumn);
    Command5 = button("Command5", QStringLiteral("RmD&ir"));
    place(Command5, twipsRect(9360, 1200, 735, 495), Anchor::RightColumn);
    Command2 = button("Command2", QStringLiteral("&Delete"));
    place(Command2, twipsRect(9360, 2160, 735, 495), Anchor::RightColumn);
    Command3 = button("Command3", QStringLiteral("&Refresh"));
    place(Command3, twipsRect(9360, 2640, 735, 495), Anchor::RightColumn);
    closeButton = button("close", QStringLiteral("&Close"));
    place(closeButton, twipsRect(120, 3240, 1815, 255), Anchor::Bottom);
    Command8 = button("Command8", QStringLiteral("C&onnect"));
    place(Command8, twipsRect(1920, 3240, 1815, 255), Anchor::Bottom);
    Command7 = button("Command7", QStringLiteral("C&ancel"));
    place(Command7, twipsRect(3720, 3240, 1815, 255), Anchor::Bottom);

    popServer = new QMenu(this);
    popServer->setObjectName(QStringLiteral("popServer"));
    mnuFile = popServer->addAction(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuConnect = popServer->addAction(QStringLiteral("&Connect"));
    mnuConnect->setObjectName(QStringLiteral("mnuConnect"));

    connect(Command8, &QPushButton::clicked, this, &ftp::Command8_Click);
    connect(closeButton, &QPushButton::clicked, this, &ftp::close_Click);
    connect(Command7, &QPushButton::clicked, this, &ftp::Command7_Click);
    connect(Command3, &QPushButton::clicked, this, &ftp::Command3_Click);
    connect(mnuConnect, &QAction::triggered, this, &ftp::mnuConnect_Click);
    connect(treeServer, &QTreeWidget::itemExpanded, this, &ftp::treeServer_Expand);
    connect(treeServer, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { treeServer_NodeClick(node); });
    connect(treeClient, &QTreeWidget::itemExpanded, this, &ftp::treeClient_Expand);
    treeServer->viewport()->installEventFilter(this);
}

void ftp::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (const Placement& p : std::as_const(m_placements))
        p.control->setGeometry(placeControl(p.design, p.anchor, size()));
}

bool ftp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == treeServer->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        treeServer_MouseUp(mouse->button(), mouse->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Properties ---------------------------------------------------------

void ftp::setURL(const QString& text)
{
    if (!isAcceptableServerAddress(text)) {
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
    FileSystem = std::make_unique<LocalFileSystem>();
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
    FilesOnly = false;
    ServerPath = QString(kRootKey);
    // The list showed a folder of the previous connection; the new root's
    // files replace it.
    m_serverItems->clear();
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
        return true;
    } catch (const std::exception&) {
        m_lastOperation = previous;   // not sent: what runs is still the earlier one
        return false;
    }
}

bool ftp::isBusy() const
{
    return m_inet->StillExecuting() || m_retryPending;
}

void ftp::WaitWhileExecuting(bool busy)
{
    // Sleeps until the next event (a socket, the transfer's timer, user
    // input), handles it, and looks again.
    while (busy) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        busy = isBusy();
    }
}

void ftp::Inet1_StateChanged(int state)
{
    if (state >= icResolvingHost && state <= icDisconnected) {
        lblState->setText(QStringLiteral("Connecting ... "));
        setCursor(Qt::WaitCursor);
    } else if (state == icError) {
        if (m_inet->hasUntrustedPeer()) {
            offerTrust();
        } else {
            prompts().messageBox(QStringLiteral("There was an error connecting to ")
                                 + m_inet->RemoteHost() + QStringLiteral(". ")
                                 + m_inet->ResponseInfo());
        }
        lblState->clear();
        unsetCursor();
    } else if (state == icResponseCompleted) {
        readReply();
        lblState->clear();
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
    m_inet->Cancel();
    WaitWhileExecuting(m_inet->StillExecuting());
}

void ftp::close_Click()
{
    execute(Operation::close());
    WaitWhileExecuting(m_inet->StillExecuting());
}

// ---- The remote pane ----------------------------------------------------

void ftp::readReply()
{
    QString reply;
    QString chunk = m_inet->GetChunk(1024);
    do {
        reply += chunk;
        chunk = m_inet->GetChunk(1024);
    } while (!chunk.isEmpty());
    const QStringList lines = replyLines(reply);
    if (!FilesOnly)
        GetServerFolders(ServerPath, lines);
    GetServerFiles(ServerPath, lines);
    addServerFiles(unparsedFiles(ServerPath, m_inet->UnparsedLines()));
}

void ftp::GetServerFolders(const QString& path, const QStringList& lines)
{
    const QList<RemoteFolder> folders = serverFolders(path, lines);
    if (folders.isEmpty())
        return;
    QList<NodeSpec> nodes;
    nodes.reserve(folders.size());
    for (const RemoteFolder& folder : folders)
        nodes.append({folder.key, folder.text, kFolderImage, kSelectedFolderImage, true});
    m_serverNodes->addChildren(path, nodes);
    // A folder listed again gets back the placeholder its click removed.
    for (const RemoteFolder& folder : folders)
        m_serverNodes->add(folder.key, {placeholderKey(folder.key), QString(kPlaceholder)});
}

void ftp::GetServerFiles(const QString& path, const QStringList& lines)
{
    addServerFiles(serverFiles(path, lines));
}

void ftp::addServerFiles(const QList<RemoteFile>& files)
{
    QList<ItemSpec> items;
    items.reserve(files.size());
    for (const RemoteFile& file : files)
        items.append({file.key, file.text, QStringLiteral("File"), file.type, QString()});
    m_serverItems->add(items);
}

void ftp::treeServer_Expand(QTreeWidgetItem* node)
{
    treeServer->setCurrentItem(node);
    lblServerFolder->setText(QStringLiteral("Contents of \"") + node->text(0)
                             + QLatin1Char('"'));
}

void ftp::treeServer_NodeClick(QTreeWidgetItem* node)
{
    if (m_inet->StillExecuting()) {
        node->setExpanded(false);
        prompts().messageBox(QStringLiteral("      Still Executing    "));
        return;
    }
    m_serverItems->clear();
    const QString key = KeyedTree::keyOf(node);
    m_serverNodes->remove(placeholderKey(key));
    ServerPath = key;
    FilesOnly = false;
    execute(Operation::ls(pathPrefix(ServerPath)));
    WaitWhileExecuting(m_inet->StillExecuting());
}

void ftp::treeServer_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button == Qt::RightButton)
        popServer->popup(globalPos);
}

void ftp::Command3_Click()
{
    execute(Operation::dir(pathPrefix(ServerPath), true));
}

// ---- The local pane -----------------------------------------------------

void ftp::ParseDrives()
{
    if (!FileSystem)
        return;
    QList<NodeSpec> drives;
    for (const LocalDrive& drive : FileSystem->Drives())
        drives.append({drive.key, drive.text, drive.type, 0, true});
    // Drives listed by an earlier Connect keep their state, opened or not.
    for (QTreeWidgetItem* drive : m_clientNodes->addChildren(kLocalRootKey, drives)) {
        const QString key = KeyedTree::keyOf(drive);
        m_clientNodes->add(key, {placeholderKey(key), QString()});
    }
}

void ftp::ParseFolders(const QString& root)
{
    if (!FileSystem)
        return;
    QList<NodeSpec> folders;
    for (const LocalFolder& folder : FileSystem->subFolders(root))
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
    if (key == kLocalRootKey || !FileSystem)
        return;
    if (!FileSystem->isDriveReady(key)) {
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

}  // namespace orvane::ftp
