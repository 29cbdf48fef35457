#pragma once
// The text a surface document starts from, and the one step that turns a
// document's text into what the browser loads.

#include <QByteArray>
#include <QString>

namespace orvane {

// The surface's own blank document (CR LF line ends).
QString blankDocument();

// The bytes served to the page for text (UTF-8; the scheme declares it).
QByteArray prepareForBrowser(const QString& text);

}  // namespace orvane
