#include "PageFiles.h"

#include "SurfaceTypes.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace orvane {

namespace {

[[noreturn]] void fail(std::int32_t number, const QString& path, int errnoValue)
{
    throw SurfaceError(number, QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(
                                                                     std::strerror(errnoValue))));
}

// Where a missing file's folder is missing too, the path itself is wrong.
std::int32_t missingNumber(const QFileInfo& fi)
{
    return QFileInfo(fi.absolutePath()).isDir() ? SurfaceErrorNumber::FileNotFound
                                                : SurfaceErrorNumber::PathNotFound;
}

}  // namespace

std::int32_t fileErrorNumber(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
        return SurfaceErrorNumber::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
        return SurfaceErrorNumber::PathNotFound;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return SurfaceErrorNumber::DiskFull;
    default:
        return SurfaceErrorNumber::AccessDenied;
    }
}

DecodedPage readPageFile(const QString& path)
{
    if (path.isEmpty())
        throw SurfaceError(SurfaceErrorNumber::InvalidArgument, QStringLiteral("no file name"));
    const QFileInfo fi(path);
    if (!fi.exists())
        fail(missingNumber(fi), path, ENOENT);
    if (fi.isDir())
        fail(SurfaceErrorNumber::AccessDenied, path, EISDIR);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        fail(fileErrorNumber(errno), path, errno);
    errno = 0;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(SurfaceErrorNumber::AccessDenied, path, errno ? errno : EIO);
    return decodePage(bytes);
}

void writePageFile(const QString& path, const QString& text, const PageEncoding& encoding)
{
    if (path.isEmpty())
        throw SurfaceError(SurfaceErrorNumber::InvalidArgument, QStringLiteral("no file name"));
    const QFileInfo fi(path);
    if (!QFileInfo(fi.absolutePath()).isDir())
        fail(SurfaceErrorNumber::PathNotFound, path, ENOENT);
    if (fi.isDir())
        fail(SurfaceErrorNumber::AccessDenied, path, EISDIR);
    const QByteArray bytes = encodePage(text, encoding);

    // A device or pipe is written in place: it cannot be replaced by a file.
    if (fi.exists() && !fi.isFile()) {
        QFile device(path);
        errno = 0;
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            fail(fileErrorNumber(errno), path, errno);
        errno = 0;
        if (device.write(bytes) != bytes.size())
            fail(fileErrorNumber(errno), path, errno ? errno : EIO);
        return;
    }
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(fileErrorNumber(errno), path, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int e = errno ? errno : EIO;
        file.cancelWriting();
        fail(fileErrorNumber(e), path, e);
    }
    errno = 0;
    if (!file.commit())
        fail(fileErrorNumber(errno ? errno : EIO), path, errno ? errno : EIO);
}

}  // namespace orvane
