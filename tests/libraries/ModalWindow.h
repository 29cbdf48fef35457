#pragma once
// Runs a step inside the next modal window of type W once it is shown (the
// windows are shown with exec(), which returns only when they close). The
// step runs from the window's own event loop, as a user's click would, never
// from inside a nested wait of the surface (which excludes user input).

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

namespace orvane::test {

template <typename W>
void whenModal(std::function<void(W*)> step)
{
    auto* poll = new QTimer;
    poll->setInterval(20);
    auto run = std::make_shared<std::function<void(W*)>>(std::move(step));
    QObject::connect(poll, &QTimer::timeout, [poll, run] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        // Test functions run outside any loop: level 1 is the window's exec().
        if (!w || !w->isVisible() || QThread::currentThread()->loopLevel() != 1)
            return;
        poll->stop();
        poll->deleteLater();
        (*run)(w);
    });
    poll->start();
}

}  // namespace orvane::test
