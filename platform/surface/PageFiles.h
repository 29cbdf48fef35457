#pragma once
// Page files read and written whole, as bytes, with the surface's error
// numbers; the page codec turns the bytes into text and back.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace orvane {

// How a page's text was encoded on disk, so that it is written back alike.
struct PageFileFormat {
    QByteArray encoding = "UTF-8";
    bool bom = false;
};

struct PageFile {
    QString text;
    PageFileFormat format;
};

// Bytes to text and back.
PageFile decodePageBytes(const QByteArray& bytes);
QByteArray encodePageText(const QString& text, const PageFileFormat& format);

// Throws SurfaceError: FileNotFound, PathNotFound, AccessDenied, InvalidArgument.
PageFile readPageFile(const QString& path);

// Replaces the file through a temporary file in the same folder, so a failed
// write leaves the old file whole. Throws SurfaceError: PathNotFound,
// DiskFull, AccessDenied, InvalidArgument.
void writePageFile(const QString& path, const QString& text, const PageFileFormat& format);

// The surface error number for an errno value of a failed read or write.
std::int32_t fileErrorNumber(int errnoValue);

}  // namespace orvane
