#include "Inet.h"

#include "CurlDriver.h"
#include "DownloadFile.h"
#include "ListingParser.h"
#include "PeerTrust.h"
#include "RemoteCommands.h"
#include "ServerAddress.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTime>
#include <QTimer>

#include <curl/curl.h>

#include <cstdio>
#include <memory>

namespace orvane::ftp {

namespace {

Q_LOGGING_CATEGORY(lcTransport, "orvane.ftp.transport")

constexpr int kMaxLinkProbes = 16;
// Longer paths are refused before sending: servers and libcurl refuse long
// command lines anyway, with less helpful words ("Out of memory").
constexpr qsizetype kMaxPathBytes = 4096;

// The steps one operation may take; each is one libcurl transfer.
// PutCleanup removes what a failed upload left on the server. TypeFirst
// comes before a GET by command (see beginStep).
enum class Step { Mlsd, List, LinkProbe, Command, TypeFirst, Get, Put, PutCleanup };

// Why an argument cannot be sent at all, or an empty string.
QString unsendable(const QString& s)
{
    if (s.contains(u'\r') || s.contains(u'\n'))
        return QStringLiteral("A name containing a line break cannot be sent to the server.");
    if (s.contains(QChar(u'\0')))
        return QStringLiteral("A name containing a NUL character cannot be sent to the server.");
    return {};
}

// libcurl refuses control characters in the path of an FTP URL: such names
// travel in commands instead.
bool hasControlByte(const QByteArray& path)
{
    for (char c : path)
        if (uchar(c) < 0x20)
            return true;
    return false;
}

// A name or server line made fit for a one-line message.
QString oneLine(const QString& text, qsizetype max = 120)
{
    QString out = text;
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control)
            c = u'?';
    if (out.size() <= max)
        return out;
    return out.left(max - 30) + QStringLiteral("…") + out.right(20)
           + QStringLiteral(" (%1 characters)").arg(text.size());
}

}  // namespace

struct Inet::Private {
    Inet* q;
    PeerTrust trust;     // outlives the handle that calls it
    CurlDriver driver;

    // Settings.
    QString urlText;
    ServerAddress address = parseServerAddress(QString());
    QString userName;
    QString password;
    int connectTimeoutMs = 30000;
    int stallTimeoutMs = 60000;
    qint64 listingMaxBytes = qint64(512) << 20;
    int listingMaxMs = 5 * 60 * 1000;

    // Per server, learnt on the way.
    bool mlsdUnsupported = false;
    QString loginFolder;
    // Listed paths whose names were not UTF-8: the path as shown (without a
    // trailing "/") and the bytes the server knows it by.
    QHash<QString, QByteArray> serverBytes;

    // The running operation.
    bool busy = false;
    quint64 generation = 0;      // bumped by Cancel and every new operation
    Operation op = Operation::close();
    Step step = Step::Command;
    int stateReached = icNone;
    curl_slist* quote = nullptr;
    curl_slist* postquote = nullptr;
    QByteArray customRequest;            // kept alive while libcurl uses it
    std::unique_ptr<ListingReader> listing;   // reads the current step's listing as it arrives
    bool collecting = false;             // the data connection's raw bytes go to listing
    bool rawDownload = false;            // a GET by command: the raw bytes go to the file
    QElapsedTimer listingClock;
    Listing listed;                      // the last listing read
    bool wasListing = false;             // the last completed operation was a listing
    bool replyUnrendered = false;        // reply is still to be made from listed
    QList<int> linkProbes;               // entries whose link target is probed
    int probe = 0;
    std::unique_ptr<DownloadFile> download;
    std::unique_ptr<QFile> upload;
    qint64 uploadLeft = 0;
    QByteArray putTarget;                // where the upload goes on the server
    QByteArray putFinal;                 // renamed to this afterwards when not empty
    bool storeStarted = false;           // the server accepted STOR: a file exists now
    QString pendingError;                // reported once PutCleanup is done
    qint64 uploadSize = 0;
    QString localError;                  // a local file failure, reported as such
    QString lastServerLine;
    QByteArray lastCommand;              // the last command sent
    bool sawReply = false;               // the server said something during this step
    QByteArray headerLine;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    // The last completed operation.
    QString reply;
    qsizetype replyRead = 0;
    QString responseInfo;

