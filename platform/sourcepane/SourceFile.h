#pragma once
// Reading and writing a page file's whole text for the source pane, in the
// encoding the page declares, so a page saved unchanged keeps its bytes.

#include "platform/text/PageCodec.h"

#include <QString>
#include <stdexcept>

namespace orvane {

// A page file that could not be read or written.
class SourceFileError : public std::runtime_error {
public:
    explicit SourceFileError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// Reads and decodes the whole file; throws SourceFileError when it cannot be read.
DecodedPage readSourceFile(const QString& path);

// Writes text through a temporary file renamed over path, so a failed write
// leaves an existing file as it was; throws SourceFileError on failure.
void writeSourceFile(const QString& path, const QString& text, const PageEncoding& encoding);

}  // namespace orvane
