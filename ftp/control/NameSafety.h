#pragma once
// Whether a name that came from a server may become a file in a local folder
// the user chose: it must name exactly one entry inside that folder.

#include <QString>

namespace orvane::ftp {

// Why `name` must not be written into a local folder whose names may be at
// most `maxNameBytes` bytes long, or an empty string when it is safe.
QString unsafeLocalNameReason(const QString& name, long maxNameBytes);

// The longest name the file system of `folder` allows, in bytes.
long maxLocalNameBytes(const QString& folder);

}  // namespace orvane::ftp

namespace orvane::ftp {

// The name as a message can show it: control characters written as \xNN,
// a long name cut short.
QString shownName(const QString& name);

}  // namespace orvane::ftp
