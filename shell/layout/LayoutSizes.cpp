#include "LayoutSizes.h"

namespace orvane {

const SideBarPiece kSideBarPieces[9] = {
    {"panel_1", 200}, {"panel_2", 200}, {"FontCombo", 400}, {"FontSizeCombo", 400},
    {"Picture2", 400}, {"Picture3", 470}, {"Image1", 300}, {"Label2", 1450}, {"Label55", 1450},
};

SurfaceSizes surfaceSizes(int width, int height, bool sideBarsShown)
{
    SurfaceSizes s;
    s.tabWidth = width - (sideBarsShown ? 2100 : 400);
    s.tabHeight = height - 850;
    s.paneWidth = width - (sideBarsShown ? 2600 : 800);
    s.paneHeight = height - 990;
    return s;
}

}  // namespace orvane
