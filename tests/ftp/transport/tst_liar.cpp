// Inet against our lying FTP server (tests/ftp/servers/lying_server.py):
// names that are paths or hold control bytes, other encodings, listings that
// never end, replies that stall, transfers cut short.
#include "InetRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane::ftp;
using namespace orvane::testing;

namespace {

const QString kLatin1Name = QStringLiteral("café.txt");

QByteArray commandLog(const TestServer& s)
{
    QFile f(s.log);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList folderFiles(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

class TestLiar : public QObject {
    Q_OBJECT
private slots:
    // Names as the server sent them: paths and control bytes listed as they are,
    // a line in no format kept aside, latin-1 bytes sent back, NUL refused.
    void namesTravelAsSent()
    {
        ORVANE_REQUIRE_SERVER(s, "ftp_liar");
        Inet inet;
        useServer(inet, s);
        Outcome o = runOperation(inet, Operation::ls(QStringLiteral("hostile/")));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QStringList lines = o.reply.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        QVERIFY(lines.removeOne(QString(100000, u'L') + QStringLiteral(".txt")));
        QCOMPARE(lines, (QStringList{QStringLiteral("ctl\x16name.txt"), QStringLiteral("back\\slash.txt"),
                                     kLatin1Name, QStringLiteral("ok.txt"), QStringLiteral("sub/")}));
        QVERIFY(inet.UnparsedLines().isEmpty());

        o = runOperation(inet, Operation::ls(QStringLiteral("unix/")));
        QCOMPARE(o.reply, QStringLiteral("ok.txt\r\n"));
        QCOMPARE(inet.UnparsedLines(), QStringList{"this line follows no listing format at all"});

        // libcurl refuses control bytes in URLs: such names still download.
        QTemporaryDir local;
        const QString target = local.filePath(QStringLiteral("f.txt"));
        o = runOperation(inet, Operation::get(QStringLiteral("hostile/ctl\x16name.txt"), target));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QCOMPARE(fileBytes(target), QByteArray("content of ctl\x16name.txt"));
        QVERIFY(runOperation(inet, Operation::ls(QStringLiteral("hostile/"))).ok());
        o = runOperation(inet, Operation::get(QStringLiteral("hostile/") + kLatin1Name, target));
        QCOMPARE(fileBytes(target), QByteArray("content of caf\xe9.txt"));
        QVERIFY(runOperation(inet, Operation::remove(QStringLiteral("hostile/") + kLatin1Name)).ok());
        QVERIFY(runOperation(inet, Operation::rename(QStringLiteral("hostile/") + kLatin1Name,
                                                     QStringLiteral("hostile/new.txt"))).ok());
        const QByteArray log = commandLog(s);
        QVERIFY(log.contains("\nDELE /hostile/caf\xe9.txt\n") && log.contains("\nRNFR /hostile/caf\xe9.txt\n"));
        QVERIFY(log.contains("\nRNTO /hostile/new.txt\n"));

        const QString nul = QStringLiteral("hostile/ok.txt") + QChar(u'\0') + QStringLiteral(".bak");
        QVERIFY_THROWS_EXCEPTION(InetRefused, inet.Execute(Operation::remove(nul)));
        QVERIFY_THROWS_EXCEPTION(InetRefused, inet.Execute(Operation::rename(QStringLiteral("a"), nul)));
        QVERIFY(!inet.StillExecuting());
        QVERIFY(!commandLog(s).contains("DELE /hostile/ok.txt"));
    }

    void longNamesGiveOneLine_data()
    {
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("localName");
        QTest::addColumn<QString>("says");
        const QString longName = QString(100000, u'L') + QStringLiteral(".txt");
        QTest::newRow("too long for the server") << QStringLiteral("hostile/") + longName
                                                 << QStringLiteral("x.txt") << "too long for the server";
        QTest::newRow("too long for the local file system") << QStringLiteral("hostile/ok.txt")
                                                            << QString(300, u'n') << "too long";
    }

    void longNamesGiveOneLine()
    {
        QFETCH(QString, remote);
        QFETCH(QString, localName);
        QFETCH(QString, says);
        ORVANE_REQUIRE_SERVER(s, "ftp_liar");
        Inet inet;
        useServer(inet, s);
        QTemporaryDir local;
        const Outcome o = runOperation(inet, Operation::get(remote, local.filePath(localName)));
        QVERIFY2(o.failed(), qPrintable(o.describe().left(300)));
        QVERIFY2(o.info.size() < 400, qPrintable(QString::number(o.info.size())));
        QVERIFY2(o.info.contains(says, Qt::CaseInsensitive), qPrintable(o.info));
        QVERIFY(!o.info.contains(u'\n'));
        QVERIFY(folderFiles(local.path()).isEmpty());
    }

    void listingLimits_data()
    {
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<int>("maxMs");
        QTest::addColumn<QString>("says");
        QTest::newRow("never ends") << qint64(1) << 1500 << "never ended";
        QTest::newRow("too long") << qint64(20000) << 600000 << "too long";
    }

    void listingLimits()
    {
        QFETCH(qint64, maxBytes);
        QFETCH(int, maxMs);
        QFETCH(QString, says);
        ORVANE_REQUIRE_SERVER(s, "ftp_liar");
        Inet inet;
        useServer(inet, s);
        inet.setListingLimits(maxBytes == 1 ? qint64(1) << 30 : maxBytes, maxMs);
        const Outcome o = runOperation(inet, Operation::ls(QStringLiteral("forever/")), 30000);
        QVERIFY2(o.failed(), qPrintable(o.describe()));
        QVERIFY2(o.elapsedMs < 15000, qPrintable(QString::number(o.elapsedMs)));
        QVERIFY2(o.info.contains(says), qPrintable(o.info));
        QVERIFY(o.reply.isEmpty());
        // The next listing works on a fresh connection.
        QVERIFY(runOperation(inet, Operation::ls(QStringLiteral("unix/"))).ok());
    }

    void stallsAreNamed_data()
    {
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("says");
        QTest::newRow("a command never answered after login")
            << "stall/file.txt" << "The server's reply stalled: nothing came for 2 seconds after \"CWD stall\".";
        QTest::newRow("150 then silence") << "silence/file.txt" << "Nothing moved for 2 seconds";
        QTest::newRow("data cut half way") << "halfway/file.bin"
                                           << "The download was cut short: 500 of 1000 bytes arrived.";
    }

    void stallsAreNamed()
    {
        QFETCH(QString, remote);
        QFETCH(QString, says);
        ORVANE_REQUIRE_SERVER(s, "ftp_liar");
        Inet inet;
        useServer(inet, s);
        inet.setStallTimeoutMs(2000);
        QTemporaryDir local;
        const Outcome o = runOperation(inet, Operation::get(remote, local.filePath(QStringLiteral("f"))), 30000);
        QVERIFY2(o.failed(), qPrintable(o.describe()));
        QVERIFY2(o.info.contains(says), qPrintable(o.info));
        QVERIFY(folderFiles(local.path()).isEmpty());
    }

    void cancelFromStateHandler_data()
    {
        QTest::addColumn<int>("state");
        for (int st = icResolvingHost; st <= icResponseReceived; ++st)
            QTest::addRow("state %d", st) << st;
    }

    // A download cancelled from the handler of any state before 12 leaves no
    // file, under its final name or any other.
    void cancelFromStateHandler()
    {
        QFETCH(int, state);
        ORVANE_REQUIRE_SERVER(s, "ftp_liar");
        Inet inet;
        useServer(inet, s);
        QTemporaryDir local;
        QList<int> states;
        connect(&inet, &Inet::StateChanged, this, [&](int st) {
            states << st;
            if (st == state)
                inet.Cancel();
        });
        inet.Execute(Operation::get(QStringLiteral("hostile/ok.txt"), local.filePath(QStringLiteral("ok.txt"))));
        QTRY_VERIFY_WITH_TIMEOUT(!inet.StillExecuting(), 10000);
        QTest::qWait(200);
        QVERIFY2(states.contains(state), qPrintable(QString::number(states.size())));
        QVERIFY(!states.contains(icResponseCompleted));
        QCOMPARE(folderFiles(local.path()), QStringList());
    }

    void failedUploadLeavesNoFile_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("store accepted, then cut") << "brokenstor" << true;
        QTest::newRow("store refused: nothing to delete") << "nostor" << false;
    }

    void failedUploadLeavesNoFile()
    {
        QFETCH(QString, folder);
        QFETCH(bool, deleted);
        ORVANE_REQUIRE_SERVER(s, "ftp_liar");
        Inet inet;
        useServer(inet, s);
        QTemporaryDir local;
        const QString source = local.filePath(QStringLiteral("up.bin"));
        { QFile f(source); QVERIFY(f.open(QIODevice::WriteOnly)); f.write(QByteArray(4 << 20, 'u')); }
        const QString remote = folder + QStringLiteral("/up-") + QString::number(QDateTime::currentMSecsSinceEpoch()) + ".bin";
        const Outcome o = runOperation(inet, Operation::put(source, remote));
        QVERIFY2(o.failed(), qPrintable(o.describe()));
        QVERIFY2(!o.info.contains(QStringLiteral("DELE")), qPrintable(o.info));
        // After a new login the login folder may be the current one: either path.
        const QByteArray log = commandLog(s);
        QCOMPARE(log.contains("DELE /" + remote.toUtf8() + '\n') || log.contains("DELE " + remote.toUtf8() + '\n'),
                 deleted);
    }
};

QTEST_GUILESS_MAIN(TestLiar)
#include "tst_liar.moc"
