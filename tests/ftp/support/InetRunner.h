#pragma once
// Runs one Inet operation to its end in a test, recording the states and
// reading the reply the way the FTP control does.

#include "Inet.h"
#include "TestServers.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace orvane::testing {

struct Outcome {
    QList<int> states;
    QString reply;
    QString info;
    qint64 elapsedMs = 0;
    bool finished = false;

    bool ok() const { return finished && !states.isEmpty() && states.last() == ftp::icResponseCompleted; }
    bool failed() const { return finished && !states.isEmpty() && states.last() == ftp::icError; }
    // States run 1, 2 ... upwards (at most to 10) before the last one.
    bool inOrder() const
    {
        for (int i = 1; i + 1 < states.size(); ++i)
            if (states[i] != states[i - 1] + 1 || states[i] > ftp::icResponseReceived)
                return false;
        return !states.isEmpty() && states.first() == ftp::icResolvingHost;
    }
    QString describe() const
    {
        QString s;
        for (int st : states)
            s += QString::number(st) + u' ';
        return QStringLiteral("states [%1], response \"%2\"").arg(s.trimmed(), info);
    }
};

inline Outcome runOperation(ftp::Inet& inet, const ftp::Operation& op, int timeoutMs = 120000)
{
    Outcome out;
    // A loop that sleeps until something happens (processEvents with a time
    // limit would spin and steal the servers' CPU).
    QEventLoop loop;
    const auto c = QObject::connect(&inet, &ftp::Inet::StateChanged, [&](int s) {
        out.states << s;
        if (s == ftp::icError || s == ftp::icResponseCompleted)
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    QElapsedTimer t;
    t.start();
    inet.Execute(op);
    if (inet.StillExecuting())
        loop.exec();
    out.elapsedMs = t.elapsed();
    QObject::disconnect(c);
    out.finished = !inet.StillExecuting();
    for (QString chunk = inet.GetChunk(1024); !chunk.isEmpty(); chunk = inet.GetChunk(1024))
        out.reply += chunk;
    out.info = inet.ResponseInfo();
    return out;
}

inline void useServer(ftp::Inet& inet, const TestServer& s)
{
    inet.setURL(s.url());
    inet.setUserName(s.user);
    inet.setPassword(s.password);
}

}  // namespace orvane::testing
