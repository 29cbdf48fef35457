#include "ServerListing.h"

namespace orvane::ftp {

LineKind classifyLine(const QString& line)
{
    if (line.isEmpty() || line.startsWith(QLatin1Char('.')))
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

QList<FileEntry> serverFiles(const QStringList& lines)
{
    QList<FileEntry> files;
    files.reserve(lines.size());
    for (const QString& line : lines) {
        if (classifyLine(line) == LineKind::File)
            files.append({line});
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
