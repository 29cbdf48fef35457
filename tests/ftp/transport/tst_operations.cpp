// Operation texts (those the control's tests do not see), server addresses
// and the protocol commands behind operations.
#include "FtpOperation.h"
#include "RemoteCommands.h"
#include "ServerAddress.h"

#include <QTest>

using namespace orvane::ftp;
Q_DECLARE_METATYPE(orvane::ftp::Operation)

class TestOperations : public QObject {
    Q_OBJECT
private slots:
    void address_data();
    void address();
    void operations_data();
    void operations();
};

// What the control accepts as the server is exactly what the transport can reach.
void TestOperations::address_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("host");         // empty: refused
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("security");
    QTest::addColumn<QByteArray>("fileUrl");   // of "pub/my file.txt"
    using S = ServerAddress::Security;
    const auto row = [](const char* name, const char* typed, const char* host, int port, S security,
                        const char* fileUrl) {
        QTest::newRow(name) << typed << host << port << int(security) << QByteArray(fileUrl);
    };
    const auto refused = [](const char* name, const char* typed) {
        QTest::newRow(name) << typed << QString() << 0 << 0 << QByteArray();
    };
    row("bare host", "ftp.example.com", "ftp.example.com", 21, S::TlsIfOffered,
        "ftp://ftp.example.com:21/pub/my%20file.txt");
    row("host and port", "10.0.0.1:2121", "10.0.0.1", 2121, S::TlsIfOffered,
        "ftp://10.0.0.1:2121/pub/my%20file.txt");
    row("LOCALHOST", " LOCALHOST ", "localhost", 21, S::TlsIfOffered,
        "ftp://localhost:21/pub/my%20file.txt");
    row("bare ipv6", "fe80::1", "fe80::1", 21, S::TlsIfOffered,
        "ftp://[fe80::1]:21/pub/my%20file.txt");
    row("ipv6 in brackets with port", "[::1]:2121", "::1", 2121, S::TlsIfOffered,
        "ftp://[::1]:2121/pub/my%20file.txt");
    row("ftpes", "ftpes://h.org", "h.org", 21, S::TlsRequired, "ftp://h.org:21/pub/my%20file.txt");
    row("ftps implicit", "FTPS://h.org", "h.org", 990, S::ImplicitTls,
        "ftps://h.org:990/pub/my%20file.txt");
    row("sftp in the home folder", "sftp://h.org:2222", "h.org", 2222, S::Ssh,
        "sftp://h.org:2222/~/pub/my%20file.txt");
    row("scheme and plain word", "sftp://fileserver", "fileserver", 22, S::Ssh,
        "sftp://fileserver:22/~/pub/my%20file.txt");
    row("scheme, user, port and path", "ftp://me@box:2121/pub/", "box", 2121, S::TlsIfOffered,
        "ftp://box:2121/pub/my%20file.txt");
    refused("word without a dot", "fileserver");
    refused("empty", "  ");
    refused("scheme without host", "ftp://");
    refused("bracketed non-address", "[fileserver]");
    refused("number alone", "12345");
    refused("port without host", ":21");
    refused("web address", "http://h.org");
    refused("web address without a dot", "http://x");
    refused("space in the host", "my host.org");
}

void TestOperations::address()
{
    QFETCH(QString, typed);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(int, security);
    QFETCH(QByteArray, fileUrl);
    const ServerAddress a = parseServerAddress(typed);
    if (host.isEmpty()) {
        QVERIFY2(!a.isValid(), qPrintable(a.host));
        QVERIFY(!a.error.isEmpty());
        return;
    }
    QVERIFY2(a.isValid(), qPrintable(a.error));
    QCOMPARE(a.host, host);
    QCOMPARE(a.port, port);
    QCOMPARE(int(a.security), security);
    QCOMPARE(a.urlOf("pub/my file.txt", false), fileUrl);
    QVERIFY(a.urlOf("pub", true).endsWith("/pub/"));
    QVERIFY(a.urlOf(QStringLiteral("é#?%"), false).endsWith("/%C3%A9%23%3F%25"));
}

// The text an operation is shown by, and the protocol lines a server
// command sends (none for listings).
void TestOperations::operations_data()
{
    QTest::addColumn<Operation>("op");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ssh");
    QTest::addColumn<QString>("loginFolder");
    QTest::addColumn<QByteArrayList>("lines");
    const auto row = [](const char* name, const Operation& op, const char* text, bool ssh, const char* loginFolder,
                        const QByteArrayList& lines) {
        QTest::newRow(name) << op << QString(text) << ssh << QString(loginFolder) << lines;
    };
    row("refresh at the top", Operation::dir(QString(), true), "dir ", false, "", {});
    row("ls at the top", Operation::ls(), "ls ", false, "", {});
    row("bare ls", Operation::ls(QString(), false), "ls", false, "", {});
    row("ftp mkdir before the login folder is known", Operation::mkdir("new dir"), "mkdir new dir", false, "",
        {"MKD new dir"});
    row("ftp paths made absolute from the login folder", Operation::rename("pub/a", "pub/b"), "rename pub/a pub/b",
        false, "/home/web", {"RNFR /home/web/pub/a", "RNTO /home/web/pub/b"});
    row("ftp root login folder", Operation::remove("x.txt"), "DELETE x.txt", false, "/", {"DELE /x.txt"});
    row("ftp empty name never names the login folder", Operation::rmdir(""), "rmdir ", false, "/home/web",
        {"RMD "});
    row("ftp utf-8 names", Operation::mkdir(QStringLiteral("été")), "mkdir été", false, "",
        {"MKD \xc3\xa9t\xc3\xa9"});
    row("sftp quoting", Operation::rename(R"(say "hi".txt)", R"(back\slash)"), R"(rename say "hi".txt back\slash)",
        true, "", {R"(rename "say \"hi\".txt" "back\\slash")"});
    row("sftp delete", Operation::remove("a b"), "DELETE a b", true, "", {R"(rm "a b")"});
}

void TestOperations::operations()
{
    QFETCH(Operation, op);
    QFETCH(QString, text);
    QFETCH(bool, ssh);
    QFETCH(QString, loginFolder);
    QFETCH(QByteArrayList, lines);
    QCOMPARE(op.text(), text);
    QCOMPARE(isRemoteCommand(op), !lines.isEmpty());
    if (!lines.isEmpty())
        QCOMPARE(remoteCommands(op, ssh, loginFolder), lines);
}

QTEST_APPLESS_MAIN(TestOperations)
#include "tst_operations.moc"
