#pragma once
// Colour values as HTML colour text.

#include <QColor>
#include <QString>
#include <cstdint>

namespace orvane {

// value holds red in its lowest byte, then green, then blue (the platform's
// colour encoding); the result is "#RRGGBB" in upper case.
QString ColorToHex(std::uint32_t value);

// The platform colour value of c.
std::uint32_t colorValue(const QColor& c);

}  // namespace orvane
