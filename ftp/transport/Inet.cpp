#include "Inet.h"

#include "CurlDriver.h"
#include "ListingParser.h"
#include "PeerTrust.h"
#include "RemoteCommands.h"
#include "ServerAddress.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTime>
#include <QTimer>

#include <curl/curl.h>

#include <cstdio>
#include <memory>

namespace orvane::ftp {

namespace {

constexpr int kMaxLinkProbes = 16;

// The steps one operation may take; each is one libcurl transfer.
enum class Step { Mlsd, List, LinkProbe, Command, Get, Put };

bool hasLineBreak(const QString& s)
{
    return s.contains(u'\r') || s.contains(u'\n');
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

    // Per server, learnt on the way.
    bool mlsdUnsupported = false;
    QString loginFolder;

    // The running operation.
    bool busy = false;
    quint64 generation = 0;      // bumped by Cancel and every new operation
    Operation op = Operation::close();
    Step step = Step::Command;
    int stateReached = icNone;
    curl_slist* quote = nullptr;
    QByteArray body;                     // listing bytes of the current step
    QList<RemoteEntry> entries;          // parsed listing
    QList<int> linkProbes;               // entries whose link target is probed
    int probe = 0;
    std::unique_ptr<QSaveFile> download;
    std::unique_ptr<QFile> upload;
    qint64 uploadLeft = 0;
    QString localError;                  // a local file failure, reported as such
    QString lastServerLine;
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

Inet::~Inet()
{
    Cancel();
    delete d;
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
    const QString piece = d->reply.mid(d->replyRead, size);
    d->replyRead += piece.size();
    return piece;
}

QString Inet::ResponseInfo() const { return d->responseInfo; }

bool Inet::hasUntrustedPeer() const { return d->trust.hasRefusal(); }
QString Inet::untrustedFingerprint() const { return d->trust.refusedFingerprint(); }
void Inet::trustUntrustedPeer() { d->trust.trustRefused(); }

void Inet::setConnectTimeoutMs(int ms) { d->connectTimeoutMs = qMax(1, ms); }
void Inet::setStallTimeoutMs(int ms) { d->stallTimeoutMs = qMax(1, ms); }

void Inet::Execute(const Operation& operation)
{
    if (d->busy)
        throw InetBusy();
    for (const QString& arg : operation.args())
        if (hasLineBreak(arg))
            throw InetRefused("A name containing a line break cannot be sent to the server.");

    ++d->generation;
    d->busy = true;
    d->op = operation;
    d->stateReached = icNone;
    d->reply.clear();
    d->replyRead = 0;
    d->responseInfo.clear();
    d->lastServerLine.clear();
    d->localError.clear();
    d->entries.clear();
    d->linkProbes.clear();
    d->trust.clearRefusal();

    if (operation.verb() == Operation::Verb::Close) {
        d->closeSoon();
        return;
    }
    if (!d->address.isValid()) {
        d->failSoon(d->address.error);
        return;
    }
    switch (operation.verb()) {
    case Operation::Verb::Dir:
    case Operation::Verb::Ls:
        d->beginStep(d->address.isSsh() || d->mlsdUnsupported ? Step::List : Step::Mlsd, true);
        break;
    case Operation::Verb::Get: {
        const QString local = operation.args().value(1);
        d->download = std::make_unique<QSaveFile>(local);
        if (local.isEmpty() || !d->download->open(QIODevice::WriteOnly)) {
            const QString why = d->download->errorString();
            d->download.reset();
            d->failSoon(QStringLiteral("Cannot write %1: %2").arg(local, why));
            return;
        }
        d->beginStep(Step::Get, true);
        break;
    }
    case Operation::Verb::Put: {
        const QString local = operation.args().value(0);
        d->upload = std::make_unique<QFile>(local);
        if (QFileInfo(local).isDir() || !d->upload->open(QIODevice::ReadOnly)) {
            const QString why = QFileInfo(local).isDir() ? QStringLiteral("it is a folder")
                                                         : d->upload->errorString();
            d->upload.reset();
            d->failSoon(QStringLiteral("Cannot read %1: %2").arg(local, why));
            return;
        }
        // The file is sent as long as it is now.
        d->uploadLeft = d->upload->size();
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
    d->download.reset();   // an uncommitted QSaveFile removes its temporary file
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
    trust.install(e);
}

void Inet::Private::beginStep(Step s, bool first)
{
    step = s;
    body.clear();
    errorBuffer[0] = 0;
    headerLine.clear();
    releaseStep();
    CURL* e = driver.easy();

    // Reset what another step may have set.
    curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_easy_setopt(e, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(e, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(e, CURLOPT_QUOTE, nullptr);
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

    QByteArray url;
    switch (s) {
    case Step::Mlsd:
        url = address.urlOf(listPath(), true);
        curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, "MLSD");
        curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Private::collect);
        break;
    case Step::List:
        url = address.urlOf(listPath(), true);
        curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Private::collect);
        break;
    case Step::LinkProbe:
        url = address.urlOf(probePath(linkProbes[probe]), true);
        break;
    case Step::Command:
        url = address.loginFolderUrl();
        for (const QByteArray& line : remoteCommands(op, ssh, loginFolder))
            quote = curl_slist_append(quote, line.constData());
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
        break;
    case Step::Get:
        url = address.urlOf(op.args().value(0), false);
        curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Private::save);
        break;
    case Step::Put:
        url = address.urlOf(op.args().value(1), false);
        curl_easy_setopt(e, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(e, CURLOPT_INFILESIZE_LARGE, curl_off_t(uploadLeft));
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
    return base + entries[entry].name;
}

void Inet::Private::releaseStep()
{
    if (quote) {
        curl_easy_setopt(driver.easy(), CURLOPT_QUOTE, nullptr);
        curl_slist_free_all(quote);
        quote = nullptr;
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

    switch (step) {
    case Step::Mlsd:
        if (code != CURLE_OK && (response == 500 || response == 501 || response == 502)) {
            // The server has no MLSD: list with LIST from now on.
            mlsdUnsupported = true;
            beginStep(Step::List);
            return;
        }
        if (code != CURLE_OK)
            return fail(errorText(code));
        entries = parseMlsd(decodeListing(body));
        linkProbes = resolveLinks(entries);
        responseInfo = lastServerLine;   // not the link probes' replies
        break;
    case Step::List:
        if (code != CURLE_OK)
            return fail(errorText(code));
        entries = parseList(decodeListing(body), QDate::currentDate());
        linkProbes = resolveLinks(entries);
        responseInfo = lastServerLine;
        break;
    case Step::LinkProbe:
        // Listing the link as a folder works only when its target is one.
        if (code == CURLE_OK)
            entries[linkProbes[probe]].isFolder = true;
        ++probe;
        break;
    case Step::Command:
    case Step::Put:
        if (code != CURLE_OK)
            return fail(errorText(code));
        upload.reset();
        break;
    case Step::Get:
        if (code != CURLE_OK)
            return fail(errorText(code));
        if (!download->commit()) {
            const QString why = download->errorString();
            download.reset();
            return fail(QStringLiteral("Cannot write %1: %2").arg(op.args().value(1), why));
        }
        download.reset();
        break;
    }

    if (step == Step::Mlsd || step == Step::List)
        probe = 0;
    if ((step == Step::Mlsd || step == Step::List || step == Step::LinkProbe)
        && probe < qMin(int(linkProbes.size()), kMaxLinkProbes)) {
        beginStep(Step::LinkProbe);
        return;
    }
    if (step == Step::Mlsd || step == Step::List || step == Step::LinkProbe)
        reply = renderListing(entries);
    complete();
}

QString Inet::Private::errorText(CURLcode code) const
{
    if (trust.hasRefusal())
        return trust.refusalText();
    if (!localError.isEmpty())
        return localError;
    if (code == CURLE_OPERATION_TIMEDOUT) {
        curl_off_t pretransfer = 0;
        curl_easy_getinfo(driver.easy(), CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
        if (pretransfer == 0)
            return QStringLiteral("No answer from %1 within %2 seconds: gave up connecting.")
                .arg(address.host).arg((connectTimeoutMs + 999) / 1000);
        return QStringLiteral("Nothing moved for %1 seconds: the transfer was stopped.")
            .arg((stallTimeoutMs + 999) / 1000);
    }
    long response = 0;
    curl_easy_getinfo(driver.easy(), CURLINFO_RESPONSE_CODE, &response);
    if (response >= 400 && !lastServerLine.isEmpty())
        return lastServerLine;
    if (errorBuffer[0])
        return QString::fromUtf8(errorBuffer);
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
    if (!advanceTo(icResponseReceived))
        return;
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

size_t Inet::Private::collect(char* data, size_t size, size_t n, void* self)
{
    static_cast<Private*>(self)->body.append(data, qsizetype(size * n));
    return size * n;
}

size_t Inet::Private::save(char* data, size_t size, size_t n, void* self)
{
    auto* p = static_cast<Private*>(self);
    const qint64 len = qint64(size * n);
    if (!p->download || p->download->write(data, len) != len) {
        p->localError = QStringLiteral("Cannot write %1: %2")
                            .arg(p->op.args().value(1),
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
                            .arg(p->op.args().value(0),
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
    if (type != CURLINFO_HEADER_IN)
        return 0;
    // Server reply lines; the last complete one is the response text.
    auto* p = static_cast<Private*>(self);
    p->headerLine.append(data, qsizetype(size));
    qsizetype nl;
    while ((nl = p->headerLine.indexOf('\n')) >= 0) {
        QByteArray line = p->headerLine.left(nl);
        p->headerLine.remove(0, nl + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            p->lastServerLine = QString::fromUtf8(line);
    }
    return 0;
}

}  // namespace orvane::ftp
