#pragma once
// Runs a step inside the next modal window of type W once it is shown (the
// windows are shown with exec(), which returns only when they close).

#include <QApplication>
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
        if (!w || !w->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        (*run)(w);
    });
    poll->start();
}

}  // namespace orvane::test
