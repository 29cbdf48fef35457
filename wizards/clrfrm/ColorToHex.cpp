#include "ColorToHex.h"

namespace orvane {

QString ColorToHex(std::uint32_t value)
{
    // Six digits read blue, green, red; HTML wants red, green, blue.
    const QString bgr = QString::number(value & 0xFFFFFFu, 16).toUpper().rightJustified(6, QLatin1Char('0'));
    return QLatin1Char('#') + bgr.mid(4, 2) + bgr.mid(2, 2) + bgr.mid(0, 2);
}

std::uint32_t colorValue(const QColor& c)
{
    return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

}  // namespace orvane
