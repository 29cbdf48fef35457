#include "HeadEnd.h"

namespace orvane {

qsizetype headEndTag(const QString& page)
{
    return page.indexOf(QLatin1String("</head>"), 0, Qt::CaseInsensitive);
}

}  // namespace orvane
