#pragma once
// The surface's document schemes. A document is served from memory at a URL
// that mirrors its real location (file:///site/a.htm is served as
// orvane-file://local/site/a.htm, http://host/a.htm as orvane-http://host/a.htm),
// so relative images and links resolve against the page's own folder or URL;
// every other URL of these schemes is fetched from the real location.

#include <QByteArray>
#include <QHash>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

class QNetworkAccessManager;

namespace orvane {

// Registers the schemes; must run before the QApplication is created.
void registerPageSchemes();

// file:, http: and https: URLs to their served form; other URLs unchanged.
QUrl servedUrl(const QUrl& real);
// The inverse of servedUrl().
QUrl realUrl(const QUrl& served);

class PageSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    // The handler of the default profile, installed on first use.
    static PageSchemeHandler& instance();

    // Serves html at url (compared without fragment) until withdrawn.
    void publish(const QUrl& url, const QByteArray& html);
    void withdraw(const QUrl& url);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    explicit PageSchemeHandler(QObject* parent);
    void serveFile(QWebEngineUrlRequestJob* job, const QString& path);
    void serveRemote(QWebEngineUrlRequestJob* job, const QUrl& url);

    QHash<QString, QByteArray> m_documents;
    QNetworkAccessManager* m_network = nullptr;
};

}  // namespace orvane
