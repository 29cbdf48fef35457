#include "ServerListing.h"

namespace orvane::ftp {

bool isHiddenName(QStringView name)
{
    return name.isEmpty() || name.startsWith(QLatin1Char('.'));
}

LineKind classifyLine(const QString& line)
{
    if (isHiddenName(line))
        return LineKind::Hidden;
    return line.endsWith(QLatin1Char('/')) ? LineKind::Folder : LineKind::File;
}

QString fileTypeOf(const QString& name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? QStringLiteral("File") : name.mid(dot + 1).toUpper();
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

QList<RemoteFolder> serverFolders(const QString& path, const QStringList& lines)
{
    QList<RemoteFolder> out;
    for (const QString& line : lines) {
        if (classifyLine(line) == LineKind::Folder)
            out.append({path, serverFolderKey(path, line), line});
    }
    return out;
}

QStringList folderLines(const QList<RemoteEntry>& entries)
{
    QStringList lines;
    for (const RemoteEntry& e : entries) {
        if (e.isFolder && !isHiddenName(e.name))
            lines.append(e.name + QLatin1Char('/'));
    }
    return lines;
}

QList<FileEntry> serverFiles(const QList<RemoteEntry>& entries)
{
    QList<FileEntry> files;
    files.reserve(entries.size());
    for (const RemoteEntry& e : entries) {
        if (!e.isFolder && !isHiddenName(e.name))
            files.append({e.name});
    }
    return files;
}

QList<FileEntry> unparsedFiles(const QStringList& lines)
{
    QList<FileEntry> files;
    files.reserve(lines.size());
    for (const QString& line : lines)
        files.append({line});
    return files;
}

}  // namespace orvane::ftp
