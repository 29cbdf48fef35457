#include "MapRegions.h"

#include <array>

namespace orvane {

bool MapRegions::add(QPoint first, QPoint second)
{
    if (isFull())
        return false;
    m_regions.append(MapRegion{first, second, {}, {}});
    return true;
}

void MapRegions::setNewestSettings(const QString& href, const QString& alt)
{
    if (m_regions.isEmpty())
        return;
    m_regions.last().href = href;
    m_regions.last().alt = alt;
}

QColor outlineColour(int phase)
{
    static constexpr std::array<QRgb, 7> kPulse = {0x000000, 0xFFFFFF, 0xE0E0E0, 0xC0C0C0,
                                                   0x808080, 0x404040, 0x000000};
    return QColor::fromRgb(kPulse[std::size_t(phase) % kPulse.size()]);
}

}  // namespace orvane
