#include "DesignLayout.h"

#include <algorithm>

namespace orvane::ftp {

namespace {

// The pane area runs from the left of treeClient to the right of lstServer.
constexpr QRect kPaneArea = twipsRect(120, 240, 9255 - 120, 2895);

// Maps a designed x to the x it has when the pane area is `extra` wider.
int mapX(int x, int extra)
{
    const int left = kPaneArea.left();
    const int span = kPaneArea.width();
    if (x <= left)
        return x;
    if (x >= left + span)
        return x + extra;
    return left + int((qint64(x - left) * (span + extra) + span / 2) / span);
}

}  // namespace

QSize designSize()
{
    return QSize(twipsRect(0, 0, 10095, 0).width(), twipsRect(0, 0, 0, 3495).height());
}

QRect placeControl(const QRect& design, Anchor anchor, const QSize& size)
{
    const QSize base = designSize();
    const int dx = std::max(0, size.width() - base.width());
    const int dy = std::max(0, size.height() - base.height());
    switch (anchor) {
    case Anchor::Pane: {
        const int left = mapX(design.left(), dx);
        const int right = mapX(design.left() + design.width(), dx);
        return QRect(left, design.top(), right - left, design.height() + dy);
    }
    case Anchor::PaneCaption:
        return QRect(QPoint(mapX(design.left(), dx), design.top()), design.size());
    case Anchor::RightColumn:
        return design.translated(dx, 0);
    case Anchor::Bottom:
        return design.translated(0, dy);
    }
    return design;
}

}  // namespace orvane::ftp
