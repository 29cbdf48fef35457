#include "PageFile.h"

#include <QFile>
#include <QSaveFile>

namespace orvane {

QString readPageFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PageFileError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PageFileError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return QString::fromUtf8(bytes);
}

void writePageFile(const QString& path, const QString& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw PageFileError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw PageFileError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

}  // namespace orvane
