// Inet against real FTP, FTPS and SFTP servers (CTest fixtures).
#include "InetRunner.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace orvane::ftp;
using namespace orvane::testing;

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result();
}

QStringList sortedLines(const QString& listing)
{
    QStringList lines = listing.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    lines.sort();
    return lines;
}

// States run 1, 2 ... upwards and end with 12 (or 11 when failing).
bool plausibleStates(const QList<int>& states, int last)
{
    if (states.isEmpty() || states.first() != icResolvingHost || states.last() != last)
        return false;
    for (int i = 1; i + 1 < states.size(); ++i)
        if (states[i] != states[i - 1] + 1 || states[i] > icResponseReceived)
            return false;
    return true;
}

QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A "server" column with a row for each named fixture.
void serverRows(std::initializer_list<const char*> names)
{
    QTest::addColumn<QString>("server");
    for (const char* name : names)
        QTest::newRow(name) << QString::fromLatin1(name);
}

}  // namespace

namespace {

// An FTP server that logs anyone in and then, asked for a listing, opens the
// data connection and never sends a byte.
class StalledFtpServer : public QObject {
public:
    StalledFtpServer()
    {
        m_control.listen(QHostAddress::LocalHost);
        m_data.listen(QHostAddress::LocalHost);
        connect(&m_control, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* c = m_control.nextPendingConnection();
            c->write("220 ready\r\n");
            connect(c, &QTcpSocket::readyRead, c, [this, c] {
                while (c->canReadLine())
                    c->write(answer(c->readLine().trimmed().toUpper()));
            });
        });
    }
    quint16 port() const { return m_control.serverPort(); }

private:
    QByteArray answer(const QByteArray& command) const
    {
        if (command.startsWith("USER"))
            return "331 password\r\n";
        if (command.startsWith("PASS"))
            return "230 in\r\n";
        if (command.startsWith("PWD"))
            return "257 \"/\"\r\n";
        if (command.startsWith("EPSV"))
            return "229 passive (|||" + QByteArray::number(m_data.serverPort()) + "|)\r\n";
        if (command.startsWith("TYPE") || command.startsWith("OPTS") || command.startsWith("CWD"))
            return "200 ok\r\n";
        if (command.startsWith("MLSD") || command.startsWith("LIST"))
            return "150 here it comes\r\n";
        return "500 no\r\n";
    }
    QTcpServer m_control;
    QTcpServer m_data;
};

}  // namespace

