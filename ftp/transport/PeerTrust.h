#pragma once
// Verification of the server's TLS certificate (system CAs and host name) and
// SSH host key (~/.ssh/known_hosts), with fingerprints the user chose to
// trust for the session. Installed on a libcurl easy handle.

#include <QSet>
#include <QString>

typedef void CURL;

namespace orvane::ftp {

class PeerTrust {
public:
    // Sets the verification callbacks and options on easy; this object must
    // outlive the handle's transfers.
    void install(CURL* easy);
    void setHost(const QString& host) { m_host = host; }
    const QString& host() const { return m_host; }

    // Called before each connection attempt.
    void clearRefusal() { m_refusedFingerprint.clear(); m_problem.clear(); }

    // The peer refused by the last attempt, if any.
    bool hasRefusal() const { return !m_refusedFingerprint.isEmpty(); }
    QString refusedFingerprint() const { return m_refusedFingerprint; }
    // The whole explanation: what could not be verified, and the fingerprint.
    QString refusalText() const;

    void trustRefused();

    // Decisions of the libcurl callbacks.
    bool acceptCertificate(const QString& fingerprint, bool chainOk, const QString& chainProblem,
                           bool hostOk);
    bool acceptHostKey(const QString& fingerprint, bool known, bool mismatch);

private:
    QString m_host;
    QSet<QString> m_trusted;
    QString m_refusedFingerprint;
    QString m_problem;
};

}  // namespace orvane::ftp
