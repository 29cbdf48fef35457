// The FTP window's module: the control behind the entry points the editor looks up.
#include "FtpControlEntry.h"
#include "ftp.h"

namespace {

using orvane::ftp::ftp;

const orvane::FtpControlEntry kEntry{
    [](QWidget* parent) -> QWidget* { return new ftp(parent); },
    [](const QWidget* control) { return static_cast<const ftp*>(control)->saveLayout(); },
    [](QWidget* control, const QByteArray& state) { static_cast<ftp*>(control)->restoreLayout(state); },
};

}  // namespace

extern "C" Q_DECL_EXPORT const orvane::FtpControlEntry* ORVANE_FTP_CONTROL_ENTRY()
{
    return &kEntry;
}
