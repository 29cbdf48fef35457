#include "ServerAddress.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QUrl>

namespace orvane::ftp {

namespace {

// A host typed without a scheme names a server only when it cannot be a
// stray word: it has a dot (a domain or an IPv4 address), is "localhost", is
// an IPv6 address, or comes with a port.
bool namesAServer(const QString& authority)
{
    const QString host = authority.section(QLatin1Char('@'), -1);
    if (host.contains(QLatin1Char('.')))
        return true;
    static const QRegularExpression bracketed(QStringLiteral(R"(^\[([^\]]+)\](:\d+)?$)"));
    if (const auto m = bracketed.match(host); m.hasMatch())
        return QHostAddress(m.captured(1)).protocol() == QAbstractSocket::IPv6Protocol;
    static const QRegularExpression withPort(QStringLiteral(R"(^[^:\s]+:\d{1,5}$)"));
    return withPort.match(host).hasMatch()
           || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0;
}

}  // namespace

ServerAddress parseServerAddress(const QString& text)
{
    ServerAddress a;
    QString t = text.trimmed();
    if (t.isEmpty()) {
        a.error = QStringLiteral("No server address has been given.");
        return a;
    }
    if (!t.contains(QStringLiteral("://"))) {
        const QString authority = t.section(QLatin1Char('/'), 0, 0);
        // A bare IPv6 address ("fe80::1") gets the brackets a URL needs.
        if (QHostAddress(authority).protocol() == QAbstractSocket::IPv6Protocol)
            t = u'[' + authority + u']' + t.mid(authority.size());
        else if (!namesAServer(authority)) {
            a.error = QStringLiteral("\"%1\" is not a server address.").arg(text);
            return a;
        }
        t.prepend(QStringLiteral("ftp://"));
    }
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
