// Inet against our lying FTP server (tests/ftp/servers/lying_server.py), a
// throttled one and peers that never answer: names that are paths or hold
// control bytes, other encodings, listings that never end, replies that stall,
// transfers cut short or cancelled. The control's tests use the real servers.
#include "InetRunner.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane::ftp;
using namespace orvane::testing;
Q_DECLARE_METATYPE(orvane::ftp::Operation)

namespace {

const QString kLatin1Name = QStringLiteral("café.txt");
const QString kLongName = QString(100000, u'L') + QStringLiteral(".txt");

}  // namespace

class TestLiar : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        ORVANE_REQUIRE_SERVER(s, "ftp_liar");
        m_liar = s;
        m_inet = std::make_unique<Inet>();
        useServer(*m_inet, s);
        m_logStart = QFileInfo(s.log).size();
    }

    void cleanup() { m_inet.reset(); }

    // Names as the server sent them: paths and control bytes listed as they are,
    // a line in no format kept aside, latin-1 bytes sent back.
    void namesTravelAsSent()
    {
        Outcome o = runOperation(*m_inet, Operation::ls(QStringLiteral("hostile/")));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QStringList lines = o.reply.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        QVERIFY(lines.removeOne(kLongName));
        QCOMPARE(lines, (QStringList{QStringLiteral("ctl\x16name.txt"), QStringLiteral("back\\slash.txt"),
                                     kLatin1Name, QStringLiteral("ok.txt"), QStringLiteral("sub/")}));
        QVERIFY(m_inet->lastListing().unparsed.isEmpty());

        o = runOperation(*m_inet, Operation::ls(QStringLiteral("unix/")));
        QCOMPARE(o.reply, QStringLiteral("ok.txt\r\n"));
        QCOMPARE(m_inet->lastListing().unparsed, QStringList{"this line follows no listing format at all"});

        // libcurl refuses control bytes in URLs: such names still download.
        QTemporaryDir local;
        const QString target = local.filePath(QStringLiteral("f.txt"));
        o = runOperation(*m_inet, Operation::get(QStringLiteral("hostile/ctl\x16name.txt"), target));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QCOMPARE(contents(target), QByteArray("content of ctl\x16name.txt"));
        QVERIFY(runOperation(*m_inet, Operation::ls(QStringLiteral("hostile/"))).ok());
        runOperation(*m_inet, Operation::get(QStringLiteral("hostile/") + kLatin1Name, target));
        QCOMPARE(contents(target), QByteArray("content of caf\xe9.txt"));
        QVERIFY(runOperation(*m_inet, Operation::remove(QStringLiteral("hostile/") + kLatin1Name)).ok());
        QVERIFY(runOperation(*m_inet, Operation::rename(QStringLiteral("hostile/") + kLatin1Name,
                                                       QStringLiteral("hostile/new.txt"))).ok());
        // Other control characters travel as they are, both ways.
        o = runOperation(*m_inet, Operation::put(target, QStringLiteral("plain/tab\there\x01.txt")));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QVERIFY(runOperation(*m_inet, Operation::remove(QStringLiteral("hostile/ctl\x16name.txt"))).ok());
        const QByteArray log = sentLog();
        for (const char* line : {"\nDELE /hostile/caf\xe9.txt\n", "\nRNFR /hostile/caf\xe9.txt\n", "\nRNTO /hostile/new.txt\n",
                                 "\nRNTO /plain/tab\there\x01.txt\n", "\nDELE /hostile/ctl\x16name.txt\n"})
            QVERIFY2(log.contains(line), line);
    }

    void refusedOperationsSendNothing_data()
    {
        QTest::addColumn<Operation>("op");
        QTest::addColumn<bool>("busy");   // refused because another one runs
        const QString nul = QStringLiteral("hostile/ok.txt") + QChar(u'\0') + QStringLiteral(".bak");
        QTest::newRow("CR LF in a folder name")
            << Operation::mkdir(QStringLiteral("hostile/a\r\nDELE hostile/ok.txt")) << false;
        QTest::newRow("LF in a new name") << Operation::rename("hostile/ok.txt", "b\nc") << false;
        QTest::newRow("NUL in a deleted name") << Operation::remove(nul) << false;
        QTest::newRow("NUL in a new name") << Operation::rename("hostile/ok.txt", nul) << false;
        QTest::newRow("while a listing runs") << Operation::remove("hostile/ok.txt") << true;
    }

    void refusedOperationsSendNothing()
    {
        QFETCH(Operation, op);
        QFETCH(bool, busy);
        QList<int> states;
        connect(m_inet.get(), &Inet::StateChanged, this, [&](int st) { states << st; });
        if (busy) {
            m_inet->Execute(Operation::ls(QStringLiteral("unix/")));
            QVERIFY_THROWS_EXCEPTION(InetBusy, m_inet->Execute(op));
            QTRY_VERIFY_WITH_TIMEOUT(!m_inet->StillExecuting(), 30000);
            QCOMPARE(states.count(icResponseCompleted), 1);
        } else {
            QVERIFY_THROWS_EXCEPTION(InetRefused, m_inet->Execute(op));
            QVERIFY(!m_inet->StillExecuting());
            QVERIFY(states.isEmpty());
        }
        // Still usable, and nothing but the listing reached the server.
        QVERIFY(runOperation(*m_inet, Operation::ls(QStringLiteral("unix/"))).ok());
        const QByteArray log = sentLog();
        QVERIFY2(!log.contains("DELE") && !log.contains("RNFR") && !log.contains("MKD"), log.constData());
    }

    void failsWithOneClearLine_data()
    {
        QTest::addColumn<int>("peer");   // 0: the liar, 1: nothing listening, 2: never greets
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("localName");   // empty: remote is listed, not fetched
        QTest::addColumn<QString>("says");
        QTest::addColumn<qint64>("maxListingBytes");
        QTest::addColumn<int>("maxListingMs");
        const auto row = [](const char* name, int peer, const QString& remote, const QString& localName,
                            const char* says, qint64 maxBytes = qint64(1) << 30, int maxMs = 600000) {
            QTest::newRow(name) << peer << remote << localName << QString(says) << maxBytes << maxMs;
        };
        row("nothing listens on the port", 1, "x", "f", "");
        row("server accepts and never greets", 2, "x", "f", "gave up connecting");
        row("a command never answered after login", 0, "stall/file.txt", "f",
            "The server's reply stalled: nothing came for 2 seconds after \"CWD stall\".");
        row("150 then silence", 0, "silence/file.txt", "f", "Nothing moved for 2 seconds");
        row("data cut half way", 0, "halfway/file.bin", "f", "The download was cut short: 500 of 1000 bytes arrived.");
        row("listing never ends", 0, "forever/", "", "never ended", qint64(1) << 30, 1500);
        row("listing too long", 0, "forever/", "", "too long", 20000);
        row("name too long for the server", 0, "hostile/" + kLongName, "x.txt", "too long for the server");
        row("name too long for the local file system", 0, "hostile/ok.txt", QString(300, u'n'), "too long");
    }

    // A peer that stops answering or sends too much ends the operation with
    // state 11 within the (lowered) limits, saying in one line where it
    // stopped; no file is left and the next operation works.
    void failsWithOneClearLine()
    {
        QFETCH(int, peer);
        QFETCH(QString, remote);
        QFETCH(QString, localName);
        QFETCH(QString, says);
        QFETCH(qint64, maxListingBytes);
        QFETCH(int, maxListingMs);
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        if (peer)
            m_inet->setURL(QStringLiteral("127.0.0.1:%1").arg(silent.serverPort()));
        if (peer == 1)
            silent.close();
        m_inet->setConnectTimeoutMs(1500);
        m_inet->setStallTimeoutMs(2000);
        m_inet->setListingLimits(maxListingBytes, maxListingMs);
        QTemporaryDir local;
        const Outcome o = runOperation(*m_inet, localName.isEmpty() ? Operation::ls(remote)
                                                                    : Operation::get(remote, local.filePath(localName)), 30000);
        QVERIFY2(o.failed() && o.inOrder() && o.reply.isEmpty(), qPrintable(o.describe().left(300)));
        QVERIFY2(o.elapsedMs < 15000, qPrintable(QString::number(o.elapsedMs)));
        QVERIFY2(!o.info.isEmpty() && o.info.size() < 400 && !o.info.contains(u'\n')
                     && o.info.contains(says, Qt::CaseInsensitive), qPrintable(o.info.left(400)));
        QVERIFY(entriesOf(local.path()).isEmpty());
        useServer(*m_inet, m_liar);
        QVERIFY(runOperation(*m_inet, Operation::ls(QStringLiteral("unix/"))).ok());
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
        QTemporaryDir local;
        QList<int> states;
        connect(m_inet.get(), &Inet::StateChanged, this, [&](int st) {
            states << st;
            if (st == state)
                m_inet->Cancel();
        });
        m_inet->Execute(Operation::get(QStringLiteral("hostile/ok.txt"), local.filePath(QStringLiteral("ok.txt"))));
        QTRY_VERIFY_WITH_TIMEOUT(!m_inet->StillExecuting(), 10000);
        QTest::qWait(200);
        QVERIFY(states.contains(state) && !states.contains(icResponseCompleted));
        QCOMPARE(entriesOf(local.path()), QStringList());
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
        QTemporaryDir local;
        const QString source = local.filePath(QStringLiteral("up.bin"));
        QVERIFY(write(source, QByteArray(4 << 20, 'u')));
        const Outcome o = runOperation(*m_inet, Operation::put(source, folder + QStringLiteral("/up.bin")));
        QVERIFY2(o.failed() && !o.info.contains(QStringLiteral("DELE")), qPrintable(o.describe()));
        // After a new login the login folder may be the current one: either path.
        const QByteArray log = sentLog();
        QCOMPARE(log.contains("DELE /" + folder.toUtf8() + "/up.bin\n") || log.contains("DELE " + folder.toUtf8() + "/up.bin\n"),
                 deleted);
    }

    // Cancel stops a throttled upload at once, the local file untouched, and
    // the next operation works. (Downloads: the control's cancel test.) The
    // server reads 64 KB a second and every buffer on the way holds far less
    // than the file, so the cancel lands mid-transfer however slow the machine.
    void cancelDuringUpload()
    {
        ORVANE_REQUIRE_SERVER(s, "ftp_pyftpd_slow");
        useServer(*m_inet, s);
        const QString dir = s.makeFolder(QStringLiteral("cancel"));
        QTemporaryDir local;
        const QString source = local.filePath(QStringLiteral("up.bin"));
        constexpr int kSize = 64 << 20;
        QVERIFY(write(source, QByteArray(kSize, 'u')));
        QList<int> states;
        connect(m_inet.get(), &Inet::StateChanged, this, [&](int st) { states << st; });
        m_inet->Execute(Operation::put(source, dir + QStringLiteral("/up.bin")));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(s.pathOf(dir + QStringLiteral("/up.bin"))).size() > 0, 20000);
        QVERIFY2(m_inet->StillExecuting(), qPrintable(m_inet->ResponseInfo()));
        QElapsedTimer t;
        t.start();
        m_inet->Cancel();
        QVERIFY(!m_inet->StillExecuting() && t.elapsed() < 1000);
        QTest::qWait(300);
        QVERIFY(!states.contains(icResponseCompleted));
        QCOMPARE(contents(source).size(), kSize);
        const Outcome o = runOperation(*m_inet, Operation::ls(dir + u'/'));
        QVERIFY2(o.ok(), qPrintable(o.describe()));
        QVERIFY(QFileInfo(s.pathOf(dir + QStringLiteral("/up.bin"))).size() < kSize);
    }

private:
    // The command lines the liar received since this test began.
    QByteArray sentLog() const
    {
        QFile f(m_liar.log);
        return f.open(QIODevice::ReadOnly) && f.seek(m_logStart) ? f.readAll() : QByteArray();
    }

    std::unique_ptr<Inet> m_inet;
    TestServer m_liar;
    qint64 m_logStart = 0;
};

QTEST_GUILESS_MAIN(TestLiar)
#include "tst_liar.moc"
