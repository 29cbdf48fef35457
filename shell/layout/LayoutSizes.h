#pragma once
// The main window's layout arithmetic, in twips: the sizes of the mode tabs
// and the three surfaces from the window's size, and the left edges of
// the side-bar pieces from the tab strip's right edge.

namespace orvane {

struct SurfaceSizes {
    int tabWidth = 0;
    int tabHeight = 0;
    int paneWidth = 0;   // the three frames and the three surfaces
    int paneHeight = 0;
};

// sideBarsShown: either side bar is shown (the narrow set); otherwise the
// wide set. Values may come out negative for a very small window; those are
// not applied.
SurfaceSizes surfaceSizes(int width, int height, bool sideBarsShown);

// The side-bar pieces whose left edge follows the tab strip, in the order
// the layout sets them, with their offsets from its right edge.
struct SideBarPiece {
    const char* name;
    int offset;
};
extern const SideBarPiece kSideBarPieces[9];

}  // namespace orvane