class TestInet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_local.isValid());
        m_big = m_local.filePath(QStringLiteral("big source.bin"));
        QFile f(m_big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (int i = 0; i < 50; ++i) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()),
                                                  block.size() / 4);
            QCOMPARE(f.write(block), block.size());
        }
    }

    void everyOperation_data()
    {
        serverRows({"ftp_pyftpd", "ftp_pyftpd_tls", "ftp_vsftpd", "ftp_vsftpd_tls", "ftp_proftpd_tls",
                    "ftp_proftpd_implicit", "ftp_sshd"});
    }

    // mkdir, put, listing (files, folders, links), rename, get, DELETE, rmdir and
    // close on one server, checked on the server's disk.
    void everyOperation()
    {
        QFETCH(QString, server);
        ORVANE_REQUIRE_SERVER(s, server);
        Inet inet;
        const QString connectError = connectTrusting(inet, s);
        QVERIFY2(connectError.isEmpty(), qPrintable(connectError));

        const QString top = s.makeFolder(QStringLiteral("every op"));
        const QString dir = top + QStringLiteral("/Dossier été");
        Outcome o = runOperation(inet, Operation::mkdir(dir));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QVERIFY(plausibleStates(o.states, icResponseCompleted));
        QVERIFY(QFileInfo(s.pathOf(dir)).isDir());
        o = runOperation(inet, Operation::mkdir(dir));
        QVERIFY2(o.failed(), "making an existing folder must fail");
        QVERIFY(plausibleStates(o.states, icError));

        // Upload the big file under a name with spaces and accents.
        const QString remote = dir + QStringLiteral("/big ünï.bin");
        o = runOperation(inet, Operation::put(m_big, remote));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QCOMPARE(fileHash(s.pathOf(remote)), fileHash(m_big));

        // Links and a subfolder, made on disk.
        QVERIFY(QDir().mkpath(s.pathOf(dir + QStringLiteral("/sub"))));
        QVERIFY(QDir().mkpath(s.pathOf(top + QStringLiteral("/elsewhere"))));
        QVERIFY(QFile::link(QStringLiteral("sub"), s.pathOf(dir + QStringLiteral("/to sub"))));
        QVERIFY(QFile::link(QStringLiteral("../elsewhere"), s.pathOf(dir + QStringLiteral("/far"))));
        QVERIFY(QFile::link(QStringLiteral("big ünï.bin"), s.pathOf(dir + QStringLiteral("/to file"))));
        s.writeFile(dir + QStringLiteral("/.hidden"), "h");

        const QStringList expected{QStringLiteral(".hidden"), QStringLiteral("big ünï.bin"),
                                   QStringLiteral("far/"), QStringLiteral("sub/"),
                                   QStringLiteral("to file"), QStringLiteral("to sub/")};
        o = runOperation(inet, Operation::ls(dir + u'/'));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QVERIFY(plausibleStates(o.states, icResponseCompleted));
        QVERIFY2(o.reply.endsWith(QStringLiteral("\r\n")), qPrintable(o.reply));
        QCOMPARE(sortedLines(o.reply), expected);
        o = runOperation(inet, Operation::dir(dir));
        QCOMPARE(sortedLines(o.reply), expected);

        const QString renamed = dir + QStringLiteral("/renamed file.bin");
        o = runOperation(inet, Operation::rename(remote, renamed));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QVERIFY(!QFile::exists(s.pathOf(remote)));

        // A failed download keeps the local file and makes none; a good one replaces it.
        const QString local = m_local.filePath(QStringLiteral("down ünï.bin"));
        { QFile old(local); QVERIFY(old.open(QIODevice::WriteOnly)); old.write("old"); }
        QVERIFY(runOperation(inet, Operation::get(dir + QStringLiteral("/missing.bin"), local)).failed());
        QVERIFY(runOperation(inet, Operation::get(dir + QStringLiteral("/missing.bin"),
                                                  m_local.filePath(QStringLiteral("new.bin")))).failed());
        QCOMPARE(fileHash(local), QCryptographicHash::hash("old", QCryptographicHash::Sha256));
        QCOMPARE(leftovers(m_local.path()).size(), 2);
        o = runOperation(inet, Operation::get(renamed, local));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QCOMPARE(fileHash(local), fileHash(m_big));
        QCOMPARE(leftovers(m_local.path()).size(), 2);   // the source and the download

        for (const char* name : {"/renamed file.bin", "/.hidden", "/to sub", "/far", "/to file"}) {
            o = runOperation(inet, Operation::remove(dir + QLatin1String(name)));
            QVERIFY2(o.ok(), qPrintable(QLatin1String(name) + u' ' + o.describe()));
        }
        QVERIFY(!QFile::exists(s.pathOf(renamed)));
        o = runOperation(inet, Operation::rmdir(dir + QStringLiteral("/sub")));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        o = runOperation(inet, Operation::rmdir(dir));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QVERIFY(!QFileInfo::exists(s.pathOf(dir)));

        // After close the next operation logs in again with the stored settings.
        o = runOperation(inet, Operation::close());
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QCOMPARE(o.states, (QList<int>{icDisconnecting, icDisconnected, icResponseCompleted}));
        o = runOperation(inet, Operation::ls(top + u'/'));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QCOMPARE(sortedLines(o.reply), QStringList{QStringLiteral("elsewhere/")});
    }

    void tlsSequence_data()
    {
        serverRows({"ftp_pyftpd_tls", "ftp_vsftpd_tls", "ftp_proftpd_tls", "ftp_proftpd_implicit"});
    }

    // Uploads, listings and downloads in turn on one connection: every data
    // connection after an upload must still be accepted by servers that require
    // TLS session reuse.
    void tlsSequence()
    {
        QFETCH(QString, server);
        ORVANE_REQUIRE_SERVER(s, server);
        Inet inet;
        const QString connectError = connectTrusting(inet, s);
        QVERIFY2(connectError.isEmpty(), qPrintable(connectError));
        const QString dir = s.makeFolder(QStringLiteral("tls sequence"));
        QTemporaryDir local;
        const QString small = local.filePath(QStringLiteral("small.txt"));
        { QFile f(small); QVERIFY(f.open(QIODevice::WriteOnly)); f.write("small file\n"); }

        for (int round = 0; round < 2; ++round) {
            const QString name = dir + QStringLiteral("/up%1.txt").arg(round);
            Outcome o = runOperation(inet, Operation::put(small, name));
            QVERIFY2(o.ok(), qPrintable(QStringLiteral("put %1: ").arg(round) + o.describe()));
            o = runOperation(inet, Operation::put(m_big, dir + QStringLiteral("/big.bin")));
            QVERIFY2(o.ok(), qPrintable(QStringLiteral("put after put: ") + o.describe()));
            o = runOperation(inet, Operation::ls(dir + u'/'));
            QVERIFY2(o.ok(), qPrintable(QStringLiteral("list after put: ") + o.describe()));
            QVERIFY2(o.reply.contains(QStringLiteral("up%1.txt\r\n").arg(round)), qPrintable(o.reply));
            const QString down = local.filePath(QStringLiteral("down%1.bin").arg(round));
            o = runOperation(inet, Operation::get(dir + QStringLiteral("/big.bin"), down));
            QVERIFY2(o.ok(), qPrintable(QStringLiteral("get after list: ") + o.describe()));
            QCOMPARE(fileHash(down), fileHash(m_big));
        }
        QCOMPARE(fileHash(s.pathOf(dir + QStringLiteral("/up1.txt"))), fileHash(small));
    }

    void controlCharacterNames_data()
    {
        serverRows({"ftp_pyftpd", "ftp_proftpd_tls", "ftp_sshd"});
    }

    // A name holding a control character (not CR, LF or NUL) is listed, uploaded,
    // downloaded and deleted like any other.
    void controlCharacterNames()
    {
        QFETCH(QString, server);
        ORVANE_REQUIRE_SERVER(s, server);
        Inet inet;
        QVERIFY(connectTrusting(inet, s).isEmpty());
        const QString dir = s.makeFolder(QStringLiteral("control chars"));
        const QString name = QStringLiteral("tab\there\x01.txt");
        QTemporaryDir local;
        const QString source = local.filePath(QStringLiteral("source.txt"));
        { QFile f(source); QVERIFY(f.open(QIODevice::WriteOnly)); f.write("a\r\nb\n"); }
        Outcome o = runOperation(inet, Operation::put(source, dir + u'/' + name));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QCOMPARE(fileHash(s.pathOf(dir + u'/' + name)), fileHash(source));
        o = runOperation(inet, Operation::ls(dir + u'/'));
        QCOMPARE(o.reply, name + QStringLiteral("\r\n"));
        const QString down = local.filePath(QStringLiteral("down.txt"));
        o = runOperation(inet, Operation::get(dir + u'/' + name, down));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QCOMPARE(fileHash(down), fileHash(source));
        o = runOperation(inet, Operation::remove(dir + u'/' + name));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QVERIFY(leftovers(s.pathOf(dir)).isEmpty());
    }

    void refusedPeer_data()
    {
        serverRows({"ftp_pyftpd_tls", "ftp_vsftpd_tls", "ftp_proftpd_tls", "ftp_proftpd_implicit", "ftp_sshd"});
    }

    // A self-signed certificate or an unknown host key is refused, every time,
    // until trusted; then the session accepts it.
    void refusedPeer()
    {
        QFETCH(QString, server);
        ORVANE_REQUIRE_SERVER(s, server);
        Inet inet;
        useServer(inet, s);
        for (int attempt = 0; attempt < 2; ++attempt) {
            const Outcome o = runOperation(inet, Operation::dir());
            QVERIFY2(o.failed(), qPrintable(o.describe()));
            QVERIFY(inet.hasUntrustedPeer());
            QCOMPARE(inet.untrustedFingerprint(), s.fingerprint);
            QVERIFY2(o.info.contains(s.fingerprint), qPrintable(o.info));
            QVERIFY2(o.info.contains(s.scheme == u"sftp" ? QStringLiteral("host key") : QStringLiteral("certificate")),
                     qPrintable(o.info));
            QVERIFY(o.reply.isEmpty());
        }
        inet.trustUntrustedPeer();
        QVERIFY(!inet.hasUntrustedPeer());
        Outcome o = runOperation(inet, Operation::dir());
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        // The trust lasts for the session, across a new login.
        runOperation(inet, Operation::close());
        o = runOperation(inet, Operation::dir());
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        // A new session asks again.
        Inet other;
        useServer(other, s);
        QVERIFY(runOperation(other, Operation::dir()).failed());
    }

    void wrongPassword_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("response");
        QTest::newRow("pyftpdlib") << "ftp_pyftpd" << "530 ";
        QTest::newRow("vsftpd") << "ftp_vsftpd" << "530 Login incorrect.";
        QTest::newRow("sshd") << "ftp_sshd" << "";
    }

    void wrongPassword()
    {
        QFETCH(QString, server);
        QFETCH(QString, response);
        ORVANE_REQUIRE_SERVER(s, server);
        Inet inet;
        QVERIFY2(connectTrusting(inet, s).isEmpty(), "the right password must work");
        runOperation(inet, Operation::close());
        inet.setPassword(QStringLiteral("not the password"));
        const Outcome o = runOperation(inet, Operation::dir());
        QVERIFY2(o.failed(), qPrintable(o.describe()));
        QVERIFY(plausibleStates(o.states, icError));
        QVERIFY(!o.info.isEmpty());
        if (!response.isEmpty())
            QVERIFY2(o.info.startsWith(response), qPrintable(o.info));
    }

    void busyExecuteRefused()
    {
        ORVANE_REQUIRE_SERVER(s, "ftp_pyftpd");
        Inet inet;
        useServer(inet, s);
        const QString dir = s.makeFolder(QStringLiteral("busy"));
        QList<int> states;
        connect(&inet, &Inet::StateChanged, this, [&](int st) { states << st; });
        inet.Execute(Operation::ls(dir + u'/'));
        QVERIFY(inet.StillExecuting());
        QVERIFY_THROWS_EXCEPTION(InetBusy, inet.Execute(Operation::mkdir(dir + QStringLiteral("/x"))));
        QTRY_VERIFY_WITH_TIMEOUT(!inet.StillExecuting(), 30000);
        QCOMPARE(states.count(icResponseCompleted), 1);
        QCOMPARE(states.count(icError), 0);
        QVERIFY(!QFileInfo::exists(s.pathOf(dir + QStringLiteral("/x"))));
    }

    void lineBreakRefused()
    {
        ORVANE_REQUIRE_SERVER(s, "ftp_pyftpd");
        Inet inet;
        useServer(inet, s);
        const QString dir = s.makeFolder(QStringLiteral("line breaks"));
        s.writeFile(dir + QStringLiteral("/victim.txt"), "v");
        QList<int> states;
        connect(&inet, &Inet::StateChanged, this, [&](int st) { states << st; });
        QVERIFY_THROWS_EXCEPTION(InetRefused, inet.Execute(Operation::mkdir(
            dir + QStringLiteral("/a\r\nDELE ") + dir + QStringLiteral("/victim.txt"))));
        QVERIFY_THROWS_EXCEPTION(InetRefused, inet.Execute(Operation::rename(
            dir + QStringLiteral("/victim.txt"), QStringLiteral("b\nc"))));
        QVERIFY(!inet.StillExecuting());
        QTest::qWait(200);
        QVERIFY(states.isEmpty());
        QVERIFY(QFile::exists(s.pathOf(dir + QStringLiteral("/victim.txt"))));
        // The transport is still usable.
        QVERIFY(runOperation(inet, Operation::ls(dir + u'/')).ok());
    }

    void noHang_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing listens on the port") << 0 << "";
        QTest::newRow("server accepts and never greets") << 1 << "gave up connecting";
        QTest::newRow("data connection never moves a byte") << 2 << "Nothing moved for 2 seconds";
    }

    // A server that does not answer ends the operation with state 11 within the
    // (lowered) limits.
    void noHang()
    {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        quint16 port = silent.serverPort();
        if (kind == 0)
            silent.close();
        StalledFtpServer stalled;
        if (kind == 2)
            port = stalled.port();
        Inet inet;
        inet.setConnectTimeoutMs(1500);
        inet.setStallTimeoutMs(2000);
        inet.setURL(QStringLiteral("127.0.0.1:%1").arg(port));
        inet.setUserName(QStringLiteral("u"));
        inet.setPassword(QStringLiteral("p"));
        const Outcome o = runOperation(inet, Operation::dir(), 20000);
        QVERIFY2(o.failed(), qPrintable(o.describe()));
        QVERIFY(plausibleStates(o.states, icError));
        QVERIFY2(o.elapsedMs < 10000, qPrintable(QString::number(o.elapsedMs)));
        QVERIFY(!o.info.isEmpty());
        QVERIFY2(o.info.contains(text), qPrintable(o.info));
    }

    void cancelDuringTransfer_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::addColumn<bool>("upload");
        QTest::newRow("download to a new file") << false << false;
        QTest::newRow("download over an existing file") << true << false;
        QTest::newRow("upload") << false << true;
    }

    // Cancel stops a throttled transfer at once; a download leaves no partial
    // file and an existing target untouched; the next operation works.
    void cancelDuringTransfer()
    {
        QFETCH(bool, targetExists);
        QFETCH(bool, upload);
        ORVANE_REQUIRE_SERVER(s, "ftp_pyftpd_slow");
        Inet inet;
        useServer(inet, s);
        const QString dir = s.makeFolder(QStringLiteral("cancel"));
        s.writeFile(dir + QStringLiteral("/slow.bin"), QByteArray(4 << 20, 'x'));
        QTemporaryDir local;
        const QString target = local.filePath(QStringLiteral("slow.bin"));
        if (targetExists) {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("before");
        }
        QList<int> states;
        connect(&inet, &Inet::StateChanged, this, [&](int st) { states << st; });
        inet.Execute(upload ? Operation::put(m_big, dir + QStringLiteral("/up.bin"))
                            : Operation::get(dir + QStringLiteral("/slow.bin"), target));
        QTRY_VERIFY_WITH_TIMEOUT(states.contains(icReceivingResponse), 10000);
        QTest::qWait(500);   // data is flowing
        QVERIFY(inet.StillExecuting());
        QElapsedTimer t;
        t.start();
        inet.Cancel();
        QVERIFY(!inet.StillExecuting());
        QVERIFY(t.elapsed() < 1000);
        QTest::qWait(300);
        QVERIFY(!states.contains(icResponseCompleted));
        if (targetExists) {
            QFile f(target);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("before"));
            QCOMPARE(leftovers(local.path()), QStringList{QStringLiteral("slow.bin")});
        } else {
            QVERIFY(leftovers(local.path()).isEmpty());
        }
        const Outcome o = runOperation(inet, Operation::ls(dir + u'/'));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QVERIFY(o.reply.contains(QStringLiteral("slow.bin\r\n")));
    }

private:
    QTemporaryDir m_local;
    QString m_big;   // 50 MB of random bytes
};

QTEST_GUILESS_MAIN(TestInet)
#include "tst_inet.moc"
