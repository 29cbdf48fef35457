#pragma once
// The remote pane's reading of a listing: the folder nodes and file items its
// entries become under the remote key scheme.
//
// Remote folder keys double as paths relative to the login folder: a folder
// right under the root is keyed by its name and "/" ("pub/"), a deeper one by
// its parent's key followed by that ("pub/incoming/"). The root is "root".

#include "FileListModel.h"
#include "ListingParser.h"

#include <QList>
#include <QString>

namespace orvane::ftp {

// The key of the remote root node and the ServerPath of the login folder.
inline constexpr QLatin1String kRootKey("root");
// The text and key suffix of the child that makes an unlisted folder expandable.
inline constexpr QLatin1String kPlaceholder("***");

// Empty names and names beginning with "." are hidden.
bool isHiddenName(QStringView name);

// The "Type" column of a file: the text after the first "." in capitals
// (site.tar.gz gives TAR.GZ), or "File" for a name without a dot.
QString fileTypeOf(QStringView name);

// "" at the root, else the folder key: what operations put before a name.
QString pathPrefix(const QString& serverPath);

// The key of the folder listed as `line` (its name and "/") in the folder keyed `path`.
QString serverFolderKey(const QString& path, const QString& line);
QString placeholderKey(const QString& folderKey);

struct RemoteFolder {
    QString parentKey;
    QString key;
    QString text;
};

// The folder nodes a listing of the folder `path` adds, in listing order,
// shown as their name and "/"; hidden names left out.
QList<RemoteFolder> serverFolders(const QString& path, const Listing& listing);

// What the remote list shows of a listing: its files in listing order,
// hidden names left out, then the lines the transport could not read, each
// whole, whatever it holds, so that nothing vanishes. The rows share the
// listing's block of names. In the remote list a file's key is ServerPath
// followed by the name ("root" + name at the top).
FileRows serverFiles(const Listing& listing);

}  // namespace orvane::ftp
