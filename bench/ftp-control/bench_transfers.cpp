// Transfers from the FTP window, drop to done, next to the curl program doing
// the same over one connection: 1 000 files of 10 KB up and down, and one
// large file up and down with the process's resident memory sampled while it
// moves. CPU seconds are given beside the wall-clock ones, as the machine
// may be shared. Usage: bench_ftp_control_transfers [megabytes, default 1024]
// [servers, comma-separated, default ftp_pyftpd,ftp_vsftpd]
#include "ProcessUsage.h"
#include "DragData.h"
#include "ItemRoles.h"
#include "ScriptedPrompts.h"
#include "TestServers.h"
#include "ftp.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cstdio>
#include <memory>

using namespace orvane;
using namespace orvane::testing;

using orvane::bench::cpuSeconds;
using orvane::bench::residentKiB;

namespace {

constexpr int kFiles = 1000;
constexpr int kFileBytes = 10 * 1024;

bool server(const char* command, const QString& name)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(ORVANE_FTP_SERVER_SCRIPT),
                                                  QLatin1String(command), name,
                                                  QStringLiteral(ORVANE_FTP_SERVER_STATE)});
    p.waitForFinished(60000);
    p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A time and the CPU seconds spent meanwhile.
struct Took {
    double seconds = -1;
    double cpu = 0;
};

QByteArray hashOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result();
}

// The curl program doing the transfers of a config file (one process, one
// connection); seconds -1 when it fails.
Took curl(const TestServer& s, const QByteArray& config)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("curl.conf")));
    f.open(QIODevice::WriteOnly);
    f.write("silent\nshow-error\nuser = \"" + (s.user + u':' + s.password).toUtf8() + "\"\n" + config);
    f.close();
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    const double cpu = cpuSeconds(RUSAGE_CHILDREN);
    p.start(QStringLiteral("curl"), {QStringLiteral("-K"), f.fileName()});
    p.waitForFinished(-1);
    return {p.exitCode() == 0 ? t.nsecsElapsed() / 1e9 : -1, cpuSeconds(RUSAGE_CHILDREN) - cpu};
}

QByteArray remoteUrl(const TestServer& s, const QString& path)
{
    return "ftp://127.0.0.1:" + QByteArray::number(s.port) + '/' + path.toUtf8();
}

QTreeWidgetItem* nodeByKey(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, ftp::KeyRole).toString() == key)
            return *it;
    return nullptr;
}

class Window {
public:
    explicit Window(const TestServer& s)
    {
        m_prompts.answerInput(s.url()).answerInput(s.user).answerInput(s.password);
        control.findChild<QPushButton*>(QStringLiteral("Command8"))->click();
        waitIdle();
    }

    QTreeWidget* tree(const char* name) const { return control.findChild<QTreeWidget*>(QLatin1String(name)); }

