#pragma once
// The control's designed measures in twips: the starting size of the control
// and of its panes.

#include "Twips.h"

#include <QSize>

namespace orvane::ftp {

// The size the designed layout fills.
constexpr QSize designSize()
{
    return QSize(px(10095), px(3495));
}

}  // namespace orvane::ftp
