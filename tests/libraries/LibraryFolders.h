#pragma once
// A program folder and a user data location of a test's own, with the files
// the library windows list.

#include "libraries/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace orvane::test {

class LibraryFolders {
public:
    LibraryFolders()
    {
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
        setProgramFolder(program.path());
    }
    ~LibraryFolders() { setProgramFolder({}); }

    QString shipped(const QString& library, const QString& name) const
    {
        return QDir(program.path()).filePath(library + '/' + name);
    }
    QString user(const QString& library, const QString& name) const
    {
        return QDir(userLibraryRoot()).filePath(library + '/' + name);
    }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir program;
    QTemporaryDir data;
};

}  // namespace orvane::test
