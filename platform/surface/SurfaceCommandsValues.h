#pragma once
// Checks and conversions of the values that commands take, as plain
// functions. Each throws SurfaceError(InvalidArgument) for a value the
// command cannot use.

#include <QJsonObject>
#include <QString>
#include <QVariant>

namespace orvane::commands {

// A colour value ("#RRGGBB", "#rgb" or a colour name) as "#RRGGBB".
QString htmlColor(const QVariant& value);
// An HTML font size, 1 to 7, from a number or its text.
int htmlFontSize(const QVariant& value);
// A font name: the text, trimmed, not empty.
QString fontName(const QVariant& value);
// INSERTTABLE's TableParam as the page command's table description
// {rows, cols, tableAttrs, cellAttrs, caption}.
QJsonObject tableEntry(const QVariant& value);

// The fragment of clipboard HTML that belongs in the page: what lies between
// the StartFragment and EndFragment marks when present, without a wrapping
// document's html, head and body.
QString fragmentFromClipboardHtml(const QString& html);
// Plain text as HTML: escaped, line breaks as <BR>.
QString htmlFromPlainText(const QString& text);

}  // namespace orvane::commands
