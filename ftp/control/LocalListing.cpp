#include "LocalListing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvane::ftp {

QList<FileEntry> localEntries(const QString& folderKey)
{
    const QDir dir(folderKey);
    const QDir::Filters common = QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    QList<FileEntry> out;
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Dirs | common, QDir::Name))
        out.append({entry.fileName(), -1, true});
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | common, QDir::Name))
        out.append({entry.fileName(), entry.size(), false});
    return out;
}

QString deleteLocalFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QStringLiteral("it does not exist");
    if (info.isDir() && !info.isSymLink())
        return QStringLiteral("it is a folder");
    // The owner's write bit, not access(): root may write anything.
    if (!info.isSymLink() && !(info.permissions() & QFileDevice::WriteOwner))
        return QStringLiteral("it is read-only");
    QFile file(path);
    if (!file.remove())
        return file.errorString();
    return QString();
}

}  // namespace orvane::ftp
