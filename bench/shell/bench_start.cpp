// Prints the time from starting the program to its first shown window with
// the blank page loaded, and the resident memory of the program's process tree
// (the program and its web engine helpers) a few seconds after start.
// Run headless: QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 bench_start

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

// Resident kilobytes of pid and all its descendants, from /proc.
long treeRssKb(qint64 root)
{
    std::multimap<qint64, qint64> children;
    std::map<qint64, long> rss;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& name : pids) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        if (!ok)
            continue;
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        qint64 ppid = 0;
        long kb = 0;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("PPid:"))
                ppid = line.mid(5).trimmed().toLongLong();
            else if (line.startsWith("VmRSS:"))
                kb = line.mid(6).trimmed().split(' ').value(0).toLong();
        }
        children.emplace(ppid, pid);
        rss[pid] = kb;
    }
    long total = 0;
    std::vector<qint64> todo{root};
    while (!todo.empty()) {
        const qint64 pid = todo.back();
        todo.pop_back();
        total += rss[pid];
        for (auto [it, end] = children.equal_range(pid); it != end; ++it)
            todo.push_back(it->second);
    }
    return total;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;

    std::vector<double> starts;
    for (int run = 0; run < 3; ++run) {
        const QString shot = dir.filePath(QStringLiteral("shot%1.png").arg(run));
        QProcess program;
        QElapsedTimer t;
        t.start();
        program.start(QStringLiteral(ORVANE_EXE), {QStringLiteral("--screenshot"), shot});
        while (!QFile::exists(shot) && t.elapsed() < 30000)
            QThread::msleep(2);
        starts.push_back(t.nsecsElapsed() / 1e6);
        program.waitForFinished(10000);
    }
    std::sort(starts.begin(), starts.end());
    std::printf("Start to first shown window with its page loaded and saved as a picture: "
                "median %.0f ms (includes a 150 ms paint pause and the save)\n", starts[1]);

    QProcess program;
    program.start(QStringLiteral(ORVANE_EXE), {});
    program.waitForStarted();
    QThread::sleep(5);
    std::printf("Resident memory of the process tree 5 s after start: %.0f MB\n",
                treeRssKb(program.processId()) / 1024.0);
    program.kill();
    program.waitForFinished(5000);
    return 0;
}
