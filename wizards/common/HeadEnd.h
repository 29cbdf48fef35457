#pragma once
// Where a page's head ends, for the wizards that write into the head (the
// style class dialog, the image rollover wizard): the first head end tag in
// any letter case, since most pages written today spell it "</head>".

#include <QString>

namespace orvane {

// Index of the first "</head>" in `page`, whatever its letter case, or -1.
qsizetype headEndTag(const QString& page);

}  // namespace orvane
