#pragma once
// The local list's entries for one folder: its subfolders first, then its
// files, hidden ones included, each group by name.

#include "KeyedList.h"

#include <QList>
#include <QString>

namespace orvane::ftp {

// Items for the folder keyed `folderKey` (a full path ending in "/"): a
// subfolder keyed by its path + "/", typed "File Folder"; a file keyed by its
// path, typed by its name, with its size in bytes. An unreadable folder gives
// nothing.
QList<ItemRow> localEntries(const QString& folderKey);

// Removes one local file the way a user's Delete should: never a folder,
// never a file whose owner may not write it. An empty string when done, else
// why not.
QString deleteLocalFile(const QString& path);

}  // namespace orvane::ftp
