#pragma once
// The plain work of the library windows: which files a list shows, how a
// snippet's bytes become text, and the tag that inserts an image.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvane {

struct LibraryFile {
    QString name;  // shown in the list
    QString path;  // the file it stands for
    bool operator==(const LibraryFile&) const = default;
};

// The files of folders, earlier folders first, each folder's files by name;
// a name already listed from an earlier folder hides the later file. Missing
// folders add nothing; sub-folders are not listed.
QList<LibraryFile> listLibrary(const QStringList& folders);

// A snippet's text: UTF-8 when the bytes are valid UTF-8 (a byte order mark
// is dropped), else Windows-1252.
QString snippetText(const QByteArray& bytes);

// "<img src='PATH'>" for a local file. "%" and "'" are percent-encoded and "&"
// written as "&amp;" so the attribute stays whole and names the same file.
QString imageTag(const QString& path);

}  // namespace orvane
