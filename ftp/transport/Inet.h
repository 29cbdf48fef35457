#pragma once
// Inet: the FTP control's internet transfer control. One operation at a time
// over libcurl's multi interface, driven by the Qt event loop (no threads).
// Supports ftp:// (explicit TLS when offered), ftpes:// (TLS required),
// ftps:// (implicit TLS) and sftp://.

#include "FtpOperation.h"
#include "ListingParser.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

namespace orvane::ftp {

// StateChanged values.
enum InetState : int {
    icNone = 0, icResolvingHost = 1, icHostResolved = 2, icConnecting = 3, icConnected = 4,
    icRequesting = 5, icRequestSent = 6, icReceivingResponse = 7, icResponseReceived = 8,
    icDisconnecting = 9, icDisconnected = 10, icError = 11, icResponseCompleted = 12,
};

class Inet : public QObject {
    Q_OBJECT
public:
    explicit Inet(QObject* parent = nullptr);
    ~Inet() override;

    QString URL() const;
    void setURL(const QString& url);     // the host (RemoteHost) is derived from it
    QString RemoteHost() const;
    QString UserName() const;
    void setUserName(const QString& name);
    void setPassword(const QString& password);

    // Starts an operation. Throws InetBusy while another one runs (nothing is
    // sent) and InetRefused for an operation that must not be sent (a name
    // with CR, LF or NUL). Names the last listings showed decoded from other
    // encodings than UTF-8 are sent back as the server's own bytes. Progress comes as StateChanged from the event loop:
    // 1 to 8 in order, then 12 (done) or 11 (failed); "close" gives 9, 10, 12.
    // StillExecuting is already false when 11 or 12 is emitted.
    void Execute(const Operation& operation);
    bool StillExecuting() const;
    // The reply of the last completed operation, in pieces of at most size
    // characters; an empty string once it is all read (and while running).
    QString GetChunk(int size);
    // The last completed listing, entries and unread lines, without making
    // its text: for a listing of a million names. Empty while running or
    // after an operation that was no listing.
    Listing lastListing() const;
    // The server's last reply line, or the transport's error text.
    QString ResponseInfo() const;
    // Stops the running operation at once; emits no state. A cancelled GET
    // leaves no file behind and an existing target untouched.
    void Cancel();

    // The running GET or PUT: bytes moved so far, and the file's size, or -1
    // while it is not known. 0 and -1 for other operations.
    qint64 bytesDone() const;
    qint64 bytesTotal() const;

    // Trust for the rest of the session the certificate or host key that the
    // last operation could not verify (see untrustedFingerprint()).
    bool hasUntrustedPeer() const;
    QString untrustedFingerprint() const;
    void trustUntrustedPeer();

    // Limits, lowered by tests.
    void setConnectTimeoutMs(int ms);   // default 30 000
    void setStallTimeoutMs(int ms);     // default 60 000
    // A listing longer or slower than this is stopped (default 512 MB, 5 minutes).
    void setListingLimits(qint64 bytes, int ms);

signals:
    void StateChanged(int state);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

}  // namespace orvane::ftp
