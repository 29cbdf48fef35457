#pragma once
// The table wizard's text route and its check of the two counts.

#include <QString>
#include <optional>

namespace orvane {

// The most rows, and the most columns, a table from the wizard may have.
inline constexpr int kMaxTableCount = 1000;

// Shown when a count is refused; the dialog stays open.
inline constexpr const char* kTableCountMessage =
    "Rows and Cols must each be a whole number from 0 to 1000.";

// The table as HTML text: the start tag with tableAttrs, then per row a TR
// holding cols cells, each TD with cellAttrs; CR LF after every line but the
// last ("</TABLE>").
QString tableText(int rows, int cols, const QString& tableAttrs, const QString& cellAttrs);

// The count typed in a box: a whole number from 0 to kMaxTableCount (blanks
// around it allowed), or nothing when the text is anything else.
std::optional<int> tableCount(const QString& text);

}  // namespace orvane
