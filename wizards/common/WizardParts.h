#pragma once
// Parts the wizard windows share: a small decorative picture drawn from one
// of the program's icons, and the row of the two closing buttons.

#include <QString>

class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace orvane {

// A label named name showing the icon file (under the program's icon
// resources) at 32 by 32 pixels.
QLabel* wizardPicture(QWidget* parent, const char* name, const QString& file);

// The accepting button (the default one) and the cancelling button, which
// closes the dialog, side by side at the right of their row.
struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* row;
};
DialogButtons dialogButtons(QDialog* dialog, const char* okName, const QString& okCaption,
                            const char* cancelName);

}  // namespace orvane
