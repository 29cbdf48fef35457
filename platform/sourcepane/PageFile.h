#pragma once
// Reading and writing a page file's whole text for the source pane. All
// decoding and encoding of page bytes happens here.

#include <QString>
#include <stdexcept>

namespace orvane {

// A page file that could not be read or written.
class PageFileError : public std::runtime_error {
public:
    explicit PageFileError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// Reads the whole file; throws PageFileError when it cannot be read.
QString readPageFile(const QString& path);

// Writes text through a temporary file renamed over path, so a failed write
// leaves an existing file as it was; throws PageFileError on failure.
void writePageFile(const QString& path, const QString& text);

}  // namespace orvane
