#pragma once
// What an upload of local entries does on the server, step by step, and how a
// running transfer is shown.

#include <QList>
#include <QString>

namespace orvane::ftp {

struct UploadStep {
    enum class Kind { MakeFolder, Send };
    Kind kind = Kind::Send;
    QString local;    // the local file (Send)
    QString remote;   // the remote path: prefix + name, "/" between levels
    bool operator==(const UploadStep&) const = default;
};

// The steps that put the local file or folder `localPath` into the remote
// folder `prefix` ("" at the top, else ending in "/"): a file is sent; a
// folder is made, then its files and subfolders go into it, hidden ones
// included. Linked folders are not followed, so a link loop ends.
QList<UploadStep> uploadSteps(const QString& localPath, const QString& prefix);

// "NAME: DONE bytes" or "NAME: DONE of TOTAL bytes (P%)" when the size is known.
QString progressText(const QString& name, qint64 done, qint64 total);

}  // namespace orvane::ftp
