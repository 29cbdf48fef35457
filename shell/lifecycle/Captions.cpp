#include "Captions.h"

namespace orvane {

QString captionForPath(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("Orvane Editor");
    return QStringLiteral("Orvane Editor - ") + path;
}

}  // namespace orvane
