#include "ServerListing.h"

#include <QHash>

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

namespace {

// Rows of files; their types are shared, as a listing of many files has few.
class FileRows {
public:
    explicit FileRows(qsizetype reserve) { m_rows.reserve(reserve); }

    void add(const QString& key, const QString& name)
    {
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        const QStringView suffix = dot < 0 ? QStringView() : QStringView(name).sliced(dot + 1);
        auto type = m_types.constFind(suffix);
        if (type == m_types.cend())
            type = m_types.insert(suffix, fileTypeOf(name));
        m_rows.append({key, name, QStringLiteral("File"), *type, QString()});
    }

    QList<ItemRow> take() { return std::move(m_rows); }

private:
    QList<ItemRow> m_rows;
    QHash<QStringView, QString> m_types;   // views into the names, alive meanwhile
};

}  // namespace

QList<ItemRow> serverFiles(const QString& path, const QStringList& lines)
{
    FileRows rows(lines.size());
    for (const QString& line : lines) {
        if (classifyLine(line) == LineKind::File)
            rows.add(path + line, line);
    }
    return rows.take();
}

QList<ItemRow> unparsedFiles(const QString& path, const QStringList& lines)
{
    FileRows rows(lines.size());
    for (const QString& line : lines)
        rows.add(path + line, line);
    return rows.take();
}

}  // namespace orvane::ftp