    void waitIdle()
    {
        while (control.isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    bool openRemote(const QString& key)
    {
        QTreeWidgetItem* node = nodeByKey(tree("treeServer"), key);
        if (node)
            emit tree("treeServer")->itemClicked(node, 0);
        waitIdle();
        return node;
    }

    bool openLocal(const QString& folder)
    {
        QString key = QStringLiteral("/");
        for (const QString& part : folder.split(u'/', Qt::SkipEmptyParts)) {
            if (QTreeWidgetItem* node = nodeByKey(tree("treeClient"), key))
                node->setExpanded(true);
            key += part + u'/';
        }
        QTreeWidgetItem* node = nodeByKey(tree("treeClient"), key);
        if (node) {
            tree("treeClient")->setCurrentItem(node);
            emit tree("treeClient")->itemClicked(node, 0);
        }
        return node;
    }

    // Drops the data on the list and returns the seconds until the control
    // is idle again, with the peak resident memory meanwhile.
    Took drop(const char* listName, std::unique_ptr<QMimeData> data, long* peakKiB = nullptr)
    {
        QTimer sampler;
        long peak = residentKiB();
        QObject::connect(&sampler, &QTimer::timeout, [&] { peak = std::max(peak, residentKiB()); });
        sampler.start(50);
        QElapsedTimer t;
        t.start();
        const double cpu = cpuSeconds(RUSAGE_SELF);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QWidget* list = control.findChild<QTreeView*>(QLatin1String(listName))->viewport();
        QCoreApplication::sendEvent(list, &enter);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(list, &dropped);
        // The drop starts its command from the event loop, once the drag ended.
        while (!control.isBusy() && t.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        waitIdle();
        if (peakKiB)
            *peakKiB = peak;
        return {t.nsecsElapsed() / 1e9, cpuSeconds(RUSAGE_SELF) - cpu};
    }

    QStringList remoteNames() const
    {
        QStringList names;
        const QAbstractItemModel* list = control.findChild<QTreeView*>(QStringLiteral("lstServer"))->model();
        for (int i = 0; i < list->rowCount(); ++i)
            names << list->index(i, 0).data().toString();
        return names;
    }

    ftp::ftp control;
    ScriptedPrompts m_prompts;
};

bool sameFiles(const QString& a, const QString& b, const QStringList& names)
{
    for (const QString& n : names)
        if (hashOf(a + u'/' + n) != hashOf(b + u'/' + n) || hashOf(a + u'/' + n).isEmpty())
            return false;
    return true;
}

void many(const TestServer& s, const QString& scratch)
{
    const QString site = scratch + QStringLiteral("/site"), back = scratch + QStringLiteral("/back");
    QDir().mkpath(back);
    QStringList names, paths;
    for (int i = 0; i < kFiles; ++i) {
        names << QStringLiteral("page%1.html").arg(i, 4, 10, QLatin1Char('0'));
        paths << site + u'/' + names.last();
    }
    s.makeFolder(QStringLiteral("bench_up"));
    s.makeFolder(QStringLiteral("bench_curl"));
    Window w(s);
    w.openRemote(QStringLiteral("bench_up/"));
    w.openLocal(back);
    const Took up = w.drop("lstServer", std::unique_ptr<QMimeData>(ftp::localFilesData(paths)));
    const bool upOk = sameFiles(site, s.pathOf(QStringLiteral("bench_up")), names);
    const Took down = w.drop("lstClient",
                             std::unique_ptr<QMimeData>(ftp::remoteNamesData(w.remoteNames())));
    const bool downOk = sameFiles(site, back, names);

    QByteArray put, get;
    for (const QString& n : names) {
        put += "upload-file = \"" + (site + u'/' + n).toUtf8() + "\"\nurl = \""
               + remoteUrl(s, QStringLiteral("bench_curl/") + n) + "\"\n";
        get += "url = \"" + remoteUrl(s, QStringLiteral("bench_curl/") + n) + "\"\noutput = \""
               + (scratch + QStringLiteral("/curl_") + n).toUtf8() + "\"\n";
    }
    const Took curlUp = curl(s, put), curlDown = curl(s, get);
    for (const auto& [what, window, byCurl, ok] : {std::tuple{"up:  ", up, curlUp, upOk},
                                                   std::tuple{"down:", down, curlDown, downOk}})
        std::printf("  %d files of 10 KB %s window %.2f s (%.0f files/s)%s, curl %.2f s -> %.2fx curl's time "
                    "(target <= 1.5); CPU window %.2f s, curl %.2f s\n",
                    kFiles, what, window.seconds, kFiles / window.seconds, ok ? "" : " CONTENT DIFFERS",
                    byCurl.seconds, window.seconds / byCurl.seconds, window.cpu, byCurl.cpu);
}

void large(const TestServer& s, const QString& scratch, const QString& source, qint64 megabytes)
{
    const QString back = scratch + QStringLiteral("/bigback");
    QDir().mkpath(back);
    s.makeFolder(QStringLiteral("bench_big"));
    Window w(s);
    w.openRemote(QStringLiteral("bench_big/"));
    w.openLocal(back);
    const long rest = residentKiB();
    long upPeak = 0, downPeak = 0;
    const Took up = w.drop("lstServer",
                           std::unique_ptr<QMimeData>(ftp::localFilesData({source})), &upPeak);
    const QByteArray want = hashOf(source);
    const bool upOk = hashOf(s.pathOf(QStringLiteral("bench_big/big.bin"))) == want;
    const Took down = w.drop("lstClient",
                             std::unique_ptr<QMimeData>(ftp::remoteNamesData({QStringLiteral("big.bin")})),
                             &downPeak);
    const bool downOk = hashOf(back + QStringLiteral("/big.bin")) == want;
    QFile::remove(back + QStringLiteral("/big.bin"));

    const QByteArray url = remoteUrl(s, QStringLiteral("bench_big/curl.bin"));
    const Took curlUp = curl(s, "upload-file = \"" + source.toUtf8() + "\"\nurl = \"" + url + "\"\n");
    const Took curlDown = curl(s, "url = \"" + url + "\"\noutput = \"" + (back + QStringLiteral("/curl.bin")).toUtf8() + "\"\n");
    QFile::remove(back + QStringLiteral("/curl.bin"));
    QDir(s.pathOf(QStringLiteral("bench_big"))).removeRecursively();
    std::printf("  resident memory at rest %ld KiB\n", rest);
    for (const auto& [what, window, byCurl, ok, peak] :
         {std::tuple{"up:  ", up, curlUp, upOk, upPeak}, std::tuple{"down:", down, curlDown, downOk, downPeak}})
        std::printf("  %lld MB %s window %.2f s%s, curl %.2f s -> curl/window %.2f (target >= 0.9); "
                    "CPU window %.2f s, curl %.2f s; peak resident %ld KiB\n",
                    megabytes, what, window.seconds, ok ? "" : " CONTENT DIFFERS", byCurl.seconds,
                    byCurl.seconds / window.seconds, window.cpu, byCurl.cpu, peak);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1024;
    const QStringList names = argc > 2 ? QString::fromLocal8Bit(argv[2]).split(u',')
                                       : QStringList{QStringLiteral("ftp_pyftpd"), QStringLiteral("ftp_vsftpd")};
    QTemporaryDir scratch;
    QDir().mkpath(scratch.filePath(QStringLiteral("site")));
    for (int i = 0; i < kFiles; ++i) {
        QFile f(scratch.filePath(QStringLiteral("site/page%1.html").arg(i, 4, 10, QLatin1Char('0'))));
        f.open(QIODevice::WriteOnly);
        QByteArray block(kFileBytes, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
        f.write(block);
    }
    const QString source = scratch.filePath(QStringLiteral("big.bin"));
    {
        QFile f(source);
        f.open(QIODevice::WriteOnly);
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (qint64 i = 0; i < megabytes; ++i) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
            f.write(block);
        }
    }
    for (const QString& n : names) {
        if (!server("start", n)) {
            std::printf("%s: could not start\n", qPrintable(n));
            continue;
        }
        const TestServer s = testServer(n);
        if (!s.available) {
            std::printf("%s: %s\n", qPrintable(n), qPrintable(s.reason));
        } else {
            std::printf("%s, from the FTP window (drop to done) and the curl program:\n", qPrintable(n));
            std::fflush(stdout);
            many(s, scratch.path());
            std::fflush(stdout);
            large(s, scratch.path(), source, megabytes);
        }
        std::fflush(stdout);
        server("stop", n);
    }
    return 0;
}
