#pragma once
// Opens the FTP control's module on first use and keeps it for the program's life.

#include "FtpControlEntry.h"

#include <QString>

namespace orvane {

// The control's entry points; null, with the reason in error, when the module
// cannot be opened.
const FtpControlEntry* ftpControlEntry(QString* error);

}  // namespace orvane
