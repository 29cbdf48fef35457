#pragma once
// What a process and every process below it use: the engine's renderer and
// GPU processes do most of a page's work and hold most of its memory. CPU
// times vary far less than wall-clock times on a shared machine.

#include <QDir>
#include <QFile>

#include <map>
#include <unistd.h>

namespace orvane::bench {

struct TreeUsage {
    double cpuSeconds = 0;  // user and system time so far
    long residentKb = 0;
};

inline TreeUsage processTreeUsage(qint64 root = getpid())
{
    struct Process {
        qint64 parent = 0;
        double cpuSeconds = 0;
        long residentKb = 0;
    };
    std::map<qint64, Process> processes;
    const double tick = double(sysconf(_SC_CLK_TCK));
    const long pageKb = sysconf(_SC_PAGESIZE) / 1024;
    for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool numeric = false;
        const qint64 pid = name.toLongLong(&numeric);
        QFile f(QStringLiteral("/proc/%1/stat").arg(name));
        if (!numeric || !f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray stat = f.readAll();
        // Past the command name: state, parent, ..., user time (12th), system
        // time (13th), ..., resident pages (22nd).
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 22)
            continue;
        processes[pid] = {fields[1].toLongLong(), (fields[11].toDouble() + fields[12].toDouble()) / tick,
                          fields[21].toLong() * pageKb};
    }
    TreeUsage total;
    for (const auto& [pid, process] : processes) {
        for (qint64 p = pid; p > 0; p = processes.count(p) ? processes[p].parent : 0) {
            if (p == root) {
                total.cpuSeconds += process.cpuSeconds;
                total.residentKb += process.residentKb;
                break;
            }
        }
    }
    return total;
}

}  // namespace orvane::bench
