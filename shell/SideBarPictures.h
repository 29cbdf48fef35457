#pragma once
// The pictures of the main window's side bars, drawn in code: the background
// of a side bar with a close mark in its top right corner, and the small
// picture shown below the side bars.

#include <QPixmap>

namespace orvane {

// size: the bar's size; closeMark: the close area, in the bar's coordinates.
QPixmap sideBarBackground(QSize size, QRect closeMark);
QPixmap sideBarBadge(QSize size);

}  // namespace orvane
