#include "DragData.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QUrl>

namespace orvane::ftp {

QMimeData* localFilesData(const QStringList& paths)
{
    QList<QUrl> urls;
    urls.reserve(paths.size());
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

QMimeData* remoteNamesData(const QStringList& names)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << names;
    auto* data = new QMimeData;
    data->setData(QLatin1String(kRemoteNamesType), bytes);
    return data;
}

QStringList localFilesOf(const QMimeData* data)
{
    QStringList out;
    if (!data || !data->hasUrls())
        return out;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            out << url.toLocalFile();
    }
    return out;
}

QStringList remoteNamesOf(const QMimeData* data)
{
    QStringList names;
    if (!data || !data->hasFormat(QLatin1String(kRemoteNamesType)))
        return names;
    QDataStream in(data->data(QLatin1String(kRemoteNamesType)));
    in >> names;
    if (in.status() != QDataStream::Ok)
        return {};
    return names;
}

}  // namespace orvane::ftp
