#include "PageScheme.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace orvane {

namespace {

const QByteArray fileScheme = "orvane-file";
const QByteArray httpScheme = "orvane-http";
const QByteArray httpsScheme = "orvane-https";
const QString localHost = QStringLiteral("local");

QString key(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded);
}

// Replies with bytes owned by the job.
void replyWith(QWebEngineUrlRequestJob* job, const QByteArray& mime, const QByteArray& bytes)
{
    auto* buffer = new QBuffer(job);
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    job->reply(mime, buffer);
}

}  // namespace

void registerPageSchemes()
{
    QWebEngineUrlScheme file(fileScheme);
    file.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    file.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed
                  | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(file);

    QWebEngineUrlScheme http(httpScheme);
    http.setSyntax(QWebEngineUrlScheme::Syntax::HostAndPort);
    http.setDefaultPort(80);
    http.setFlags(QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(http);

    QWebEngineUrlScheme https(httpsScheme);
    https.setSyntax(QWebEngineUrlScheme::Syntax::HostAndPort);
    https.setDefaultPort(443);
    https.setFlags(QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(https);
}

QUrl servedUrl(const QUrl& real)
{
    QUrl u = real;
    if (real.isLocalFile()) {
        u = QUrl();
        u.setScheme(QString::fromLatin1(fileScheme));
        u.setHost(localHost);
        u.setPath(QFileInfo(real.toLocalFile()).absoluteFilePath());
    } else if (real.scheme() == QLatin1String("http")) {
        u.setScheme(QString::fromLatin1(httpScheme));
    } else if (real.scheme() == QLatin1String("https")) {
        u.setScheme(QString::fromLatin1(httpsScheme));
    }
    return u;
}

QUrl realUrl(const QUrl& served)
{
    const QByteArray scheme = served.scheme().toLatin1();
    if (scheme == fileScheme)
        return QUrl::fromLocalFile(served.path());
    QUrl u = served;
    if (scheme == httpScheme)
        u.setScheme(QStringLiteral("http"));
    else if (scheme == httpsScheme)
        u.setScheme(QStringLiteral("https"));
    return u;
}

PageSchemeHandler& PageSchemeHandler::instance()
{
    static PageSchemeHandler* handler = [] {
        auto* h = new PageSchemeHandler(QCoreApplication::instance());
        QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
        for (const QByteArray& s : {fileScheme, httpScheme, httpsScheme})
            profile->installUrlSchemeHandler(s, h);
        return h;
    }();
    return *handler;
}

PageSchemeHandler::PageSchemeHandler(QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), m_network(new QNetworkAccessManager(this))
{
}

void PageSchemeHandler::publish(const QUrl& url, const QByteArray& html)
{
    m_documents.insert(key(url), html);
}

void PageSchemeHandler::withdraw(const QUrl& url)
{
    m_documents.remove(key(url));
}

void PageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QUrl url = job->requestUrl();
    const auto doc = m_documents.constFind(key(url));
    if (doc != m_documents.constEnd()) {
        replyWith(job, "text/html;charset=utf-8", *doc);
        return;
    }
    const QUrl real = realUrl(url);
    if (real.isLocalFile())
        serveFile(job, real.toLocalFile());
    else
        serveRemote(job, real);
}

void PageSchemeHandler::serveFile(QWebEngineUrlRequestJob* job, const QString& path)
{
    auto* file = new QFile(path, job);
    if (QFileInfo(path).isDir() || !file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const QByteArray mime = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension)
                                .name().toLatin1();
    job->reply(mime, file);
}

void PageSchemeHandler::serveRemote(QWebEngineUrlRequestJob* job, const QUrl& url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_network->get(request);
    QPointer<QWebEngineUrlRequestJob> pending(job);
    connect(job, &QObject::destroyed, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::finished, this, [reply, pending] {
        reply->deleteLater();
        if (!pending)
            return;
        if (reply->error() != QNetworkReply::NoError) {
            pending->fail(QWebEngineUrlRequestJob::RequestFailed);
            return;
        }
        QByteArray mime = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        if (mime.isEmpty())
            mime = "application/octet-stream";
        replyWith(pending, mime, reply->readAll());
    });
}

}  // namespace orvane
