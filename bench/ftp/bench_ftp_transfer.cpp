// Inet against the curl program on loopback servers: listing a folder of
// 20 000 files, and uploading and downloading a large file, over plain FTP
// and explicit TLS. Usage: bench_ftp_transfer [megabytes, default 1024]
// [servers, comma-separated, default all four] [rounds of the large file,
// default 3; with "only", no listing: "3only"]
#include "ProcessUsage.h"
#include "InetRunner.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace orvane::ftp;
using namespace orvane::testing;

using orvane::bench::cpuSeconds;

namespace {

// Connects with "dir", trusting the server's certificate or host key if it is
// the fixture's own. Returns an error text, empty on success.
QString connectTrusting(Inet& inet, const TestServer& s)
{
    useServer(inet, s);
    Outcome o = runOperation(inet, Operation::dir());
    if (o.failed() && inet.hasUntrustedPeer()) {
        if (inet.untrustedFingerprint() != s.fingerprint)
            return QStringLiteral("refused fingerprint %1 is not the fixture's %2")
                .arg(inet.untrustedFingerprint(), s.fingerprint);
        inet.trustUntrustedPeer();
        o = runOperation(inet, Operation::dir());
    }
    return o.ok() ? QString() : o.describe();
}

bool server(const char* command, const QString& name)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(ORVANE_FTP_SERVER_SCRIPT), QLatin1String(command), name,
             QStringLiteral(ORVANE_FTP_SERVER_STATE)});
    p.waitForFinished(60000);
    p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Seconds the curl program takes, or -1 when it fails.
double runCurl(const TestServer& s, QStringList args)
{
    args.prepend(QStringLiteral("-sS"));
    args << QStringLiteral("-u") << s.user + u':' + s.password;
    if (s.scheme == u"ftpes")
        args << QStringLiteral("--ssl-reqd") << QStringLiteral("--cacert") << s.certificate;
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("curl"), args);
    p.waitForFinished(-1);
    const double secs = t.nsecsElapsed() / 1e9;
    return p.exitCode() == 0 ? secs : -1;
}

QByteArray curlUrl(const TestServer& s, const QString& path)
{
    return "ftp://127.0.0.1:" + QByteArray::number(s.port) + '/' + QUrl::toPercentEncoding(path, "/");
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? -1 : v[v.size() / 2];
}

QByteArray hashOf(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result();
}

void listing(const TestServer& s, Inet& inet)
{
    const QString folder = s.makeFolder(QStringLiteral("many"));
    for (int i = 0; i < 20000; ++i)
        QFile(s.pathOf(folder + QStringLiteral("/page %1.html").arg(i, 5, 10, QLatin1Char('0'))))
            .open(QIODevice::WriteOnly);
    // Warm up (and learn whether the server has MLSD).
    runOperation(inet, Operation::ls(folder + u'/'));
    const bool mlsd = runOperation(inet, Operation::ls(folder + u'/')).reply.count(u'\n') == 20000;
    QList<double> reused, fresh, curl, inetCpu, curlCpu;
    int lines = 0;
    for (int i = 0; i < 5; ++i) {
        double cpu = cpuSeconds(RUSAGE_SELF);
        Outcome o = runOperation(inet, Operation::ls(folder + u'/'));
        inetCpu << cpuSeconds(RUSAGE_SELF) - cpu;
        reused << o.elapsedMs / 1e3;
        lines = int(o.reply.count(u'\n'));
        runOperation(inet, Operation::close());
        o = runOperation(inet, Operation::ls(folder + u'/'));
        fresh << o.elapsedMs / 1e3;
        // curl fetches the same listing command (MLSD where Inet uses it).
        QStringList args{QString::fromLatin1(curlUrl(s, folder + u'/')), QStringLiteral("-o"),
                         QStringLiteral("/dev/null")};
        if (s.name.startsWith(QStringLiteral("ftp_pyftpd")))
            args << QStringLiteral("-X") << QStringLiteral("MLSD");
        cpu = cpuSeconds(RUSAGE_CHILDREN);
        curl << runCurl(s, args);
        curlCpu << cpuSeconds(RUSAGE_CHILDREN) - cpu;
    }
    Q_UNUSED(mlsd);
    std::printf("  list 20 000 files (%d lines): Inet %.0f ms with login, %.0f ms on the open "
                "connection; curl %.0f ms  -> Inet/curl %.2f (target <= 1.2)\n",
                lines, median(fresh) * 1e3, median(reused) * 1e3, median(curl) * 1e3,
                median(fresh) / median(curl));
    std::printf("    client CPU per listing: Inet %.0f ms (open connection), curl %.0f ms (with login)\n",
                median(inetCpu) * 1e3, median(curlCpu) * 1e3);
    QDir(s.pathOf(folder)).removeRecursively();
}

// One way of one transfer over the rounds: wall and CPU seconds of Inet and
// of the curl program, and for Inet the wait between the last byte and the
// end (the download's flush to disk and rename).
struct Way {
    QList<double> inet, inetCpu, curl, curlCpu, finishing;
    bool same = true;
};

