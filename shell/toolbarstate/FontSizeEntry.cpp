#include "FontSizeEntry.h"

#include "SurfaceTypes.h"

namespace orvane {

FontSizeEntry fontSizeEntry(const QString& typed, int setState, const std::function<int()>& currentSize)
{
    bool numeric = false;
    const double value = typed.trimmed().toDouble(&numeric);
    if (numeric && value >= 1 && value <= 7)
        return {true, typed};
    if (setState == DECMDF_NINCHED)
        return {false, QString()};
    return {false, QString::number(currentSize() - 1)};
}

}  // namespace orvane
