// Inet against the curl program on loopback servers: listing a folder of
// 20 000 files, and uploading and downloading a large file, over plain FTP
// and explicit TLS. Usage: bench_ftp_transfer [megabytes, default 1024]
// [servers, comma-separated, default all four]
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

void transfers(const TestServer& s, Inet& inet, const QString& source, qint64 bytes,
               const QString& scratch)
{
    const double mb = bytes / 1048576.0;
    const QString folder = s.makeFolder(QStringLiteral("big"));
    const QString remote = folder + QStringLiteral("/big.bin");
    const QString down = scratch + QStringLiteral("/down.bin");
    const QByteArray want = hashOf(source);

    double cpu = cpuSeconds(RUSAGE_SELF);
    Outcome o = runOperation(inet, Operation::put(source, remote), 3600000);
    const double inetUp = o.ok() ? o.elapsedMs / 1e3 : -1;
    const double inetUpCpu = cpuSeconds(RUSAGE_SELF) - cpu;
    const bool upOk = hashOf(s.pathOf(remote)) == want;
    QFile::remove(s.pathOf(remote));
    cpu = cpuSeconds(RUSAGE_CHILDREN);
    const double curlUp = runCurl(s, {QStringLiteral("-T"), source,
                                      QString::fromLatin1(curlUrl(s, remote))});
    const double curlUpCpu = cpuSeconds(RUSAGE_CHILDREN) - cpu;

    cpu = cpuSeconds(RUSAGE_SELF);
    o = runOperation(inet, Operation::get(remote, down), 3600000);
    const double inetDown = o.ok() ? o.elapsedMs / 1e3 : -1;
    const double inetDownCpu = cpuSeconds(RUSAGE_SELF) - cpu;
    const bool downOk = hashOf(down) == want;
    QFile::remove(down);
    cpu = cpuSeconds(RUSAGE_CHILDREN);
    const double curlDown = runCurl(s, {QString::fromLatin1(curlUrl(s, remote)),
                                        QStringLiteral("-o"), down});
    const double curlDownCpu = cpuSeconds(RUSAGE_CHILDREN) - cpu;
    QFile::remove(down);
    QDir(s.pathOf(folder)).removeRecursively();

    std::printf("  upload   %.0f MB: Inet %.0f MB/s%s, curl %.0f MB/s -> Inet/curl %.2f (target >= 0.9)\n",
                mb, mb / inetUp, upOk ? "" : " (CONTENT DIFFERS)", mb / curlUp, curlUp / inetUp);
    std::printf("  download %.0f MB: Inet %.0f MB/s%s, curl %.0f MB/s -> Inet/curl %.2f (target >= 0.9)\n",
                mb, mb / inetDown, downOk ? "" : " (CONTENT DIFFERS)", mb / curlDown,
                curlDown / inetDown);
    std::printf("    client CPU: upload Inet %.0f ms, curl %.0f ms; download Inet %.0f ms, curl %.0f ms\n",
                inetUpCpu * 1e3, curlUpCpu * 1e3, inetDownCpu * 1e3, curlDownCpu * 1e3);
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
            listing(s, inet);
            std::fflush(stdout);
            transfers(s, inet, source, megabytes << 20, scratch.path());
        }
        std::fflush(stdout);
        server("stop", n);
    }
    return 0;
}
