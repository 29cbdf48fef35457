#pragma once
// Designed lengths are in twips: 15 twips are one pixel at 96 dpi. A length
// converts to the nearest whole pixel.

#include <QRect>

namespace orvane {

constexpr int kTwipsPerPixel = 15;

constexpr int px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
constexpr int twips(int pixels) { return pixels * kTwipsPerPixel; }

// A rectangle given as left, top, width, height in twips.
constexpr QRect pxRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

}  // namespace orvane