    explicit Private(Inet* owner) : q(owner) {}

    void configureHandle();
    void beginStep(Step s, bool first = false);
    void stepFinished(CURLcode code);
    void trackProgress();
    bool advanceTo(int state);      // false when the operation ended meanwhile
    void complete();
    void fail(const QString& text);
    void failSoon(const QString& text);
    void closeSoon();
    void releaseStep();
    QString errorText(CURLcode code) const;
    QString probePath(int entry) const;
    QString listPath() const { return op.args().value(0); }
    QByteArray bytesOf(const QString& path) const;
    void rememberServerBytes();
    void finishListing(Listing&& listing);
    QString tooLong() const;

    static size_t collect(char* data, size_t size, size_t n, void* self);
    static size_t discard(char*, size_t size, size_t n, void*) { return size * n; }
    static size_t save(char* data, size_t size, size_t n, void* self);
    static size_t send(char* data, size_t size, size_t n, void* self);
    static int debug(CURL*, curl_infotype type, char* data, size_t size, void* self);
};

Inet::Inet(QObject* parent) : QObject(parent), d(new Private(this))
{
    d->driver.setFinishedHandler([this](CURLcode code) { d->stepFinished(code); });
    d->driver.setProgressHandler([this] { d->trackProgress(); });
    d->configureHandle();
}

// The driver's handlers use the inside: they go before it.
Inet::~Inet()
{
    Cancel();
    d->driver.setFinishedHandler({});
    d->driver.setProgressHandler({});
}

QString Inet::URL() const { return d->urlText; }

void Inet::setURL(const QString& url)
{
    d->urlText = url;
    const ServerAddress next = parseServerAddress(url);
    if (next.host != d->address.host || next.port != d->address.port
        || next.security != d->address.security) {
        d->mlsdUnsupported = false;
        d->loginFolder.clear();
        d->serverBytes.clear();
    }
    d->address = next;
    d->trust.setHost(next.host);
}

QString Inet::RemoteHost() const { return d->address.host; }
QString Inet::UserName() const { return d->userName; }

void Inet::setUserName(const QString& name)
{
    if (name != d->userName)
        d->loginFolder.clear();
    d->userName = name;
}

void Inet::setPassword(const QString& password) { d->password = password; }

bool Inet::StillExecuting() const { return d->busy; }

QString Inet::GetChunk(int size)
{
    if (size <= 0 || d->busy)
        return {};
    if (d->replyUnrendered) {
        d->reply = renderListing(d->listed);
        d->replyUnrendered = false;
    }
    const QString piece = d->reply.mid(d->replyRead, size);
    d->replyRead += piece.size();
    return piece;
}

Listing Inet::lastListing() const
{
    return d->busy || !d->wasListing ? Listing() : d->listed;
}

QString Inet::ResponseInfo() const { return d->responseInfo; }

qint64 Inet::bytesDone() const
{
    if (!d->busy || (!d->download && !d->upload))
        return 0;
    if (d->upload)
        return d->uploadSize - d->uploadLeft;
    curl_off_t done = 0;
    curl_easy_getinfo(d->driver.easy(), CURLINFO_SIZE_DOWNLOAD_T, &done);
    return qint64(done);
}

