#include "DocumentText.h"

namespace orvane {

QString blankDocument()
{
    return QStringLiteral(
        "<HTML>\r\n<HEAD>\r\n"
        "<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">\r\n"
        "<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n<P>&nbsp;</P>\r\n</BODY>\r\n</HTML>\r\n");
}

QByteArray prepareForBrowser(const QString& text, fidelity::PageMap* map)
{
    if (!map)
        return text.toUtf8();
    fidelity::PreparedPage page = fidelity::preparePage(text);
    *map = std::move(page.map);
    return std::move(page.browserText);
}

}  // namespace orvane
