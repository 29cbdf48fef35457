// Listing parser throughput on a 100 000-line Unix "ls -l" reply, as the
// bytes the transport receives.
#include "ListingParser.h"

#include <QString>

#include <algorithm>
#include <ctime>
#include <cstdio>

using namespace orvane::ftp;

int main()
{
    const int lines = 100000;
    QString reply;
    reply.reserve(lines * 70);
    reply += QStringLiteral("total 400000\r\n");
    for (int i = 0; i < lines; ++i) {
        switch (i % 4) {
        case 0:
            reply += QStringLiteral("-rw-r--r--   1 web      staff     %1 Mar 14 09:05 page %2.html\r\n")
                         .arg(i * 37 % 100000, 8).arg(i);
            break;
        case 1:
            reply += QStringLiteral("drwxr-xr-x   2 web      staff        4096 Jan  3  2024 folder%1\r\n").arg(i);
            break;
        case 2:
            reply += QStringLiteral("lrwxrwxrwx   1 web         %1 Nov 30 23:59 link%2 -> folder%3\r\n")
                         .arg(i % 97, 8).arg(i).arg(i - 1);
            break;
        default:
            reply += QStringLiteral("-rw-r--r--   1 1000     1000      %1 Feb 28  2025 image_%2.png\r\n")
                         .arg(i * 13 % 1000000, 8).arg(i);
        }
    }
    const QDate today(2026, 3, 15);
    // CPU time of this thread: the machine may be shared.
    const auto now = [] {
        timespec ts;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec + ts.tv_nsec / 1e9;
    };
    const QByteArray bytes = reply.toUtf8();
    double bestParse = 1e9, bestAll = 1e9;
    int entries = 0;
    qsizetype outSize = 0;
    for (int round = 0; round < 7; ++round) {
        const double start = now();
        Listing parsed = parseListing(bytes, false, today);
        const double parse = now() - start;
        resolveLinks(parsed);
        const QString out = renderListing(parsed);
        const double all = now() - start;
        bestParse = std::min(bestParse, parse);
        bestAll = std::min(bestAll, all);
        entries = int(parsed.entries.size());
        outSize = out.size();
    }
    std::printf("listing parser (best of 7, CPU time): %d lines (%lld chars) -> %d entries, %lld chars of listing\n",
                lines, (long long)reply.size(), entries, (long long)outSize);
    std::printf("  parse only:              %.1f ms  = %.2f million lines/s\n", bestParse * 1e3,
                lines / bestParse / 1e6);
    QByteArray mlsd;
    for (int i = 0; i < lines; ++i)
        mlsd += "type=file;size=" + QByteArray::number(i * 37) + ";modify=20240102030405; page-"
                + QByteArray::number(i) + ".html\r\n";
    double bestMlsd = 1e9;
    for (int round = 0; round < 7; ++round) {
        const double start = now();
        const Listing parsed = parseListing(mlsd, true, today);
        bestMlsd = std::min(bestMlsd, now() - start);
        if (parsed.entries.size() != lines)
            return 1;
    }
    std::printf("  MLSD from bytes:         %.1f ms  = %.2f million lines/s\n", bestMlsd * 1e3,
                lines / bestMlsd / 1e6);
    std::printf("  parse + links + render:  %.1f ms  = %.2f million lines/s (target >= 1)\n",
                bestAll * 1e3, lines / bestAll / 1e6);
    // A hostile server's line that never ends, as it arrives in 64 KB pieces:
    // the time must grow with its length, not with the square of it.
    for (const int megabytes : {16, 64}) {
        const QByteArray piece(64 * 1024, 'x');
        ListingReader reader(true, today);
        const double start = now();
        for (int i = 0; i < megabytes * 16; ++i)
            reader.feed(piece);
        std::printf("  %3d MB line without end: %.1f ms\n", megabytes, (now() - start) * 1e3);
    }
    return 0;
}