qint64 Inet::bytesTotal() const
{
    if (!d->busy || (!d->download && !d->upload))
        return -1;
    if (d->upload)
        return d->uploadSize;
    curl_off_t total = -1;
    curl_easy_getinfo(d->driver.easy(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &total);
    return qint64(total);
}

bool Inet::hasUntrustedPeer() const { return d->trust.hasRefusal(); }
QString Inet::untrustedFingerprint() const { return d->trust.refusedFingerprint(); }
void Inet::trustUntrustedPeer() { d->trust.trustRefused(); }

void Inet::setConnectTimeoutMs(int ms) { d->connectTimeoutMs = qMax(1, ms); }
void Inet::setStallTimeoutMs(int ms) { d->stallTimeoutMs = qMax(1, ms); }

void Inet::setListingLimits(qint64 bytes, int ms)
{
    d->listingMaxBytes = qMax<qint64>(1, bytes);
    d->listingMaxMs = qMax(1, ms);
}

void Inet::Execute(const Operation& operation)
{
    if (d->busy)
        throw InetBusy();
    for (const QString& arg : operation.args())
        if (const QString why = unsendable(arg); !why.isEmpty())
            throw InetRefused(why.toStdString());

    ++d->generation;
    d->busy = true;
    d->op = operation;
    d->stateReached = icNone;
    d->reply.clear();
    d->replyUnrendered = false;
    d->wasListing = false;
    d->replyRead = 0;
    d->responseInfo.clear();
    d->lastServerLine.clear();
    d->localError.clear();
    d->listed = Listing();
    d->linkProbes.clear();
    d->trust.clearRefusal();
    d->storeStarted = false;
    d->putFinal.clear();

    if (operation.verb() == Operation::Verb::Close) {
        d->closeSoon();
        return;
    }
    if (!d->address.isValid()) {
        d->failSoon(d->address.error);
        return;
    }
    if (const QString why = d->tooLong(); !why.isEmpty()) {
        d->failSoon(why);
        return;
    }
    switch (operation.verb()) {
    case Operation::Verb::Dir:
    case Operation::Verb::Ls:
        d->beginStep(d->address.isSsh() || d->mlsdUnsupported ? Step::List : Step::Mlsd, true);
        break;
    case Operation::Verb::Get: {
        const QString local = operation.args().value(1);
        d->download = std::make_unique<DownloadFile>(local);
        if (!d->download->open()) {
            const QString why = d->download->errorString();
            d->download.reset();
            d->failSoon(QStringLiteral("Cannot write %1: %2").arg(oneLine(local), why));
            return;
        }
        const QByteArray remote = d->bytesOf(operation.args().value(0));
        d->beginStep(!d->address.isSsh() && hasControlByte(remote) ? Step::TypeFirst : Step::Get, true);
        break;
    }
    case Operation::Verb::Put: {
        const QString local = operation.args().value(0);
        d->upload = std::make_unique<QFile>(local);
        if (QFileInfo(local).isDir() || !d->upload->open(QIODevice::ReadOnly)) {
            const QString why = QFileInfo(local).isDir() ? QStringLiteral("it is a folder")
                                                         : d->upload->errorString();
            d->upload.reset();
            d->failSoon(QStringLiteral("Cannot read %1: %2").arg(oneLine(local), why));
            return;
        }
        // The file is sent as long as it is now.
        d->uploadLeft = d->upload->size();
        d->putTarget = d->bytesOf(operation.args().value(1));
        if (!d->address.isSsh() && hasControlByte(d->putTarget)) {
            // Sent under a plain temporary name in the login folder, then renamed.
            d->putFinal = d->putTarget;
            d->putTarget = ".orvane-upload-"
                           + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        }
        d->uploadSize = d->uploadLeft;
        d->beginStep(Step::Put, true);
        break;
    }
    default:
        d->beginStep(Step::Command, true);
        break;
    }
}

void Inet::Cancel()
{
    if (!d->busy)
        return;
    ++d->generation;
    d->driver.stop();
    d->releaseStep();
    d->download.reset();   // an uncommitted download removes its temporary file
    d->upload.reset();
    d->busy = false;
    d->responseInfo = QStringLiteral("The operation was cancelled.");
}

// --- libcurl handle and steps ------------------------------------------------

void Inet::Private::configureHandle()
{
    CURL* e = driver.easy();
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, &Private::debug);
    curl_easy_setopt(e, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(e, CURLOPT_BUFFERSIZE, 512L * 1024);
    curl_easy_setopt(e, CURLOPT_UPLOAD_BUFFERSIZE, 2L * 1024 * 1024);
    curl_easy_setopt(e, CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
    curl_easy_setopt(e, CURLOPT_TCP_KEEPALIVE, 1L);
    // FTP over TLS 1.3 breaks on servers that require the data connections
    // to reuse the control connection's TLS session (the usual proftpd
    // setup): the upload's data connection is closed without reading its
    // session tickets, the shared session becomes unusable, and the next data
    // connection is refused ("425 Unable to build data connection"). TLS 1.2
    // resumes by session id and has no such ticket: FTP stays on it.
    curl_easy_setopt(e, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2 | CURL_SSLVERSION_MAX_TLSv1_2));
    trust.install(e);
}

void Inet::Private::beginStep(Step s, bool first)
{
    step = s;
    listing.reset();
    errorBuffer[0] = 0;
    headerLine.clear();
    sawReply = false;
    collecting = false;
    rawDownload = false;
    releaseStep();
    CURL* e = driver.easy();

    // Reset what another step may have set.
    curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_easy_setopt(e, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(e, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(e, CURLOPT_QUOTE, nullptr);
    curl_easy_setopt(e, CURLOPT_POSTQUOTE, nullptr);
    curl_easy_setopt(e, CURLOPT_INFILESIZE_LARGE, curl_off_t(-1));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Private::discard);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(e, CURLOPT_READFUNCTION, &Private::send);
    curl_easy_setopt(e, CURLOPT_READDATA, this);

    // Connection and limits.
    const QByteArray user = userName.toUtf8(), pass = password.toUtf8();
    curl_easy_setopt(e, CURLOPT_USERNAME, user.isEmpty() ? nullptr : user.constData());
    curl_easy_setopt(e, CURLOPT_PASSWORD, pass.constData());
    long useSsl = CURLUSESSL_TRY;
    if (address.security == ServerAddress::Security::TlsRequired
        || address.security == ServerAddress::Security::ImplicitTls)
        useSsl = CURLUSESSL_ALL;
    curl_easy_setopt(e, CURLOPT_USE_SSL, useSsl);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(connectTimeoutMs));
    const long stallSeconds = (stallTimeoutMs + 999) / 1000;
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, stallSeconds);

    const bool ssh = address.isSsh();
    // The first step of an FTP operation asks for UTF-8 names; the "*" lets
    // servers that do not know the command go on.
    if (!ssh && first)
        quote = curl_slist_append(quote, "*OPTS UTF8 ON");
    const QByteArray login = loginFolder.toUtf8();

    QByteArray url;
    switch (s) {
    case Step::Mlsd:
    case Step::List: {
        // The listing is read from the data connection's own bytes: libcurl
        // turns CR and CR LF into LF in what it hands over.
        collecting = true;
        listing = std::make_unique<ListingReader>(s == Step::Mlsd, QDate::currentDate());
        listingClock.start();
        curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Private::collect);
        const QByteArray path = bytesOf(listPath());
        if (!ssh && hasControlByte(path)) {
            url = address.loginFolderUrl();
            customRequest = (s == Step::Mlsd ? "MLSD " : "LIST ") + ftpCommandPath(path, login);
            curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, customRequest.constData());
        } else {
            url = address.urlOfBytes(path, true);
            if (s == Step::Mlsd)
                curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, "MLSD");
        }
        break;
    }
    case Step::LinkProbe:
        url = address.urlOfBytes(bytesOf(probePath(linkProbes[probe])), true);
        break;
    case Step::Command: {
        url = address.loginFolderUrl();
        QByteArrayList paths;
        for (const QString& a : op.args())
            paths.append(bytesOf(a));
        for (const QByteArray& line : remoteCommands(op.verb(), paths, ssh, login))
            quote = curl_slist_append(quote, line.constData());
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
        break;
    }
    case Step::TypeFirst:
        // A GET by command runs as a listing, which libcurl starts with its
        // own "TYPE A" unless it believes the connection is in that mode
        // already. This one-line listing of the file puts it there, so that
        // the "TYPE I" the GET sends first is the one that holds.
        url = address.loginFolderUrl();
        customRequest = "NLST " + ftpCommandPath(bytesOf(op.args().value(0)), login);
        curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, customRequest.constData());
        break;
    case Step::Get: {
        const QByteArray path = bytesOf(op.args().value(0));
        curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Private::save);
        if (!ssh && hasControlByte(path)) {
            // RETR as the listing command of the login folder, in binary.
            url = address.loginFolderUrl();
            rawDownload = true;
            quote = curl_slist_append(quote, "TYPE I");
            customRequest = "RETR " + ftpCommandPath(path, login);
            curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, customRequest.constData());
        } else {
            url = address.urlOfBytes(path, false);
        }
        break;
    }
    case Step::Put:
        url = address.urlOfBytes(putTarget, false);
        curl_easy_setopt(e, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(e, CURLOPT_INFILESIZE_LARGE, curl_off_t(uploadLeft));
        if (!putFinal.isEmpty()) {
            postquote = curl_slist_append(postquote, "RNFR " + ftpCommandPath(putTarget, login));
            postquote = curl_slist_append(postquote, "RNTO " + ftpCommandPath(putFinal, login));
            curl_easy_setopt(e, CURLOPT_POSTQUOTE, postquote);
        }
        break;
    case Step::PutCleanup:
        url = address.loginFolderUrl();
        for (const QByteArray& line :
             remoteCommands(Operation::Verb::Delete, {putTarget}, ssh, login))
            quote = curl_slist_append(quote, line.constData());
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
        break;
    }
    if (quote)
        curl_easy_setopt(e, CURLOPT_QUOTE, quote);
    curl_easy_setopt(e, CURLOPT_URL, url.constData());
    driver.start();
}

