#include "ServerAddress.h"

#include <QUrl>

namespace orvane::ftp {

ServerAddress parseServerAddress(const QString& text)
{
    ServerAddress a;
    QString t = text.trimmed();
    if (t.isEmpty()) {
        a.error = QStringLiteral("No server address has been given.");
        return a;
    }
    if (!t.contains(QStringLiteral("://")))
        t.prepend(QStringLiteral("ftp://"));
    const QUrl url(t, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    int defaultPort = 21;
    if (scheme == u"ftp") {
        a.security = ServerAddress::Security::TlsIfOffered;
    } else if (scheme == u"ftpes") {
        a.security = ServerAddress::Security::TlsRequired;
    } else if (scheme == u"ftps") {
        a.security = ServerAddress::Security::ImplicitTls;
        defaultPort = 990;
    } else if (scheme == u"sftp") {
        a.security = ServerAddress::Security::Ssh;
        defaultPort = 22;
    } else {
        a.error = QStringLiteral("The address \"%1\" does not name FTP, FTPS or SFTP.").arg(text);
        return a;
    }
    a.host = url.host();
    if (!url.isValid() || a.host.isEmpty()) {
        a.error = QStringLiteral("\"%1\" is not a server address.").arg(text);
        return a;
    }
    a.port = url.port(defaultPort);
    return a;
}

QByteArray ServerAddress::loginFolderUrl() const
{
    QByteArray scheme = security == Security::ImplicitTls ? "ftps"
                        : security == Security::Ssh       ? "sftp"
                                                          : "ftp";
    QString h = host;
    if (h.contains(u':'))
        h = u'[' + h + u']';   // IPv6 literal
    QByteArray url = scheme + "://" + QUrl::toPercentEncoding(h, "[]:") + ':'
                     + QByteArray::number(port) + '/';
    if (security == Security::Ssh)
        url += "~/";
    return url;
}

QByteArray ServerAddress::urlOf(const QString& path, bool folder) const
{
    return urlOfBytes(path.toUtf8(), folder);
}

QByteArray ServerAddress::urlOfBytes(const QByteArray& path, bool folder) const
{
    QByteArray url = loginFolderUrl();
    QByteArray rel = path;
    if (rel.startsWith('/')) {
        // Absolute: FTP marks the root with %2F; SFTP drops the home marker.
        if (security == Security::Ssh)
            url.chop(2);
        else
            url += "%2F";
        rel.remove(0, 1);
    }
    const QByteArrayList parts = rel.split('/');
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0)
            url += '/';
        url += parts[i].toPercentEncoding();
    }
    if (folder && !url.endsWith('/'))
        url += '/';
    return url;
}

}  // namespace orvane::ftp
