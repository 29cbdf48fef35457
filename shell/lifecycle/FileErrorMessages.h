#pragma once
// The texts shown when loading or saving a page fails, by the surface's error
// number (SurfaceErrorNumber).

#include <QString>
#include <cstdint>

namespace orvane {

QString loadErrorText(std::int32_t number);
QString saveErrorText(std::int32_t number);

// "Error occurred while loading document: <text>." and the saving counterpart.
QString loadErrorMessage(std::int32_t number);
QString saveErrorMessage(std::int32_t number);

}  // namespace orvane
