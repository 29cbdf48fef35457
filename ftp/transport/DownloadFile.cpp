#include "DownloadFile.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::ftp {

DownloadFile::DownloadFile(const QString& path) : m_target(path)
{
    // A link may lead to another link: follow them all to the file (a loop
    // of links ends the search).
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(m_target);
        if (!info.isSymLink())
            break;
        m_target = info.symLinkTarget();
    }
}

DownloadFile::~DownloadFile()
{
    if (m_committed || m_temp.isEmpty())
        return;
    m_file.close();
    QFile::remove(m_temp);
}

bool DownloadFile::open()
{
    if (m_target.isEmpty())
        return false;
    const QFileInfo target(m_target);
    if (target.exists() && !target.isFile()) {
        m_error = QStringLiteral("it is not a file");
        return false;
    }
    if (target.exists() && !target.isWritable()) {
        m_error = QStringLiteral("the existing file is not writable");
        return false;
    }
    // A short name of our own: the target's name may already be as long as
    // the file system allows.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString temp = target.absolutePath() + QStringLiteral("/.orvane-download-")
                             + QString::number(QRandomGenerator::global()->generate64(), 36);
        // The umask applies, as for any new file.
        const int fd = ::open(QFile::encodeName(temp).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        m_temp = temp;
        return m_file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    }
    m_error = QStringLiteral("no free temporary name in %1").arg(target.absolutePath());
    return false;
}

bool DownloadFile::write(const char* data, qint64 size)
{
    return m_file.write(data, size) == size;
}

bool DownloadFile::commit()
{
    if (!m_file.isOpen())
        return false;
    if (!m_file.flush()) {
        m_error = m_file.errorString();
        return false;
    }
    struct stat existing {};
    if (::stat(QFile::encodeName(m_target).constData(), &existing) == 0)
        ::fchmod(m_file.handle(), existing.st_mode & 07777);
    m_file.close();
    // rename() replaces the old file in one step.
    if (std::rename(QFile::encodeName(m_temp).constData(),
                    QFile::encodeName(m_target).constData()) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_committed = true;
    return true;
}

}  // namespace orvane::ftp
