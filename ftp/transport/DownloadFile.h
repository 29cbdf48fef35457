#pragma once
// The local file a download writes: under a temporary name in the target's
// folder, put in place by commit() only when complete, so a failed or
// cancelled download leaves the old file as it was and no partial file.
// Like the curl program and browsers, commit() does not wait for the disk
// (a flush to disk of a large file takes longer than its transfer); an
// existing file keeps its permissions, and links are followed to their file.

#include <QFile>
#include <QString>

namespace orvane::ftp {

class DownloadFile {
public:
    explicit DownloadFile(const QString& path);
    ~DownloadFile();   // removes the temporary file unless committed

    bool open();
    // False when the bytes could not all be written (see errorString()).
    bool write(const char* data, qint64 size);
    bool commit();
    QString errorString() const { return m_error.isEmpty() ? m_file.errorString() : m_error; }

private:
    QString m_target;      // where the file goes (a link's own file)
    QString m_temp;        // the temporary file's path
    QFile m_file;          // open on it
    bool m_committed = false;
    QString m_error;       // a failure of open() or commit() outside m_file
};

}  // namespace orvane::ftp
