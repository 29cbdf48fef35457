#pragma once
// How the editor reaches the FTP control. The control, its library and libcurl
// sit behind a module of their own that the FTP window opens when it first
// shows, so a start that never publishes loads none of them.

#include <QByteArray>

class QWidget;

namespace orvane {

struct FtpControlEntry {
    // A new control in parent.
    QWidget* (*create)(QWidget* parent);
    // The positions of the control's splitters, and putting them back.
    QByteArray (*saveLayout)(const QWidget* control);
    void (*restoreLayout)(QWidget* control, const QByteArray& state);
};

}  // namespace orvane

// The module's one exported function, extern "C": it returns the entry points above.
#define ORVANE_FTP_CONTROL_ENTRY orvaneFtpControlEntry
