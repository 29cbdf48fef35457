#pragma once
// Page files as the source pane reads and writes them: the whole text in the
// page's own encoding, with the surface's error numbers (SurfaceError).

#include "PageCodec.h"

#include <QString>

namespace orvane {

// Throws SurfaceError: FileNotFound, PathNotFound, AccessDenied, InvalidArgument.
DecodedPage readSourcePage(const QString& path);

// Writes through a temporary file in the same folder renamed over path, so a
// failed write leaves the old file whole. Throws SurfaceError: PathNotFound,
// DiskFull, AccessDenied, InvalidArgument.
void writeSourcePage(const QString& path, const QString& text, const PageEncoding& encoding);

// The encoding a text declares for itself (UTF-8 when it declares none).
PageEncoding declaredEncoding(const QString& text);

}  // namespace orvane
