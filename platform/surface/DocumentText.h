#pragma once
// The text a surface document starts from, and the one step that turns a
// document's text into what the browser loads.

#include "PagePreparation.h"

#include <QByteArray>
#include <QString>

namespace orvane {

// The surface's own blank document (CR LF line ends).
QString blankDocument();

// The bytes served to the page for text (UTF-8; the scheme declares it).
// Given a map, server blocks are taken out and every element is marked, and
// map receives what leads the browser's elements back to the text, so that
// an edit can be written back into the author's own text.
QByteArray prepareForBrowser(const QString& text, fidelity::PageMap* map = nullptr);

}  // namespace orvane
