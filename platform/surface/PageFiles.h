#pragma once
// Page files read and written whole, as bytes, with the surface's error
// numbers; the page codec turns the bytes into text and back.

#include "PageCodec.h"

#include <QString>
#include <cstdint>

namespace orvane {

// Throws SurfaceError: FileNotFound, PathNotFound, AccessDenied, InvalidArgument.
DecodedPage readPageFile(const QString& path);

// Replaces the file through a temporary file in the same folder, so a failed
// write leaves the old file whole. Throws SurfaceError: PathNotFound,
// DiskFull, AccessDenied, InvalidArgument.
void writePageFile(const QString& path, const QString& text, const PageEncoding& encoding);

// The surface error number for an errno value of a failed read or write.
std::int32_t fileErrorNumber(int errnoValue);

}  // namespace orvane
