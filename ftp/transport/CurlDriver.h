#pragma once
// Runs one libcurl easy handle at a time on a multi handle driven by the Qt
// event loop: a QSocketNotifier per socket libcurl watches and one QTimer for
// its timeouts. No threads, and no call ever waits for the network.

#include <QHash>
#include <QObject>
#include <QTimer>

#include <curl/curl.h>

#include <functional>

class QSocketNotifier;

namespace orvane::ftp {

class CurlDriver : public QObject {
public:
    explicit CurlDriver(QObject* parent = nullptr);
    ~CurlDriver() override;

    // The easy handle, kept for the driver's life so that libcurl reuses the
    // connection and login between transfers.
    CURL* easy() const { return m_easy; }

    // Called after a transfer ends, from the event loop (never from inside
    // libcurl), with the easy handle already detached: it may start() again.
    void setFinishedHandler(std::function<void(CURLcode)> handler) { m_finished = std::move(handler); }
    // Called after each step of a running transfer (same rules).
    void setProgressHandler(std::function<void()> handler) { m_progress = std::move(handler); }

    void start();
    // Abandons the running transfer at once.
    void stop();
    bool running() const { return m_running; }
    // Closes every cached connection (FTP sends QUIT).
    void dropConnections();

private:
    struct Watch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };

    static int socketCallback(CURL*, curl_socket_t s, int what, void* self, void*);
    static int timerCallback(CURLM*, long ms, void* self);
    void watch(curl_socket_t s, int what);
    void unwatch(curl_socket_t s);
    void act(curl_socket_t s, int mask);
    void ensureMulti();

    CURLM* m_multi = nullptr;
    CURL* m_easy = nullptr;
    QTimer m_timer;
    QTimer m_nudge;
    QHash<curl_socket_t, Watch> m_watches;
    bool m_running = false;
    std::function<void(CURLcode)> m_finished;
    std::function<void()> m_progress;
};

}  // namespace orvane::ftp
