// Inet against real FTP, FTPS and SFTP servers (CTest fixtures).
#include "InetRunner.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane::ftp;
using namespace orvane::testing;

namespace {

QByteArray fileHash(const QString& path)
{
    return QCryptographicHash::hash(contents(path), QCryptographicHash::Sha256);
}

QStringList sortedLines(const QString& listing)
{
    QStringList lines = listing.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

void serverRows(std::initializer_list<const char*> names)
{
    QTest::addColumn<QString>("server");
    for (const char* name : names)
        QTest::newRow(name) << QString::fromLatin1(name);
}

#define VERIFY_OK(outcome) QVERIFY2((outcome).ok(), qPrintable((outcome).describe()))

}  // namespace

class TestInet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QByteArray block(50 << 20, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
        QVERIFY(write(m_big, block));
    }

    void everyOperation_data()
    {
        serverRows({"ftp_pyftpd", "ftp_pyftpd_tls", "ftp_vsftpd", "ftp_vsftpd_tls", "ftp_proftpd_tls",
                    "ftp_proftpd_implicit", "ftp_sshd"});
    }

    // Every operation on one connection, checked on the server's disk; on TLS
    // servers that demand session reuse each data connection after an upload
    // or a download must still be accepted.
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
        QVERIFY2(o.ok() && o.inOrder(), qPrintable(o.describe()));
        QVERIFY(QFileInfo(s.pathOf(dir)).isDir());
        o = runOperation(inet, Operation::mkdir(dir));
        QVERIFY2(o.failed() && o.inOrder(), "making an existing folder must fail");

        const QString remote = dir + QStringLiteral("/big ünï.bin");
        VERIFY_OK(runOperation(inet, Operation::put(m_big, remote)));
        QCOMPARE(fileHash(s.pathOf(remote)), fileHash(m_big));

        QVERIFY(QDir().mkpath(s.pathOf(dir + QStringLiteral("/sub"))));
        QVERIFY(QDir().mkpath(s.pathOf(top + QStringLiteral("/elsewhere"))));
        QVERIFY(QFile::link(QStringLiteral("sub"), s.pathOf(dir + QStringLiteral("/to sub"))));
        QVERIFY(QFile::link(QStringLiteral("../elsewhere"), s.pathOf(dir + QStringLiteral("/far"))));
        QVERIFY(QFile::link(QStringLiteral("big ünï.bin"), s.pathOf(dir + QStringLiteral("/to file"))));
        s.writeFile(dir + QStringLiteral("/.hidden"), "h");
        const QStringList expected{".hidden", "big ünï.bin", "far/", "sub/", "to file", "to sub/"};
        o = runOperation(inet, Operation::ls(dir + u'/'));
        QVERIFY2(o.ok() && o.inOrder(), qPrintable(o.describe()));
        QVERIFY2(o.reply.endsWith(QStringLiteral("\r\n")), qPrintable(o.reply));
        QCOMPARE(sortedLines(o.reply), expected);
        QCOMPARE(sortedLines(runOperation(inet, Operation::dir(dir)).reply), expected);

        const QString renamed = dir + QStringLiteral("/renamed file.bin");
        VERIFY_OK(runOperation(inet, Operation::rename(remote, renamed)));
        QVERIFY(!QFile::exists(s.pathOf(remote)));

        // A failed download keeps the local file and makes none; a good one replaces it.
        const QString local = m_local.filePath(QStringLiteral("down ünï.bin"));
        QVERIFY(write(local, "old"));
        QVERIFY(runOperation(inet, Operation::get(dir + QStringLiteral("/missing.bin"), local)).failed());
        QVERIFY(runOperation(inet, Operation::get(dir + QStringLiteral("/missing.bin"),
                                                  m_local.filePath(QStringLiteral("new.bin")))).failed());
        QCOMPARE(contents(local), QByteArray("old"));
        QCOMPARE(entriesOf(m_local.path()).size(), 2);
        VERIFY_OK(runOperation(inet, Operation::get(renamed, local)));
        QCOMPARE(fileHash(local), fileHash(m_big));
        QCOMPARE(entriesOf(m_local.path()).size(), 2);
        // An upload right after the download, then a listing.
        VERIFY_OK(runOperation(inet, Operation::put(local, dir + QStringLiteral("/again.bin"))));
        QVERIFY(runOperation(inet, Operation::ls(dir + u'/')).reply.contains(QStringLiteral("again.bin\r\n")));

        for (const char* name : {"/renamed file.bin", "/again.bin", "/.hidden", "/to sub", "/far", "/to file"}) {
            o = runOperation(inet, Operation::remove(dir + QLatin1String(name)));
            QVERIFY2(o.ok(), qPrintable(QLatin1String(name) + u' ' + o.describe()));
        }
        VERIFY_OK(runOperation(inet, Operation::rmdir(dir + QStringLiteral("/sub"))));
        VERIFY_OK(runOperation(inet, Operation::rmdir(dir)));
        QVERIFY(!QFileInfo::exists(s.pathOf(dir)));

