#include "MenuLabel.h"

#include <QMouseEvent>

namespace orvane {

MenuLabel::MenuLabel(const QString& name, const QString& caption, QWidget* parent)
    : ClickableLabel(caption, parent)
{
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
}

void MenuLabel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit moved();
}

MenuPanel::MenuPanel(const QString& name, QWidget* parent) : QFrame(parent)
{
    setObjectName(name);
    setMouseTracking(true);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
}

void MenuPanel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit moved();
}

// A click on the background, or on a disabled item over it, does nothing.
void MenuPanel::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace orvane
