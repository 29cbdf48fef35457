#include "ServerListing.h"

#include <QRegularExpression>

namespace orvane::ftp {

QStringList replyLines(const QString& reply)
{
    // CR LF from the transport; a lone CR or LF ends a line too, so that
    // names never run together.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    return reply.split(lineEnd);
}

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

QList<RemoteFile> serverFiles(const QString& path, const QStringList& lines)
{
    QList<RemoteFile> out;
    for (const QString& line : lines) {
        if (classifyLine(line) == LineKind::File)
            out.append({path + line, line, fileTypeOf(line)});
    }
    return out;
}

}  // namespace orvane::ftp
