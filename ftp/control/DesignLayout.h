#pragma once
// The control's designed layout in twips and how it follows the control's
// size: the four panes share the extra width and take the extra height, the
// button column keeps to the right edge and the bottom buttons to the bottom.

#include <QRect>
#include <QSize>

namespace orvane::ftp {

inline constexpr int kTwipsPerPixel = 15;

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

enum class Anchor {
    Pane,         // a tree or list: stretches across the pane area, grows down
    PaneCaption,  // a caption over the panes: moves with the pane area
    RightColumn,  // the operation buttons: keep their distance to the right edge
    Bottom,       // Close, Connect, Cancel: keep their distance to the bottom
};

// The size the designed layout fills.
QSize designSize();

// Where a control designed at `design` (pixels) goes when the control is
// `size`; never smaller than the design.
QRect placeControl(const QRect& design, Anchor anchor, const QSize& size);

}  // namespace orvane::ftp
