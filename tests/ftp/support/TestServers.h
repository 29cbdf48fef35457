#pragma once
// Real servers for the FTP tests, started by the CTest fixtures of
// tests/ftp/servers (test_servers.py says what each one is) on 127.0.0.1.
// ORVANE_REQUIRE_SERVER(server, "ftp_vsftpd") reads one or skips with the
// reason it is not there; each test works in its own folder under the login
// folder, as several test programs share one server.

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QTest>

#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

namespace orvane::testing {

struct TestServer {
    QString name;
    QString scheme;        // "ftp", "ftpes", "ftps" or "sftp"
    QString host;
    int port = 0;
    QString user;
    QString password;
    QString root;          // the login folder on disk
    QString certificate;   // PEM of the self-signed certificate (TLS servers)
    QString fingerprint;   // its SHA-256 fingerprint, or the host key's (sshd)
    QString log;           // the command lines the lying server received
    bool available = false;
    QString reason;        // why not available

    // "scheme://127.0.0.1:port" for Inet::setURL.
    QString url() const { return scheme + QStringLiteral("://") + host + u':' + QString::number(port); }

    // The file or folder rel inside the login folder on disk.
    QString pathOf(const QString& rel) const { return root + u'/' + rel; }

    // Creates (empty) the folder rel inside the login folder, owned by the
    // server's user so that the server may write there; returns rel.
    QString makeFolder(const QString& rel) const
    {
        QDir(pathOf(rel)).removeRecursively();
        QDir().mkpath(pathOf(rel));
        giveToUser(rel);
        return rel;
    }

    // Writes a file inside the login folder, owned by the server's user.
    void writeFile(const QString& rel, const QByteArray& data) const
    {
        QFile f(pathOf(rel));
        if (f.open(QIODevice::WriteOnly))
            f.write(data);
        f.close();
        giveToUser(rel);
    }

    void giveToUser(const QString& rel) const
    {
        if (const passwd* pw = getpwnam(user.toLocal8Bit().constData()))
            (void)::chown(QFile::encodeName(pathOf(rel)).constData(), pw->pw_uid, pw->pw_gid);
    }
};

inline TestServer testServer(const QString& name)
{
    TestServer s;
    s.name = name;
    QFile f(QStringLiteral(ORVANE_FTP_SERVER_STATE "/") + name + QStringLiteral(".json"));
    if (!f.open(QIODevice::ReadOnly)) {
        s.reason = QStringLiteral("fixture %1 is not running (%2 missing; run the test through ctest)")
                       .arg(name, f.fileName());
        return s;
    }
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    s.scheme = o.value("scheme").toString();
    s.host = o.value("host").toString();
    s.port = o.value("port").toInt();
    s.user = o.value("user").toString();
    s.password = o.value("password").toString();
    s.root = o.value("root").toString();
    s.certificate = o.value("certificate").toString();
    s.fingerprint = o.value("fingerprint").toString();
    s.log = o.value("log").toString();
    s.available = o.value("available").toBool();
    s.reason = o.value("reason").toString();
    return s;
}

}  // namespace orvane::testing

// Declares `var` as the running server `name`, or skips the test with the reason.
#define ORVANE_REQUIRE_SERVER(var, name)                                     \
    const orvane::testing::TestServer var = orvane::testing::testServer(name); \
    if (!var.available)                                                      \
        QSKIP(qPrintable(var.reason))
