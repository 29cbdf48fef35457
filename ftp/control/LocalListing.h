#pragma once
// The local list's entries for one folder: its subfolders first, then its
// files, hidden ones included, each group by name.

#include "FileListModel.h"

#include <QList>
#include <QString>

namespace orvane::ftp {

// Entries for the folder keyed `folderKey` (a full path ending in "/"):
// subfolders, then files with their sizes in bytes. An unreadable folder
// gives nothing.
QList<FileEntry> localEntries(const QString& folderKey);

// Removes one local file the way a user's Delete should: never a folder,
// never a file whose owner may not write it. An empty string when done, else
// why not.
QString deleteLocalFile(const QString& path);

}  // namespace orvane::ftp
