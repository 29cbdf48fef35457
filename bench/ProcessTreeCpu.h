#pragma once
// CPU seconds used so far by this process and every process below it: the
// engine's renderer and GPU processes do most of a page's work. On a shared
// machine these vary far less than wall-clock times.

#include <QDir>
#include <QFile>

#include <map>
#include <unistd.h>

namespace orvane::bench {

inline double treeCpuSeconds()
{
    std::map<int, int> parent;
    std::map<int, double> cpu;
    const double tick = double(sysconf(_SC_CLK_TCK));
    for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool numeric = false;
        const int pid = name.toInt(&numeric);
        QFile f(QStringLiteral("/proc/%1/stat").arg(name));
        if (!numeric || !f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray stat = f.readAll();
        // Past the command name: state, parent, ..., user time (12th), system time (13th).
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 13)
            continue;
        parent[pid] = fields[1].toInt();
        cpu[pid] = (fields[11].toDouble() + fields[12].toDouble()) / tick;
    }
    const int self = int(getpid());
    double total = 0;
    for (const auto& [pid, seconds] : cpu) {
        for (int p = pid; p > 1; p = parent.count(p) ? parent[p] : 0) {
            if (p == self) {
                total += seconds;
                break;
            }
        }
    }
    return total;
}

}  // namespace orvane::bench
