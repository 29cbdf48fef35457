#include "ToolButton.h"

namespace orvane {

ToolButton::ToolButton(const QString& name, const QString& tooltip, QWidget* parent)
    : ClickableLabel(parent)
{
    setObjectName(name);
    setToolTip(tooltip);
    setAlignment(Qt::AlignCenter);
    setPressedLook(false);
}

void ToolButton::setPressedLook(bool pressed)
{
    setFrameStyle(pressed ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    setLineWidth(1);
}

}  // namespace orvane
