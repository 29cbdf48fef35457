#pragma once
// The text of a new page: nine lines joined by CR LF, no line break after the last.

#include <QString>

namespace orvane {

QString newPageTemplate();

}  // namespace orvane
