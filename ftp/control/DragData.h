#pragma once
// What a drag between the two file lists carries: local files as a
// text/uri-list (so a file manager can take them or give its own), remote
// names in the control's own type (they mean something only to the control
// that listed them).

#include <QStringList>

class QMimeData;

namespace orvane::ftp {

inline constexpr char kRemoteNamesType[] = "application/x-orvane-ftp-remote-names";

QMimeData* localFilesData(const QStringList& paths);
QMimeData* remoteNamesData(const QStringList& names);

// The local files of a drop (non-file URLs are left out) and the remote names
// of one; empty when the data holds none.
QStringList localFilesOf(const QMimeData* data);
QStringList remoteNamesOf(const QMimeData* data);

}  // namespace orvane::ftp
