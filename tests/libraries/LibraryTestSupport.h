#pragma once
// A program folder and user data location of the test's own, and a step run
// inside the next modal window of type W. The step runs from the window's
// own event loop (level 1: test functions run outside any loop), as a user's
// click would, never nested in a wait of the surface, which excludes input.

#include "libraries/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>

namespace orvane::test {

struct LibraryFolders {
    LibraryFolders()
    {
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
        setProgramFolder(program.path());
    }
    ~LibraryFolders() { setProgramFolder({}); }
    // Writes bytes to a file under the program folder ("shipped") or the user's.
    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    QString shipped(const QString& rel) const { return program.filePath(rel); }
    QString user(const QString& rel) const { return QDir(userLibraryRoot()).filePath(rel); }
    QTemporaryDir program, data;
};

template <typename W>
void whenModal(std::function<void(W*)> step)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible() || QThread::currentThread()->loopLevel() != 1)
            return;
        poll->deleteLater();
        poll->stop();
        step(w);
    });
    poll->start(20);
}

}  // namespace orvane::test
