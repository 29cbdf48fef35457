#pragma once
// A label that reports a click: a left-button press and release inside it.
// The presses never reach the widgets behind it.

#include <QLabel>

namespace orvane {

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace orvane
