#include "RemoteCommands.h"

namespace orvane::ftp {
namespace {

// SFTP quote arguments are quoted; a quote or backslash in a name is escaped.
QByteArray sftpPath(const QByteArray& path)
{
    QByteArray out = "\"";
    for (char c : path) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

}  // namespace

QByteArray ftpCommandPath(const QByteArray& path, const QByteArray& loginFolder)
{
    if (path.isEmpty() || path.startsWith('/') || loginFolder.isEmpty())
        return path;
    return loginFolder.endsWith('/') ? loginFolder + path : loginFolder + '/' + path;
}

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
    QByteArrayList paths;
    for (const QString& a : op.args())
        paths.append(a.toUtf8());
    return remoteCommands(op.verb(), paths, ssh, loginFolder.toUtf8());
}

QByteArrayList remoteCommands(Operation::Verb verb, const QByteArrayList& paths, bool ssh,
                              const QByteArray& loginFolder)
{
    const auto p = [&](int i) {
        return ssh ? sftpPath(paths.value(i)) : ftpCommandPath(paths.value(i), loginFolder);
    };
    switch (verb) {
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
