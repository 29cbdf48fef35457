#include "CurlDriver.h"

#include <QSocketNotifier>

namespace orvane::ftp {

namespace {
// Not a socket: act() runs every transfer instead of one socket's.
constexpr curl_socket_t kNudge = -2;
}

CurlDriver::CurlDriver(QObject* parent) : QObject(parent)
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Q_UNUSED(initialised);
    m_easy = curl_easy_init();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
    // libcurl 7.88 does not always name every socket a transfer waits on:
    // a passive data connection may be left unstarted with no socket watched,
    // and during the TLS handshake of an FTPS data connection only that
    // socket is watched while the reply it depends on arrives on the control
    // connection. A periodic run of every transfer gets them going again.
    m_nudge.setInterval(20);
    connect(&m_nudge, &QTimer::timeout, this, [this] { act(kNudge, 0); });
}

CurlDriver::~CurlDriver()
{
    dropConnections();
    curl_easy_cleanup(m_easy);
}

void CurlDriver::ensureMulti()
{
    if (m_multi)
        return;
    m_multi = curl_multi_init();
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &CurlDriver::socketCallback);
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &CurlDriver::timerCallback);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
}

void CurlDriver::start()
{
    ensureMulti();
    m_running = true;
    m_nudge.start();
    // libcurl asks for a timeout of 0 through timerCallback: the transfer
    // starts from the event loop.
    curl_multi_add_handle(m_multi, m_easy);
}

void CurlDriver::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_nudge.stop();
    curl_multi_remove_handle(m_multi, m_easy);
}

void CurlDriver::dropConnections()
{
    stop();
    if (!m_multi)
        return;
    m_timer.stop();
    curl_multi_cleanup(m_multi);
    m_multi = nullptr;
    for (auto it = m_watches.begin(); it != m_watches.end(); ++it) {
        delete it->read;
        delete it->write;
    }
    m_watches.clear();
}

int CurlDriver::socketCallback(CURL*, curl_socket_t s, int what, void* self, void*)
{
    auto* driver = static_cast<CurlDriver*>(self);
    if (what == CURL_POLL_REMOVE)
        driver->unwatch(s);
    else
        driver->watch(s, what);
    return 0;
}

int CurlDriver::timerCallback(CURLM*, long ms, void* self)
{
    auto* driver = static_cast<CurlDriver*>(self);
    if (ms < 0)
        driver->m_timer.stop();
    else
        driver->m_timer.start(int(ms));
    return 0;
}

void CurlDriver::watch(curl_socket_t s, int what)
{
    Watch& w = m_watches[s];
    const auto make = [&](QSocketNotifier*& n, QSocketNotifier::Type type, int mask) {
        if (!n) {
            n = new QSocketNotifier(s, type, this);
            connect(n, &QSocketNotifier::activated, this, [this, s, mask] { act(s, mask); });
        }
    };
    if (what & CURL_POLL_IN)
        make(w.read, QSocketNotifier::Read, CURL_CSELECT_IN);
    if (what & CURL_POLL_OUT)
        make(w.write, QSocketNotifier::Write, CURL_CSELECT_OUT);
    if (w.read)
        w.read->setEnabled(what & CURL_POLL_IN);
    if (w.write)
        w.write->setEnabled(what & CURL_POLL_OUT);
}

void CurlDriver::unwatch(curl_socket_t s)
{
    const auto it = m_watches.find(s);
    if (it == m_watches.end())
        return;
    // This runs inside libcurl, possibly from one of these notifiers' own
    // signal: delete them later.
    for (QSocketNotifier* n : {it->read, it->write}) {
        if (n) {
            n->setEnabled(false);
            n->disconnect(this);
            n->deleteLater();
        }
    }
    m_watches.erase(it);
}

void CurlDriver::act(curl_socket_t s, int mask)
{
    if (!m_multi)
        return;
    int stillRunning = 0;
    if (s == kNudge)
        curl_multi_perform(m_multi, &stillRunning);
    else
        curl_multi_socket_action(m_multi, s, mask, &stillRunning);
    bool done = false;
    CURLcode result = CURLE_OK;
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(m_multi, &left)) {
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == m_easy) {
            done = true;
            result = msg->data.result;
        }
    }
    if (!m_running)
        return;
    if (done) {
        stop();
        if (m_finished)
            m_finished(result);
    } else if (m_progress) {
        m_progress();
    }
}

}  // namespace orvane::ftp
