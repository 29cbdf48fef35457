#include "ServerListing.h"

namespace orvane::ftp {

QStringList replyLines(const QString& reply)
{
    // CR LF from the transport; a lone CR or LF ends a line too, so that
    // names never run together.
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < reply.size(); ++i) {
        const QChar c = reply.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(reply.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < reply.size() && reply.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines.append(reply.mid(start));
    return lines;
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

QList<RemoteFile> unparsedFiles(const QString& path, const QStringList& lines)
{
    QList<RemoteFile> out;
    out.reserve(lines.size());
    for (const QString& line : lines)
        out.append({path + line, line, fileTypeOf(line)});
    return out;
}

}  // namespace orvane::ftp
