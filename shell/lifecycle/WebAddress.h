#pragma once
// The address typed into "Open From The Web", made ready for loading.

#include <QString>

namespace orvane {

// Empty when there is nothing to open: a blank answer, or a scheme with no
// address after it (the box's default "HTTP:\\" left as it is), or an answer
// holding a line break or another control character. An answer
// without a scheme ("example.com/page.htm", "127.0.0.1:8080/a.htm") is taken
// as http. Backslashes after the scheme read as slashes.
QString webAddressFromAnswer(const QString& answer);

}  // namespace orvane
