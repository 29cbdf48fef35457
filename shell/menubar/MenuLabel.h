#pragma once
// A caption label of the menu bar (header or item) that reports pointer moves
// and clicks, and keeps the moves to itself so they never reach the window
// background behind it.

#include "ClickableLabel.h"

namespace orvane {

class MenuLabel : public ClickableLabel {
    Q_OBJECT
public:
    MenuLabel(const QString& name, const QString& caption, QWidget* parent);

signals:
    void moved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// A drop-down panel: its background reports pointer moves.
class MenuPanel : public QFrame {
    Q_OBJECT
public:
    MenuPanel(const QString& name, QWidget* parent);

signals:
    void moved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace orvane
