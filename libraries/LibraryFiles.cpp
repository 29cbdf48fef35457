#include "LibraryFiles.h"

#include "LegacyCodec.h"

#include <QDir>
#include <QSet>
#include <QStringDecoder>

namespace orvane {

QList<LibraryFile> listLibrary(const QStringList& folders)
{
    QList<LibraryFile> files;
    QSet<QString> seen;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList names =
            dir.entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
        for (const QString& name : names) {
            if (seen.contains(name))
                continue;
            seen.insert(name);
            files.append({name, dir.filePath(name)});
        }
    }
    return files;
}

QString snippetText(const QByteArray& bytes)
{
    // Stateless: a sequence cut off at the end is an error, not left pending.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return text::decodeWindows1252(bytes);
    return text;
}

QString imageTag(const QString& path)
{
    QString src = path;
    src.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('\''), QLatin1String("%27"))
        .replace(QLatin1Char('&'), QLatin1String("&amp;"));
    return QStringLiteral("<img src='") + src + QStringLiteral("'>");
}

}  // namespace orvane