        // After close the next operation logs in again with the stored settings.
        o = runOperation(inet, Operation::close());
        QCOMPARE(o.states, (QList<int>{icDisconnecting, icDisconnected, icResponseCompleted}));
        o = runOperation(inet, Operation::ls(top + u'/'));
        VERIFY_OK(o);
        QCOMPARE(sortedLines(o.reply), QStringList{QStringLiteral("elsewhere/")});
    }

    void controlCharacterNames_data() { serverRows({"ftp_pyftpd", "ftp_proftpd_tls", "ftp_sshd"}); }

    // A name holding a control character (not CR, LF or NUL) is listed, uploaded,
    // downloaded and deleted like any other.
    void controlCharacterNames()
    {
        QFETCH(QString, server);
        ORVANE_REQUIRE_SERVER(s, server);
        Inet inet;
        QVERIFY(connectTrusting(inet, s).isEmpty());
        const QString remote = s.makeFolder(QStringLiteral("control chars")) + QStringLiteral("/tab\there\x01.txt");
        QTemporaryDir local;
        const QString source = local.filePath(QStringLiteral("source.txt"));
        QVERIFY(write(source, "a\r\nb\n"));
        VERIFY_OK(runOperation(inet, Operation::put(source, remote)));
        QCOMPARE(contents(s.pathOf(remote)), QByteArray("a\r\nb\n"));
        QCOMPARE(runOperation(inet, Operation::ls(QStringLiteral("control chars/"))).reply,
                 QStringLiteral("tab\there\x01.txt\r\n"));
        VERIFY_OK(runOperation(inet, Operation::get(remote, local.filePath(QStringLiteral("down.txt")))));
        QCOMPARE(contents(local.filePath(QStringLiteral("down.txt"))), QByteArray("a\r\nb\n"));
        VERIFY_OK(runOperation(inet, Operation::remove(remote)));
        QVERIFY(!QFile::exists(s.pathOf(remote)));
    }

    void refusedPeer_data()
    {
        serverRows({"ftp_pyftpd_tls", "ftp_vsftpd_tls", "ftp_proftpd_tls", "ftp_proftpd_implicit", "ftp_sshd"});
    }

    // A self-signed certificate or an unknown host key is refused, every time,
    // until trusted; the trust lasts for the session, across a new login.
    void refusedPeer()
    {
        QFETCH(QString, server);
        ORVANE_REQUIRE_SERVER(s, server);
        Inet inet;
        useServer(inet, s);
        for (int attempt = 0; attempt < 2; ++attempt) {
            const Outcome o = runOperation(inet, Operation::dir());
            QVERIFY2(o.failed() && o.reply.isEmpty(), qPrintable(o.describe()));
            QCOMPARE(inet.untrustedFingerprint(), s.fingerprint);
            QVERIFY2(o.info.contains(s.fingerprint), qPrintable(o.info));
            QVERIFY2(o.info.contains(s.scheme == u"sftp" ? QStringLiteral("host key") : QStringLiteral("certificate")),
                     qPrintable(o.info));
        }
        inet.trustUntrustedPeer();
        QVERIFY(!inet.hasUntrustedPeer());
        VERIFY_OK(runOperation(inet, Operation::dir()));
        runOperation(inet, Operation::close());
        VERIFY_OK(runOperation(inet, Operation::dir()));
        Inet other;
        useServer(other, s);
        QVERIFY(runOperation(other, Operation::dir()).failed());
        QVERIFY(other.hasUntrustedPeer());
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
        QVERIFY2(o.failed() && o.inOrder() && !o.info.isEmpty(), qPrintable(o.describe()));
        QVERIFY2(o.info.startsWith(response), qPrintable(o.info));
    }

    void cancelDuringTransfer_data()
    {
        QTest::addColumn<bool>("upload");
        QTest::newRow("download over an existing file") << false;
        QTest::newRow("upload") << true;
    }

    // Cancel stops a throttled transfer at once; a download leaves the existing
    // target untouched and no partial file; the next operation works.
    void cancelDuringTransfer()
    {
        QFETCH(bool, upload);
        ORVANE_REQUIRE_SERVER(s, "ftp_pyftpd_slow");
        Inet inet;
        useServer(inet, s);
        const QString dir = s.makeFolder(QStringLiteral("cancel"));
        s.writeFile(dir + QStringLiteral("/slow.bin"), QByteArray(4 << 20, 'x'));
        QTemporaryDir local;
        const QString target = local.filePath(QStringLiteral("slow.bin"));
        QVERIFY(write(target, "before"));
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
        QCOMPARE(contents(target), QByteArray("before"));
        QCOMPARE(entriesOf(local.path()), QStringList{QStringLiteral("slow.bin")});
        const Outcome o = runOperation(inet, Operation::ls(dir + u'/'));
        VERIFY_OK(o);
        QVERIFY(o.reply.contains(QStringLiteral("slow.bin\r\n")));
    }

private:
    QTemporaryDir m_local;
    const QString m_big = m_local.filePath(QStringLiteral("big source.bin"));   // 50 MB of random bytes
};

QTEST_GUILESS_MAIN(TestInet)
#include "tst_inet.moc"
