#include "PeerTrust.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>

namespace orvane::ftp {
namespace {

int trustIndex()
{
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

QString certificateFingerprint(X509* cert)
{
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (!cert || !X509_digest(cert, EVP_sha256(), md, &len))
        return {};
    return QString::fromLatin1(QByteArray(reinterpret_cast<char*>(md), int(len)).toHex(':').toUpper());
}

bool hostMatches(X509* cert, const QString& host)
{
    const QByteArray h = host.toUtf8();
    unsigned char addr[16];
    if (inet_pton(AF_INET, h.constData(), addr) == 1 || inet_pton(AF_INET6, h.constData(), addr) == 1)
        return X509_check_ip_asc(cert, h.constData(), 0) == 1;
    return X509_check_host(cert, h.constData(), size_t(h.size()), 0, nullptr) == 1;
}

// OpenSSL's verification callback: called per certificate of the chain.
int verifyCertificate(int preverifyOk, X509_STORE_CTX* store)
{
    auto* ssl = static_cast<SSL*>(
        X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* trust = ssl ? static_cast<PeerTrust*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), trustIndex()))
                      : nullptr;
    if (!trust)
        return preverifyOk;
    X509* leaf = X509_STORE_CTX_get0_cert(store);
    const bool atLeaf = X509_STORE_CTX_get_error_depth(store) == 0;
    const QString problem = preverifyOk
        ? QString()
        : QString::fromLatin1(X509_verify_cert_error_string(X509_STORE_CTX_get_error(store)));
    // The host name is checked here, not by libcurl, so that a certificate the
    // user trusted is accepted whatever name it carries.
    bool hostOk = true;
    if (atLeaf && preverifyOk)
        hostOk = hostMatches(leaf, trust->host());
    if (!trust->acceptCertificate(certificateFingerprint(leaf), preverifyOk, problem, hostOk))
        return 0;
    X509_STORE_CTX_set_error(store, X509_V_OK);
    return 1;
}

CURLcode setUpTls(CURL*, void* sslCtx, void* userData)
{
    auto* ctx = static_cast<SSL_CTX*>(sslCtx);
    SSL_CTX_set_ex_data(ctx, trustIndex(), userData);
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, verifyCertificate);
    return CURLE_OK;
}

int checkHostKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match,
                 void* userData)
{
    auto* trust = static_cast<PeerTrust*>(userData);
    QByteArray key = found->len ? QByteArray(found->key, int(found->len))
                                : QByteArray::fromBase64(QByteArray(found->key));
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha256)
                                  .toBase64(QByteArray::OmitTrailingEquals);
    const QString fingerprint = QStringLiteral("SHA256:") + QString::fromLatin1(digest);
    return trust->acceptHostKey(fingerprint, match == CURLKHMATCH_OK, match == CURLKHMATCH_MISMATCH)
               ? CURLKHSTAT_FINE
               : CURLKHSTAT_REJECT;
}

}  // namespace

void PeerTrust::install(CURL* easy)
{
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    // The name is checked in verifyCertificate, so that trust can override it.
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, setUpTls);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, this);
    const QByteArray knownHosts = QFile::encodeName(QDir::homePath() + QStringLiteral("/.ssh/known_hosts"));
    curl_easy_setopt(easy, CURLOPT_SSH_KNOWNHOSTS, knownHosts.constData());
    curl_easy_setopt(easy, CURLOPT_SSH_KEYFUNCTION, checkHostKey);
    curl_easy_setopt(easy, CURLOPT_SSH_KEYDATA, this);
}

bool PeerTrust::acceptCertificate(const QString& fingerprint, bool chainOk,
                                  const QString& chainProblem, bool hostOk)
{
    if (m_trusted.contains(fingerprint) || (chainOk && hostOk))
        return true;
    m_refusedFingerprint = fingerprint;
    m_problem = !chainOk ? QStringLiteral("The server's certificate could not be verified (%1).")
                               .arg(chainProblem)
                         : QStringLiteral("The server's certificate was not issued for %1.").arg(m_host);
    return false;
}

bool PeerTrust::acceptHostKey(const QString& fingerprint, bool known, bool mismatch)
{
    if (known || m_trusted.contains(fingerprint))
        return true;
    m_refusedFingerprint = fingerprint;
    m_problem = mismatch
        ? QStringLiteral("The server's SSH host key differs from the one recorded in "
                         "~/.ssh/known_hosts for %1: it may have been replaced, or the "
                         "connection intercepted.").arg(m_host)
        : QStringLiteral("The server's SSH host key is not recorded in ~/.ssh/known_hosts.");
    return false;
}

QString PeerTrust::refusalText() const
{
    if (!hasRefusal())
        return {};
    return m_problem + QStringLiteral(" SHA-256 fingerprint: ") + m_refusedFingerprint;
}

void PeerTrust::trustRefused()
{
    if (hasRefusal())
        m_trusted.insert(m_refusedFingerprint);
    clearRefusal();
}

}  // namespace orvane::ftp
