#pragma once
// A toolbar control: an image or a short caption that reports clicks. The six
// formatting buttons also show a pressed or a flat look.

#include "ClickableLabel.h"

namespace orvane {

class ToolButton : public ClickableLabel {
    Q_OBJECT
public:
    ToolButton(const QString& name, const QString& tooltip, QWidget* parent);

    // Pressed: a sunken single border; flat: no border.
    void setPressedLook(bool pressed);
};

}  // namespace orvane
