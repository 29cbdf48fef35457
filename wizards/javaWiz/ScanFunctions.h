#pragma once
// The function list of the events wizard, read from the page's source text.

#include <QStringList>

namespace orvane {

// One entry per function declared as "function NAME(" in `source`, in the
// order declared, each the name followed by "()", then the count line
// "Total Number of Functions:N".
QStringList scanFunctions(const QString& source);

}  // namespace orvane
