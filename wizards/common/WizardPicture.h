#pragma once
// A small decorative picture for a wizard window, drawn from one of the
// program's icons.

#include <QString>

class QLabel;
class QWidget;

namespace orvane {

// A label named name showing the icon file (under the program's icon
// resources) at 32 by 32 pixels.
QLabel* wizardPicture(QWidget* parent, const char* name, const QString& file);

}  // namespace orvane
