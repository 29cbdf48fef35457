#pragma once
// What the FTP benchmarks read of a process: CPU seconds (the machine may be
// shared, so wall-clock figures alone mislead) and memory.

#include <QFile>

#include <sys/resource.h>

namespace orvane::bench {

// User and system CPU seconds of this process (RUSAGE_SELF) or of its ended
// children (RUSAGE_CHILDREN).
inline double cpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// This process's peak resident memory so far, in MB.
inline double peakMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

// This process's resident memory now, in KiB, or -1.
inline long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The machine's load averages over 1, 5 and 15 minutes, as the kernel gives
// them: figures taken on a busy machine say so.
inline QByteArray loadAverage()
{
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    if (!loadavg.open(QIODevice::ReadOnly))
        return "unknown";
    return loadavg.readLine().split(' ').mid(0, 3).join(' ');
}

}  // namespace orvane::bench
