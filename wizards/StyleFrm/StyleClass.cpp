#include "StyleClass.h"

#include "mainFrm.h"
#include "HeadEnd.h"

namespace orvane {

QString styleBlock(const StyleClass& style)
{
    return QStringLiteral("<STYLE> .") + style.name + QStringLiteral(" {color:") + style.color
        + QStringLiteral("; margin-top:") + style.marginTop + QStringLiteral("; font-family:")
        + style.fontFamily + QStringLiteral("; font-size:") + style.fontSize
        + QStringLiteral("} </STYLE> ");
}

std::optional<QString> withStyleClass(const QString& page, const StyleClass& style)
{
    if (headEndTag(page) < 0)
        return std::nullopt;
    QString text = mainFrm::ReplaceString(page, QLatin1String(kSurfaceGenerator),
                                          QLatin1String(kOwnGenerator));
    // Renaming cannot remove a head end tag, so the lookup finds one again.
    return text.insert(headEndTag(text), styleBlock(style));
}

}  // namespace orvane
