// A folder of 1 000 000 files (served by the lying test server): the time the
// curl program takes to fetch its MLSD listing, the time Inet takes to fetch
// and parse it, and the time until the FTP control shows it, with this
// process's peak memory after each step. CPU seconds are given beside the
// wall-clock ones, as the machine may be shared. Listed means shown: the
// control's window is up and the list has been drawn once.
// Usage: bench_ftp_million [inet | control] (one step only, for its own peak)
#include "ProcessUsage.h"
#include "InetRunner.h"
#include "ItemRoles.h"
#include "ScriptedPrompts.h"
#include "ftp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>

using namespace orvane;
using namespace orvane::testing;

using orvane::bench::cpuSeconds;
using orvane::bench::loadAverage;
using orvane::bench::peakMb;

namespace {

bool server(const char* command)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(ORVANE_FTP_SERVER_SCRIPT), QLatin1String(command),
             QStringLiteral("ftp_liar"), QStringLiteral(ORVANE_FTP_SERVER_STATE)});
    p.waitForFinished(60000);
    p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QTreeWidgetItem* nodeByKey(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, ftp::KeyRole).toString() == key)
            return *it;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (!server("start")) {
        std::fprintf(stderr, "the lying server did not start\n");
        return 1;
    }
    const TestServer s = testServer(QStringLiteral("ftp_liar"));
    const QString url = QStringLiteral("ftp://127.0.0.1:%1/million/").arg(s.port);

    double curlBest = 1e9;
    const double curlCpu = cpuSeconds(RUSAGE_CHILDREN);
    for (int i = 0; i < 3; ++i) {
        QProcess curl;
        QElapsedTimer t;
        t.start();
        curl.start(QStringLiteral("curl"), {QStringLiteral("-sS"), QStringLiteral("-X"), QStringLiteral("MLSD"),
                                            QStringLiteral("-u"), QStringLiteral("a:b"), url,
                                            QStringLiteral("-o"), QStringLiteral("/dev/null")});
        curl.waitForFinished(-1);
        curlBest = std::min(curlBest, t.nsecsElapsed() / 1e9);
    }
    std::printf("1 000 000-entry MLSD listing (~60 MB) on loopback, load average %s\n",
                loadAverage().constData());
    std::printf("  curl program fetch (best of 3):   %.2f s, CPU %.2f s each\n", curlBest,
                (cpuSeconds(RUSAGE_CHILDREN) - curlCpu) / 3);
    std::printf("  peak memory before Inet:          %.0f MB\n", peakMb());

    const QByteArray only = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    double inetBest = 1e9;
    const double inetCpu = cpuSeconds(RUSAGE_SELF);
    qsizetype replySize = 0;
    for (int i = 0; i < (only == "control" ? 0 : 3); ++i) {
        ftp::Inet inet;
        useServer(inet, s);
        const Outcome o = runOperation(inet, ftp::Operation::ls(QStringLiteral("million/")));
        if (!o.ok()) {
            std::fprintf(stderr, "Inet failed: %s\n", qPrintable(o.describe()));
            return 1;
        }
        inetBest = std::min(inetBest, o.elapsedMs / 1e3);
        replySize = o.reply.size();
    }
    if (only != "control") {
        std::printf("  Inet fetch + parse (best of 3):   %.2f s (%.1fx curl), CPU %.2f s each, reply %lld chars\n",
                    inetBest, inetBest / curlBest, (cpuSeconds(RUSAGE_SELF) - inetCpu) / 3,
                    (long long)replySize);
        std::printf("  peak memory after Inet:           %.0f MB\n", peakMb());
    }
    if (only == "inet") {
        server("stop");
        return 0;
    }

    ftp::ftp control;
    control.resize(1000, 600);
    control.show();
    auto* list = control.findChild<QTreeView*>(QStringLiteral("lstServer"));
    ScriptedPrompts prompts;
    prompts.answerInput(s.url()).answerInput(s.user).answerInput(s.password);
    control.findChild<QPushButton*>(QStringLiteral("Command8"))->click();
    while (control.isBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    auto* tree = control.findChild<QTreeWidget*>(QStringLiteral("treeServer"));
    QTreeWidgetItem* node = nodeByKey(tree, QStringLiteral("million/"));
    if (!node) {
        std::fprintf(stderr, "the control shows no folder million/\n");
        return 1;
    }
    // Where the time goes: the transport's fetch and parse (done at state 8),
    // the control's reading of the reply (done once the control has handled
    // state 12, as it was connected first), and the list's first drawing.
    QElapsedTimer t;
    struct Mark {
        double wall = 0, cpu = 0;
    } start, fetched, read, drawn;
    const auto mark = [&](Mark& m) { m = {t.nsecsElapsed() / 1e9, cpuSeconds(RUSAGE_SELF)}; };
    QObject::connect(&control.Inet1(), &ftp::Inet::StateChanged, &control, [&](int state) {
        if (state == ftp::icResponseReceived)
            mark(fetched);
        else if (state == ftp::icResponseCompleted)
            mark(read);
    });
    t.start();
    mark(start);
    emit tree->itemClicked(node, 0);
    while (control.isBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    list->viewport()->repaint();
    mark(drawn);
    std::printf("  control click until listed:       %.2f s (%.1fx curl), CPU %.2f s, %d items\n", drawn.wall,
                drawn.wall / curlBest, drawn.cpu - start.cpu, list->model()->rowCount());
    std::printf("    transport fetch + parse:        %.2f s, CPU %.2f s\n", fetched.wall, fetched.cpu - start.cpu);
    std::printf("    control reads the reply:        %.2f s, CPU %.2f s\n", read.wall - fetched.wall,
                read.cpu - fetched.cpu);
    std::printf("    list laid out and drawn:        %.2f s, CPU %.2f s\n", drawn.wall - read.wall,
                drawn.cpu - read.cpu);
    std::printf("  peak memory after the control:    %.0f MB\n", peakMb());
    server("stop");
    return 0;
}
