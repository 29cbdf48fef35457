#pragma once
// Real servers for the FTP tests, started by the CTest fixtures of
// tests/ftp/servers on 127.0.0.1. ORVANE_REQUIRE_SERVER(server, "ftp_vsftpd")
// reads one or skips with the reason it is not there; each test works in its
// own folder under the login folder, as several test programs share a server.

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

namespace orvane::testing {

// Bytes of a local file ("<missing>" when it cannot be read), writing one with
// its folders, and the names in a folder.
inline QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool write(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

inline QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct TestServer {
    QString name;
    QString scheme;        // "ftp", "ftpes", "ftps" or "sftp"
    QString host;
    int port = 0;
    QString user;
    QString password;
    QString root;          // the login folder on disk
    QString certificate;   // PEM file of the self-signed certificate (TLS servers)
    QString fingerprint;   // its SHA-256 fingerprint, or the host key's (sshd)
    QString log;           // the command lines the lying server received
    bool available = false;
    QString reason;        // why not available

    QString url() const { return scheme + QStringLiteral("://") + host + u':' + QString::number(port); }
    QString pathOf(const QString& rel) const { return root + u'/' + rel; }

    // Creates the folder rel (emptied) in the login folder; returns rel.
    QString makeFolder(const QString& rel) const
    {
        QDir(pathOf(rel)).removeRecursively();
        QDir().mkpath(pathOf(rel));
        giveToUser(rel);
        return rel;
    }

    void writeFile(const QString& rel, const QByteArray& data) const
    {
        write(pathOf(rel), data);
        giveToUser(rel);
    }

    // The server logs in as its own user, who must be able to write there.
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
        s.reason = QStringLiteral("fixture %1 is not running (run the test through ctest)").arg(name);
        return s;
    }
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    const std::pair<const char*, QString TestServer::*> texts[] = {
        {"scheme", &TestServer::scheme}, {"host", &TestServer::host}, {"user", &TestServer::user},
        {"password", &TestServer::password}, {"root", &TestServer::root}, {"log", &TestServer::log},
        {"certificate", &TestServer::certificate}, {"fingerprint", &TestServer::fingerprint},
        {"reason", &TestServer::reason}};
    for (const auto& [key, field] : texts)
        s.*field = o[QLatin1StringView(key)].toString();
    s.port = o["port"].toInt();
    s.available = o["available"].toBool();
    return s;
}

}  // namespace orvane::testing

#define ORVANE_REQUIRE_SERVER(var, name)                                     \
    const orvane::testing::TestServer var = orvane::testing::testServer(name); \
    if (!var.available)                                                      \
        QSKIP(qPrintable(var.reason))
