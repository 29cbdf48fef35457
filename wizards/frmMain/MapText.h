#pragma once
// The MAP element the image map wizard writes: one AREA per region, then the
// IMG that uses the map, inside the MAP.

#include <QList>
#include <QPoint>
#include <QString>

namespace orvane {

// One marked region: its corners in picture pixels, in the order clicked,
// and what the settings dialog took for it (empty until then).
struct MapRegion {
    QPoint first;
    QPoint second;
    QString href;
    QString alt;
};

// Text typed by the user made safe inside a double-quoted attribute value.
QString escapeAttribute(const QString& value);

// The IMG's source for `picture` on the page file `page`: relative to the
// page when the picture lies in the page's folder or below it, else the full
// path as chosen.
QString mapPictureSource(const QString& picture, const QString& page);

// The text inserted into the page, every line ended by CR LF and the first
// preceded by one.
QString mapText(const QString& name, const QList<MapRegion>& regions, const QString& pictureSource);

}  // namespace orvane
