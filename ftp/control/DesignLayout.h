#pragma once
// The control's designed measures in twips: the starting size of the control
// and of its panes.

#include <QRect>
#include <QSize>

namespace orvane::ftp {

inline constexpr int kTwipsPerPixel = 15;

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

// The size the designed layout fills.
constexpr QSize designSize()
{
    return QSize(twipsRect(0, 0, 10095, 0).width(), twipsRect(0, 0, 0, 3495).height());
}

}  // namespace orvane::ftp