// Runs the operation, returning its seconds (-1 when it fails) and adding
// to finishing the seconds from state 8 (all bytes moved) to the end.
double timedOperation(Inet& inet, const Operation& op, QList<double>& finishing)
{
    QElapsedTimer sinceLastByte;
    const auto c = QObject::connect(&inet, &Inet::StateChanged, [&](int state) {
        if (state == icResponseReceived)
            sinceLastByte.start();
    });
    const Outcome o = runOperation(inet, op, 3600000);
    QObject::disconnect(c);
    if (sinceLastByte.isValid())
        finishing << sinceLastByte.nsecsElapsed() / 1e9;
    return o.ok() ? o.elapsedMs / 1e3 : -1;
}

void transfers(const TestServer& s, Inet& inet, const QString& source, qint64 bytes,
               const QString& scratch, int rounds)
{
    const double mb = bytes / 1048576.0;
    const QString folder = s.makeFolder(QStringLiteral("big"));
    const QString remote = folder + QStringLiteral("/big.bin");
    const QString curlRemote = folder + QStringLiteral("/curl.bin");
    const QString down = scratch + QStringLiteral("/down.bin");
    const QByteArray want = hashOf(source);
    Way up, get;
    // Inet and curl take turns, so that a change of load hits both.
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(s.pathOf(remote));
        double cpu = cpuSeconds(RUSAGE_SELF);
        up.inet << timedOperation(inet, Operation::put(source, remote), up.finishing);
        up.inetCpu << cpuSeconds(RUSAGE_SELF) - cpu;
        up.same = up.same && hashOf(s.pathOf(remote)) == want;
        QFile::remove(s.pathOf(curlRemote));
        cpu = cpuSeconds(RUSAGE_CHILDREN);
        up.curl << runCurl(s, {QStringLiteral("-T"), source, QString::fromLatin1(curlUrl(s, curlRemote))});
        up.curlCpu << cpuSeconds(RUSAGE_CHILDREN) - cpu;

        cpu = cpuSeconds(RUSAGE_SELF);
        get.inet << timedOperation(inet, Operation::get(remote, down), get.finishing);
        get.inetCpu << cpuSeconds(RUSAGE_SELF) - cpu;
        get.same = get.same && hashOf(down) == want;
        QFile::remove(down);
        cpu = cpuSeconds(RUSAGE_CHILDREN);
        get.curl << runCurl(s, {QString::fromLatin1(curlUrl(s, curlRemote)), QStringLiteral("-o"), down});
        get.curlCpu << cpuSeconds(RUSAGE_CHILDREN) - cpu;
        QFile::remove(down);
    }
    QDir(s.pathOf(folder)).removeRecursively();

    std::printf("  %.0f MB, medians of %d rounds (Inet and curl in turns):\n", mb, rounds);
    for (const auto& [what, w] : {std::pair{"upload:  ", &up}, std::pair{"download:", &get}})
        std::printf("  %s Inet %.2f s (%.0f MB/s)%s, curl %.2f s -> curl/Inet %.2f (target >= 0.9); "
                    "CPU Inet %.2f s, curl %.2f s; Inet's wait after the last byte %.3f s\n",
                    what, median(w->inet), mb / median(w->inet), w->same ? "" : " (CONTENT DIFFERS)",
                    median(w->curl), median(w->curl) / median(w->inet), median(w->inetCpu),
                    median(w->curlCpu), median(w->finishing));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1024;
    QTemporaryDir scratch;
    const QString source = scratch.filePath(QStringLiteral("source.bin"));
    {
        QFile f(source);
        f.open(QIODevice::WriteOnly);
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (qint64 i = 0; i < megabytes; ++i) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()),
                                                  block.size() / 4);
            f.write(block);
        }
    }
    const QStringList names = argc > 2 ? QString::fromLocal8Bit(argv[2]).split(u',')
                                       : QStringList{"ftp_pyftpd", "ftp_vsftpd", "ftp_pyftpd_tls",
                                                     "ftp_vsftpd_tls"};
    const QByteArray roundsArg = argc > 3 ? QByteArray(argv[3]) : QByteArray("3");
    const bool transfersOnly = roundsArg.endsWith("only");
    const int rounds = std::max(1, roundsArg.left(roundsArg.size() - (transfersOnly ? 4 : 0)).toInt());
    for (const QString& n : names) {
        const QByteArray nameBytes = n.toLocal8Bit();
        const char* name = nameBytes.constData();
        if (!server("start", n)) {
            std::printf("%s: could not start\n", name);
            continue;
        }
        const TestServer s = testServer(n);
        if (!s.available) {
            std::printf("%s: %s\n", name, qPrintable(s.reason));
            server("stop", n);
            continue;
        }
        std::printf("%s (%s):\n", name, s.scheme == u"ftpes" ? "explicit TLS" : "plain FTP");
        std::fflush(stdout);
        Inet inet;
        const QString error = connectTrusting(inet, s);
        if (!error.isEmpty()) {
            std::printf("  cannot connect: %s\n", qPrintable(error));
        } else {
            if (!transfersOnly)
                listing(s, inet);
            std::fflush(stdout);
            transfers(s, inet, source, megabytes << 20, scratch.path(), rounds);
        }
        std::fflush(stdout);
        server("stop", n);
    }
    return 0;
}