QString Inet::Private::probePath(int entry) const
{
    QString base = listPath();
    if (!base.isEmpty() && !base.endsWith(u'/'))
        base += u'/';
    return base + listed.name(listed.entries[entry]).toString();
}

QByteArray Inet::Private::bytesOf(const QString& path) const
{
    if (serverBytes.isEmpty())
        return path.toUtf8();
    QString p = path;
    const bool slash = p.size() > 1 && p.endsWith(u'/');
    if (slash)
        p.chop(1);
    // The longest listed prefix that was not UTF-8, then the rest as UTF-8.
    for (qsizetype cut = p.size(); cut > 0; cut = p.lastIndexOf(u'/', cut - 1)) {
        const auto it = serverBytes.constFind(p.left(cut));
        if (it != serverBytes.cend())
            return *it + p.mid(cut).toUtf8() + (slash ? "/" : "");
    }
    return path.toUtf8();
}

void Inet::Private::rememberServerBytes()
{
    QString base = listPath();
    if (base.endsWith(u'/'))
        base.chop(1);
    const QByteArray baseBytes = bytesOf(base);
    const bool baseDiffers = baseBytes != base.toUtf8();
    for (const RemoteEntry& e : std::as_const(listed.entries)) {
        const QByteArray raw = listed.rawName(e);
        if (raw.isEmpty() && !baseDiffers)
            continue;
        const QStringView shown = listed.name(e);
        const QByteArray name = raw.isEmpty() ? shown.toUtf8() : raw;
        if (base.isEmpty())
            serverBytes.insert(shown.toString(), name);
        else
            serverBytes.insert(base + u'/' + shown.toString(), baseBytes + '/' + name);
    }
}

