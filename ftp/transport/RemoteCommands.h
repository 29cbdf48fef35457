#pragma once
// The protocol commands (libcurl quote lines) behind mkdir, DELETE, rename and
// rmdir, for FTP and for SFTP.

#include "FtpOperation.h"

#include <QByteArrayList>
#include <QString>

namespace orvane::ftp {

// Quote lines for a command operation. Paths are relative to the login folder:
// for FTP they are made absolute with loginFolder (the server's folder at
// login, empty when not yet known), because a reused connection may stand in
// another folder when the commands run. Names go as UTF-8.
QByteArrayList remoteCommands(const Operation& op, bool ssh, const QString& loginFolder);

// The same with the paths given as the bytes the server knows them by, one
// per argument of the operation.
QByteArrayList remoteCommands(Operation::Verb verb, const QByteArrayList& paths, bool ssh,
                              const QByteArray& loginFolder);

// An FTP command's path: path made absolute from loginFolder (an empty path
// stays empty: prefixed, it would name the login folder itself).
QByteArray ftpCommandPath(const QByteArray& path, const QByteArray& loginFolder);

// True when op is carried out by remoteCommands().
bool isRemoteCommand(const Operation& op);

}  // namespace orvane::ftp
