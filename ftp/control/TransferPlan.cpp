#include "TransferPlan.h"

#include <QDir>
#include <QFileInfo>

namespace orvane::ftp {

namespace {

void addSteps(const QFileInfo& entry, const QString& prefix, QList<UploadStep>& out)
{
    const QString remote = prefix + entry.fileName();
    if (!entry.isDir()) {
        out.append({UploadStep::Kind::Send, entry.absoluteFilePath(), remote});
        return;
    }
    out.append({UploadStep::Kind::MakeFolder, QString(), remote});
    if (entry.isSymLink())
        return;
    const QDir dir(entry.absoluteFilePath());
    const QDir::Filters common = QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files | common, QDir::Name))
        addSteps(file, remote + QLatin1Char('/'), out);
    for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | common, QDir::Name))
        addSteps(sub, remote + QLatin1Char('/'), out);
}

}  // namespace

QList<UploadStep> uploadSteps(const QString& localPath, const QString& prefix)
{
    QList<UploadStep> out;
    QString path = localPath;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    addSteps(QFileInfo(path), prefix, out);
    return out;
}

QString progressText(const QString& name, qint64 done, qint64 total)
{
    if (total <= 0)
        return QStringLiteral("%1: %2 bytes").arg(name).arg(done);
    return QStringLiteral("%1: %2 of %3 bytes (%4%)")
        .arg(name)
        .arg(done)
        .arg(total)
        .arg(int(done * 100 / total));
}

}  // namespace orvane::ftp