void Inet::Private::finishListing(Listing&& listing)
{
    listed = std::move(listing);
    this->listing.reset();
    rememberServerBytes();
    linkProbes = resolveLinks(listed);
    if (listed.unparsed.isEmpty() && listed.refused.isEmpty())
        return;
    // Once per listing: what was not read, and what was kept out.
    const QString where = oneLine(listPath().isEmpty() ? QStringLiteral("the login folder") : listPath());
    QStringList parts;
    if (!listed.unparsed.isEmpty())
        parts << QStringLiteral("%1 line(s) in no known format, shown whole (first: \"%2\")")
                     .arg(listed.unparsed.size()).arg(oneLine(listed.unparsed.first()));
    if (!listed.refused.isEmpty())
        parts << QStringLiteral("%1 name(s) refused as unsafe (first: \"%2\")")
                     .arg(listed.refused.size()).arg(oneLine(listed.refused.first()));
    qCWarning(lcTransport).noquote() << "Listing of" << where << ":" << parts.join(QStringLiteral("; "));
}

QString Inet::Private::tooLong() const
{
    const QStringList& a = op.args();
    QList<int> remote;
    switch (op.verb()) {
    case Operation::Verb::Get: remote = {0}; break;
    case Operation::Verb::Put: remote = {1}; break;
    case Operation::Verb::Rename: remote = {0, 1}; break;
    default: remote = {0}; break;
    }
    for (int i : remote) {
        const QByteArray bytes = bytesOf(a.value(i));
        if (bytes.size() > kMaxPathBytes)
            return QStringLiteral("The name \"%1\" is too long for the server (%2 bytes; at most %3).")
                .arg(oneLine(a.value(i), 60)).arg(bytes.size()).arg(kMaxPathBytes);
    }
    return {};
}

