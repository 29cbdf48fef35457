#pragma once
// The remote pane's reading of a listing reply: lines, their kind, and the
// folder nodes and file items they become under the remote key scheme.
//
// Remote folder keys double as paths relative to the login folder: a folder
// right under the root is keyed by its listing line ("pub/"), a deeper one by
// its parent's key followed by the line ("pub/incoming/"). The root is "root".

#include "FileListModel.h"
#include "ListingParser.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::ftp {

// The key of the remote root node and the ServerPath of the login folder.
inline constexpr QLatin1String kRootKey("root");
// The text and key suffix of the child that makes an unlisted folder expandable.
inline constexpr QLatin1String kPlaceholder("***");

enum class LineKind { Hidden, Folder, File };

// Empty lines and names beginning with "." are hidden; a line ending with "/"
// is a folder, any other line a file.
LineKind classifyLine(const QString& line);
bool isHiddenName(QStringView name);

// The "Type" column of a file: the text after the first "." in capitals
// (site.tar.gz gives TAR.GZ), or "File" for a name without a dot.
QString fileTypeOf(const QString& name);

// "" at the root, else the folder key: what operations put before a name.
QString pathPrefix(const QString& serverPath);

// The key of the folder `line` listed in the folder keyed `path`.
QString serverFolderKey(const QString& path, const QString& line);
QString placeholderKey(const QString& folderKey);

struct RemoteFolder {
    QString parentKey;
    QString key;
    QString text;
};

// The folder nodes a reply for the folder `path` adds, in listing order.
QList<RemoteFolder> serverFolders(const QString& path, const QStringList& lines);

// A listing's folders as reply lines ("name/"), and its files as list
// entries, in listing order; hidden names left out. In the remote list a
// file's key is ServerPath followed by the name ("root" + name at the top).
QStringList folderLines(const QList<RemoteEntry>& entries);
QList<FileEntry> serverFiles(const QList<RemoteEntry>& entries);

// The file entries for the lines of a listing that the transport could not
// read: each is shown whole, whatever it holds, so that nothing vanishes.
QList<FileEntry> unparsedFiles(const QStringList& lines);

}  // namespace orvane::ftp
