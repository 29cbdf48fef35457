#pragma once
// The main window's captions as the document commands set them.

#include <QString>

namespace orvane {

inline QString newPageCaption() { return QStringLiteral("Orvane Editor 1.0"); }

// "Orvane Editor - <path>" for a page with a file, "Orvane Editor" without one.
QString captionForPath(const QString& path);

}  // namespace orvane