void Inet::Private::releaseStep()
{
    CURL* e = driver.easy();
    for (curl_slist** list : {&quote, &postquote}) {
        if (*list) {
            curl_easy_setopt(e, list == &quote ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE, nullptr);
            curl_slist_free_all(*list);
            *list = nullptr;
        }
    }
}

void Inet::Private::stepFinished(CURLcode code)
{
    long response = 0;
    curl_easy_getinfo(driver.easy(), CURLINFO_RESPONSE_CODE, &response);
    if (!address.isSsh()) {
        char* entry = nullptr;
        if (curl_easy_getinfo(driver.easy(), CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry)
            loginFolder = QString::fromUtf8(entry);
    }
    releaseStep();
    // A listing we stopped leaves the server still talking on the control
    // connection: the next operation starts on a new one.
    if (code != CURLE_OK && (step == Step::Mlsd || step == Step::List) && !localError.isEmpty())
        driver.dropConnections();

    switch (step) {
    case Step::Mlsd:
        if (code != CURLE_OK && localError.isEmpty()
            && (response == 500 || response == 501 || response == 502)) {
            // The server has no MLSD: list with LIST from now on.
            mlsdUnsupported = true;
            beginStep(Step::List);
            return;
        }
        if (code != CURLE_OK)
            return fail(errorText(code));
        finishListing(listing->finish());
        responseInfo = lastServerLine;   // not the link probes' replies
        break;
    case Step::List:
        if (code != CURLE_OK)
            return fail(errorText(code));
        finishListing(listing->finish());
        responseInfo = lastServerLine;
        break;
    case Step::LinkProbe:
        // Listing the link as a folder works only when its target is one.
        if (code == CURLE_OK)
            listed.entries[linkProbes[probe]].isFolder = true;
        ++probe;
        break;
    case Step::Put:
        if (code != CURLE_OK && storeStarted && !address.isSsh()) {
            // The server made a file that holds less than was sent: remove it.
            pendingError = errorText(code);
            beginStep(Step::PutCleanup);
            return;
        }
        [[fallthrough]];
    case Step::Command:
        if (code != CURLE_OK)
            return fail(errorText(code));
        upload.reset();
        break;
    case Step::PutCleanup:
        return fail(pendingError);
    case Step::TypeFirst:
        // Whatever the server said of the file, RETR gives the answer.
        beginStep(Step::Get);
        return;
    case Step::Get:
        if (code != CURLE_OK)
            return fail(errorText(code));
        break;   // committed by complete(), once the states have been reported
    }

    if (step == Step::Mlsd || step == Step::List)
        probe = 0;
    if ((step == Step::Mlsd || step == Step::List || step == Step::LinkProbe)
        && probe < qMin(int(linkProbes.size()), kMaxLinkProbes)) {
        beginStep(Step::LinkProbe);
        return;
    }
    // The text is made when it is first read: a caller that takes the
    // entries themselves never pays for it.
    if (step == Step::Mlsd || step == Step::List || step == Step::LinkProbe)
        wasListing = replyUnrendered = true;
    complete();
}

QString Inet::Private::errorText(CURLcode code) const
{
    if (trust.hasRefusal())
        return trust.refusalText();
    if (!localError.isEmpty())
        return localError;
    CURL* e = driver.easy();
    if (code == CURLE_OPERATION_TIMEDOUT) {
        curl_off_t pretransfer = 0;
        long connects = 0;
        curl_easy_getinfo(e, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
        curl_easy_getinfo(e, CURLINFO_NUM_CONNECTS, &connects);
        const int stall = (stallTimeoutMs + 999) / 1000;
        if (pretransfer == 0 && !sawReply && connects > 0)
            return QStringLiteral("No answer from %1 within %2 seconds: gave up connecting.")
                .arg(address.host).arg((connectTimeoutMs + 999) / 1000);
        if (pretransfer == 0) {
            QString after = QString::fromUtf8(lastCommand);
            if (after.startsWith(u"PASS ", Qt::CaseInsensitive))
                after = QStringLiteral("PASS");
            return QStringLiteral("The server's reply stalled: nothing came for %1 seconds after \"%2\".")
                .arg(stall).arg(oneLine(after, 80));
        }
        return QStringLiteral("Nothing moved for %1 seconds: the transfer was stopped.").arg(stall);
    }
    if (code == CURLE_PARTIAL_FILE) {
        curl_off_t got = 0, announced = -1;
        curl_easy_getinfo(e, CURLINFO_SIZE_DOWNLOAD_T, &got);
        curl_easy_getinfo(e, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
        if (announced > 0)
            return QStringLiteral("The download was cut short: %1 of %2 bytes arrived.")
                .arg(got).arg(announced);
        return QStringLiteral("The download was cut short after %1 bytes.").arg(got);
    }
    long response = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &response);
    if (response >= 400 && !lastServerLine.isEmpty())
        return oneLine(lastServerLine, 300);
    if (errorBuffer[0])
        return oneLine(QString::fromUtf8(errorBuffer), 300);
    return QString::fromUtf8(curl_easy_strerror(code));
}


// --- states --------------------------------------------------------------

void Inet::Private::trackProgress()
{
    CURL* e = driver.easy();
    curl_off_t lookup = 0, connect = 0, pretransfer = 0, start = 0;
    curl_easy_getinfo(e, CURLINFO_NAMELOOKUP_TIME_T, &lookup);
    curl_easy_getinfo(e, CURLINFO_CONNECT_TIME_T, &connect);
    curl_easy_getinfo(e, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    curl_easy_getinfo(e, CURLINFO_STARTTRANSFER_TIME_T, &start);
    int state = icResolvingHost;
    if (lookup > 0)
        state = icConnecting;
    if (connect > 0)
        state = icRequesting;
    if (pretransfer > 0)
        state = icRequestSent;
    if (start > 0)
        state = icReceivingResponse;
    advanceTo(state);
}

bool Inet::Private::advanceTo(int state)
{
    const quint64 g = generation;
    while (stateReached < state) {
        ++stateReached;
        emit q->StateChanged(stateReached);
        if (g != generation)
            return false;
    }
    return true;
}

void Inet::Private::complete()
{
    // A download keeps its temporary name until the states before 12 have
    // been reported: a Cancel from their handlers leaves no file behind.
    if (!advanceTo(icResponseReceived))
        return;
    if (download) {
        if (!download->commit()) {
            const QString why = download->errorString();
            download.reset();
            return fail(QStringLiteral("Cannot write %1: %2").arg(oneLine(op.args().value(1)), why));
        }
        download.reset();
    }
    if (responseInfo.isEmpty())
        responseInfo = lastServerLine;
    busy = false;
    emit q->StateChanged(icResponseCompleted);
}

void Inet::Private::fail(const QString& text)
{
    // An operation that fails before its first progress report still starts
    // with state 1, so every operation reports resolving ... then the error.
    if (!advanceTo(icResolvingHost))
        return;
    download.reset();
    upload.reset();
    responseInfo = text;
    busy = false;
    emit q->StateChanged(icError);
}

void Inet::Private::failSoon(const QString& text)
{
    const quint64 g = generation;
    QTimer::singleShot(0, q, [this, g, text] {
        if (g == generation && busy && advanceTo(icResolvingHost))
            fail(text);
    });
}

void Inet::Private::closeSoon()
{
    const quint64 g = generation;
    QTimer::singleShot(0, q, [this, g] {
        if (g != generation || !busy)
            return;
        stateReached = icResponseReceived;   // closing has only its own states
        if (!advanceTo(icDisconnecting))
            return;
        // Dropping the connections sends QUIT (FTP) or closes the session
        // (SFTP); the next operation logs in again.
        driver.dropConnections();
        if (!advanceTo(icDisconnected))
            return;
        responseInfo = QString();
        busy = false;
        emit q->StateChanged(icResponseCompleted);
    });
}

// --- libcurl callbacks --------------------------------------------------------

size_t Inet::Private::collect(char*, size_t size, size_t n, void* self)
{
    // The bytes themselves arrive through debug(); this enforces the limits.
    auto* p = static_cast<Private*>(self);
    const qsizetype received = p->listing ? p->listing->size() : 0;
    const bool tooBig = received > p->listingMaxBytes;
    if (tooBig || p->listingClock.elapsed() > p->listingMaxMs) {
        p->localError = QStringLiteral("The listing was stopped after %1: it %2.")
                            .arg(tooBig ? QStringLiteral("%1 MB").arg(received >> 20)
                                        : QStringLiteral("%1 seconds").arg(p->listingMaxMs / 1000))
                            .arg(tooBig ? QStringLiteral("is too long") : QStringLiteral("never ended"));
        return 0;
    }
    return size * n;
}

size_t Inet::Private::save(char* data, size_t size, size_t n, void* self)
{
    auto* p = static_cast<Private*>(self);
    if (p->rawDownload)   // written from debug()
        return p->localError.isEmpty() ? size * n : 0;
    const qint64 len = qint64(size * n);
    if (!p->download || !p->download->write(data, len)) {
        p->localError = QStringLiteral("Cannot write %1: %2")
                            .arg(oneLine(p->op.args().value(1)),
                                 p->download ? p->download->errorString() : QString());
        return 0;
    }
    return size * n;
}

size_t Inet::Private::send(char* data, size_t size, size_t n, void* self)
{
    auto* p = static_cast<Private*>(self);
    if (!p->upload)
        return 0;
    const qint64 want = qMin(qint64(size * n), p->uploadLeft);
    if (want <= 0)
        return 0;
    const qint64 got = p->upload->read(data, want);
    if (got <= 0) {
        p->localError = QStringLiteral("Cannot read %1: %2")
                            .arg(oneLine(p->op.args().value(0)),
                                 got < 0 ? p->upload->errorString()
                                         : QStringLiteral("it became shorter while being sent"));
        return CURL_READFUNC_ABORT;
    }
    p->uploadLeft -= got;
    return size_t(got);
}

int Inet::Private::debug(CURL*, curl_infotype type, char* data, size_t size, void* self)
{
    // ORVANE_FTP_TRACE=1 prints the protocol conversation on stderr.
    static const bool trace = qEnvironmentVariableIntValue("ORVANE_FTP_TRACE") != 0;
    if (trace && type <= CURLINFO_HEADER_OUT)
        fprintf(stderr, "%8.3f %s %.*s", QTime::currentTime().msecsSinceStartOfDay() / 1000.0,
                type == CURLINFO_TEXT ? "*" : type == CURLINFO_HEADER_IN ? "<" : ">", int(size), data);
    auto* p = static_cast<Private*>(self);
    if (type == CURLINFO_DATA_IN) {
        // The data connection's bytes before libcurl's line-end conversion.
        if (p->collecting && p->listing) {
            p->listing->feed(QByteArrayView(data, qsizetype(size)));
        } else if (p->rawDownload && p->localError.isEmpty()
                   && (!p->download || !p->download->write(data, qint64(size)))) {
            p->localError = QStringLiteral("Cannot write %1: %2")
                                .arg(oneLine(p->op.args().value(1)),
                                     p->download ? p->download->errorString() : QString());
        }
        return 0;
    }
    if (type == CURLINFO_HEADER_OUT) {
        p->lastCommand = QByteArray(data, qsizetype(size)).trimmed();
        return 0;
    }
    if (type != CURLINFO_HEADER_IN)
        return 0;
    // Server reply lines; the last complete one is the response text.
    p->sawReply = true;
    p->headerLine.append(data, qsizetype(size));
    qsizetype nl;
    while ((nl = p->headerLine.indexOf('\n')) >= 0) {
        QByteArray line = p->headerLine.left(nl);
        p->headerLine.remove(0, nl + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        p->lastServerLine = QString::fromUtf8(line);
        // STOR accepted: the server holds a file from now on.
        if (p->step == Step::Put && p->lastCommand.startsWith("STOR ")
            && (line.startsWith("150") || line.startsWith("125")))
            p->storeStarted = true;
    }
    return 0;
}

}  // namespace orvane::ftp
