#include "ServerListing.h"

#include <algorithm>

namespace orvane::ftp {

bool isHiddenName(QStringView name)
{
    return name.isEmpty() || name.startsWith(QLatin1Char('.'));
}

QString fileTypeOf(QStringView name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? QStringLiteral("File") : name.mid(dot + 1).toString().toUpper();
}

QString pathPrefix(const QString& serverPath)
{
    return serverPath == kRootKey ? QString() : serverPath;
}

QString serverFolderKey(const QString& path, const QString& line)
{
    return path == kRootKey ? line : path + line;
}

QString placeholderKey(const QString& folderKey)
{
    return folderKey + kPlaceholder;
}

QList<RemoteFolder> serverFolders(const QString& path, const Listing& listing)
{
    QList<RemoteFolder> out;
    for (const RemoteEntry& e : listing.entries) {
        const QStringView name = listing.name(e);
        if (!e.isFolder || isHiddenName(name))
            continue;
        const QString line = name.toString() + QLatin1Char('/');
        out.append({path, serverFolderKey(path, line), line});
    }
    return out;
}

FileRows serverFiles(const Listing& listing)
{
    FileRows files;
    files.names = listing.names;   // shared, not copied
    const auto shown = [&](const RemoteEntry& e) { return !e.isFolder && !isHiddenName(listing.name(e)); };
    if (std::all_of(listing.entries.cbegin(), listing.entries.cend(), shown)) {
        files.rows = listing.entries;   // shared too
    } else {
        for (const RemoteEntry& e : listing.entries)
            if (shown(e))
                files.rows.append(e);
    }
    for (const QString& line : listing.unparsed)
        files.append(line);
    return files;
}

}  // namespace orvane::ftp
