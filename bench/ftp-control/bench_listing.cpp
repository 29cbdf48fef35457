// Lists a folder of 20 000 files (and one of 20 000 folders) from a real
// pyftpdlib server into the control's tree and list, next to curl fetching
// the same listing; prints the times and the control's resident memory.
#include "ProcessUsage.h"
#include "Inet.h"
#include "ScriptedPrompts.h"
#include "ftp.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cstdio>

using orvane::ftp::ftp;

using orvane::bench::residentKiB;

namespace {

constexpr int kEntries = 20000;
constexpr int kRuns = 5;

struct Server {
    QString url, user, password, root;
    int port = 0;
};

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

bool runServer(const QString& command, const QString& stateDir)
{
    QProcess p;
    // The server left running inherits these; nothing must wait on them.
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(ORVANE_FTP_SERVER_SCRIPT), command, QStringLiteral("ftp_pyftpd"),
             stateDir});
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

Server readServer(const QString& stateDir)
{
    QFile f(stateDir + QStringLiteral("/ftp_pyftpd.json"));
    Server s;
    if (!f.open(QIODevice::ReadOnly))
        return s;
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    s.port = o.value("port").toInt();
    s.url = QStringLiteral("ftp://127.0.0.1:%1").arg(s.port);
    s.user = o.value("user").toString();
    s.password = o.value("password").toString();
    s.root = o.value("root").toString();
    return s;
}

// curl fetching the folder's listing as the transport asks for it (MLSD on
// this server) and as a plain LIST.
double curlMs(const Server& s, const QString& folder, bool mlsd)
{
    QList<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QStringList args{"-s", "-o", "/dev/null", "--user", s.user + ':' + s.password};
        if (mlsd)
            args << "-X" << "MLSD";
        args << QStringLiteral("ftp://127.0.0.1:%1/%2/").arg(s.port).arg(folder);
        QElapsedTimer t;
        t.start();
        QProcess::execute(QStringLiteral("curl"), args);
        times << t.nsecsElapsed() / 1e6;
    }
    return median(times);
}

QTreeWidgetItem* nodeByText(QTreeWidget* tree, const QString& text)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0) == text)
            return *it;
    return nullptr;
}

// Clicks the folder node kRuns times; each click empties the list and lists
// the folder again, waiting until it is in the tree and the list.
double controlMs(ftp& control, const QString& folderText)
{
    auto* tree = control.findChild<QTreeWidget*>(QStringLiteral("treeServer"));
    QList<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QTreeWidgetItem* node = nodeByText(tree, folderText);
        if (!node)
            return -1;
        QElapsedTimer t;
        t.start();
        emit tree->itemClicked(node, 0);
        QCoreApplication::processEvents();   // the views lay out what was added
        times << t.nsecsElapsed() / 1e6;
    }
    return median(times);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir state;
    if (!runServer(QStringLiteral("start"), state.path())) {
        std::fprintf(stderr, "could not start pyftpdlib\n");
        return 1;
    }
    const Server server = readServer(state.path());

    QDir root(server.root);
    root.mkpath(QStringLiteral("files"));
    root.mkpath(QStringLiteral("folders"));
    for (int i = 0; i < kEntries; ++i) {
        QFile f(root.filePath(QStringLiteral("files/page_%1.html").arg(i, 5, 10, QLatin1Char('0'))));
        f.open(QIODevice::WriteOnly);
        root.mkpath(QStringLiteral("folders/dir_%1").arg(i, 5, 10, QLatin1Char('0')));
    }

    const long before = residentKiB();
    int status = 0;
    {
        ftp control;
        control.resize(1000, 600);
        control.show();
        orvane::ScriptedPrompts prompts;
        prompts.answerInput(server.url).answerInput(server.user).answerInput(server.password);
        control.findChild<QPushButton*>(QStringLiteral("Command8"))->click();
        while (control.Inet1().StillExecuting())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const long connected = residentKiB();

        const double filesMs = controlMs(control, QStringLiteral("files/"));
        const long afterFiles = residentKiB();
        const int listed = control.findChild<QTreeView*>(QStringLiteral("lstServer"))->model()->rowCount();
        const double foldersMs = controlMs(control, QStringLiteral("folders/"));
        const long afterFolders = residentKiB();
        const double curlFiles = curlMs(server, QStringLiteral("files"), true);
        const double curlFilesList = curlMs(server, QStringLiteral("files"), false);
        const double curlFolders = curlMs(server, QStringLiteral("folders"), true);

        std::printf("Listing %d entries from pyftpdlib on loopback (median of %d)\n", kEntries,
                    kRuns);
        std::printf("  files   into lstServer : control %7.1f ms | curl MLSD %6.1f ms (ratio %.2f)"
                    " | curl LIST %6.1f ms\n",
                    filesMs, curlFiles, filesMs / curlFiles, curlFilesList);
        std::printf("  folders into treeServer: control %7.1f ms | curl MLSD %6.1f ms (ratio %.2f)\n",
                    foldersMs, curlFolders, foldersMs / curlFolders);
        std::printf("  list items %d, tree nodes under folders/ %d\n",
                    listed,
                    nodeByText(control.findChild<QTreeWidget*>(QStringLiteral("treeServer")),
                               QStringLiteral("folders/"))->childCount());
        std::printf("Resident memory: %ld KiB at start, %ld KiB connected, %ld KiB with %d files"
                    " listed, %ld KiB with %d folders in the tree\n",
                    before, connected, afterFiles, kEntries, afterFolders, kEntries);
        if (listed != kEntries)
            status = 1;
    }
    runServer(QStringLiteral("stop"), state.path());
    return status;
}
