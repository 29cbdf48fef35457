#include "DocumentText.h"

namespace orvane {

QString blankDocument()
{
    return QStringLiteral(
        "<HTML>\r\n<HEAD>\r\n"
        "<META NAME=\"GENERATOR\" Content=\"Microsoft DHTML Editing Control\">\r\n"
        "<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n<P>&nbsp;</P>\r\n</BODY>\r\n</HTML>\r\n");
}

QByteArray prepareForBrowser(const QString& text)
{
    return text.toUtf8();
}

}  // namespace orvane
