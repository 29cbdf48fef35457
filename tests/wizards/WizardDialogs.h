#pragma once
// Driving the wizard windows in tests: act on a modal window once it shows,
// press its buttons and fill its boxes the way a user does.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>

namespace orvane::test {

// Runs act on the modal window named name as soon as it shows, from the
// window's own event loop: never inside a wait of the design surface, which
// runs timers too (a user's clicks cannot reach the window there). A window
// that act left open (a failed check returns early) is closed, so no test hangs.
inline void whenShown(const QString& name, std::function<void(QDialog&)> act)
{
    const int windowLoop = QThread::currentThread()->loopLevel() + 1;
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, name, act, windowLoop] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != name || QThread::currentThread()->loopLevel() != windowLoop)
            return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start();
}

inline void press(QDialog& dialog, const char* button)
{
    auto* b = dialog.findChild<QAbstractButton*>(QLatin1String(button));
    QVERIFY2(b, button);
    QTest::mouseClick(b, Qt::LeftButton);
}

inline void type(QDialog& dialog, const char* box, const QString& text)
{
    auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(box));
    QVERIFY2(edit, box);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    if (text.isEmpty())
        edit->clear();
}

}  // namespace orvane::test
