#include "PagePath.h"

#include <QDir>
#include <QFileInfo>

namespace orvane {

QString pathFromPage(const QString& picture, const QString& page)
{
    if (page.isEmpty() || picture.isEmpty())
        return {};
    return QFileInfo(page).absoluteDir().relativeFilePath(QFileInfo(picture).absoluteFilePath());
}

}  // namespace orvane
