#include "RemoteCommands.h"

namespace orvane::ftp {
namespace {

QByteArray ftpPath(const QString& path, const QString& loginFolder)
{
    // An empty name stays empty (the server refuses it): prefixed, it would
    // name the login folder itself.
    if (path.isEmpty() || path.startsWith(u'/') || loginFolder.isEmpty())
        return path.toUtf8();
    QString abs = loginFolder;
    if (!abs.endsWith(u'/'))
        abs += u'/';
    return (abs + path).toUtf8();
}

// SFTP quote arguments are quoted; a quote or backslash in a name is escaped.
QByteArray sftpPath(const QString& path)
{
    QByteArray out = "\"";
    for (char c : path.toUtf8()) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

}  // namespace

bool isRemoteCommand(const Operation& op)
{
    switch (op.verb()) {
    case Operation::Verb::Mkdir:
    case Operation::Verb::Delete:
    case Operation::Verb::Rename:
    case Operation::Verb::Rmdir:
        return true;
    default:
        return false;
    }
}

QByteArrayList remoteCommands(const Operation& op, bool ssh, const QString& loginFolder)
{
    const QStringList& a = op.args();
    const auto p = [&](int i) { return ssh ? sftpPath(a[i]) : ftpPath(a[i], loginFolder); };
    switch (op.verb()) {
    case Operation::Verb::Mkdir:
        return {(ssh ? "mkdir " : "MKD ") + p(0)};
    case Operation::Verb::Delete:
        return {(ssh ? "rm " : "DELE ") + p(0)};
    case Operation::Verb::Rmdir:
        return {(ssh ? "rmdir " : "RMD ") + p(0)};
    case Operation::Verb::Rename:
        if (ssh)
            return {"rename " + p(0) + ' ' + p(1)};
        return {"RNFR " + p(0), "RNTO " + p(1)};
    default:
        return {};
    }
}

}  // namespace orvane::ftp
