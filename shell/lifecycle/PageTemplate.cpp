#include "PageTemplate.h"

#include <QStringList>

namespace orvane {

QString newPageTemplate()
{
    static const QStringList lines{
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral("<META NAME=\"GENERATOR\" Content=\"Kestrova Editor v.1.0\">"),
        QStringLiteral("<TITLE></TITLE>"),
        QStringLiteral("</HEAD>"),
        QStringLiteral("<BODY>"),
        QStringLiteral("<P>&nbsp;</P>"),
        QStringLiteral("</BODY>"),
        QStringLiteral("</HTML>"),
    };
    return lines.join(QStringLiteral("\r\n"));
}

}  // namespace orvane
