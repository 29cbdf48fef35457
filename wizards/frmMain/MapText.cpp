#include "MapText.h"

#include "PagePath.h"

namespace orvane {

namespace {
const QString CRLF = QStringLiteral("\r\n");

QString quoted(const QString& value) { return u'"' + escapeAttribute(value) + u'"'; }
}  // namespace

QString escapeAttribute(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'&')
            out += QLatin1String("&amp;");
        else if (c == u'"')
            out += QLatin1String("&quot;");
        else if (c == u'<')
            out += QLatin1String("&lt;");
        else
            out += c;
    }
    return out;
}

QString mapPictureSource(const QString& picture, const QString& page)
{
    const QString relative = pathFromPage(picture, page);
    if (relative.isEmpty() || relative.startsWith(QLatin1String("../")))
        return picture;
    return relative;
}

QString mapText(const QString& name, const QList<MapRegion>& regions, const QString& pictureSource)
{
    QString text = CRLF + QStringLiteral("<MAP NAME=") + quoted(name) + u'>';
    for (const MapRegion& r : regions) {
        const QString coords = QStringLiteral("%1,%2,%3,%4")
                                   .arg(r.first.x()).arg(r.first.y()).arg(r.second.x()).arg(r.second.y());
        text += CRLF + QStringLiteral("<AREA SHAPE=\"RECT\" COORDS=\"") + coords
                + QStringLiteral("\" HREF=") + quoted(r.href) + QStringLiteral(" ALT=") + quoted(r.alt)
                + u'>';
    }
    text += CRLF + QStringLiteral("<IMG SRC=") + quoted(pictureSource) + QStringLiteral(" USEMAP=")
            + quoted(u'#' + name) + QStringLiteral(" BORDER=\"0\">") + CRLF;
    text += QStringLiteral("</MAP>") + CRLF;
    return text;
}

}  // namespace orvane
