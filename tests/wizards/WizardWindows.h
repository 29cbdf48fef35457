#pragma once
// Reaching the windows a test opens from the real main window: a step run
// inside the next modal window, or a plain window found once it shows.

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <type_traits>

namespace orvane::test {

// Runs act on the modal window of type W (and of the name, if one is given)
// once it shows, from that window's own event loop as a user's click would
// (never nested in a wait of the design surface); then closes it if still open.
template <typename W = QDialog>
void whenShown(const QString& name, std::type_identity_t<std::function<void(W&)>> act) {
    const int windowLoop = QThread::currentThread()->loopLevel() + 1;
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* d = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible() || (!name.isEmpty() && d->objectName() != name)
            || QThread::currentThread()->loopLevel() != windowLoop)
            return;
        timer->deleteLater();
        timer->stop();
        act(*d);
        if (d->isVisible())
            d->reject();
    });
    timer->start(10);
}

inline QDialog* shownWindow(const QString& name) {
    for (int i = 0; i < 100; ++i, QTest::qWait(10))
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                return qobject_cast<QDialog*>(w);
    return nullptr;
}

inline void press(QWidget* window, const QString& button) {
    QTest::mouseClick(window->findChild<QAbstractButton*>(button), Qt::LeftButton);
}

}  // namespace orvane::test
