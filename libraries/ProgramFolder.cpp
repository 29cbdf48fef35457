#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace orvane {

namespace {

QString& overriddenFolder()
{
    static QString folder;
    return folder;
}

// A folder holds the program's files when any of them is there.
bool holdsProgramFiles(const QDir& dir)
{
    for (const QString& name : {kHelpPage, kJavaScriptLibrary, kAspLibrary, kImageLibrary})
        if (QFileInfo::exists(dir.filePath(name)))
            return true;
    return false;
}

}  // namespace

QString programFolder()
{
    if (!overriddenFolder().isEmpty())
        return overriddenFolder();
    const QDir executable(QCoreApplication::applicationDirPath());
    if (holdsProgramFiles(executable))
        return executable.absolutePath();
    // The install rules place the data folder at this path from the executable.
    return QDir::cleanPath(executable.filePath(QStringLiteral(ORVANE_DATA_FROM_BIN)));
}

void setProgramFolder(const QString& folder)
{
    overriddenFolder() = folder;
}

QString userLibraryRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QStringList libraryFolders(const QString& library)
{
    const QString user = QDir(userLibraryRoot()).filePath(library);
    QDir().mkpath(user);
    return {user, QDir(programFolder()).filePath(library)};
}

}  // namespace orvane
