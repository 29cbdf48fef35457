#include "shell/toolbar/ToolButton.h"

#include <QMouseEvent>

namespace orvane {

ToolButton::ToolButton(const QString& name, const QString& tooltip, QWidget* parent)
    : QLabel(parent)
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

void ToolButton::mousePressEvent(QMouseEvent* event) { event->accept(); }

void ToolButton::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace orvane
