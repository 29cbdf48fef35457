#include "SourceFile.h"

#include <QFile>
#include <QSaveFile>

namespace orvane {

DecodedPage readSourceFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SourceFileError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw SourceFileError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return decodePage(bytes);
}

void writeSourceFile(const QString& path, const QString& text, const PageEncoding& encoding)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw SourceFileError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = encodePage(text, encoding);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw SourceFileError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

}  // namespace orvane
