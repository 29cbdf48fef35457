#pragma once
// The region table of the image map wizard: the regions marked on the
// picture, in the order marked, at most 100 of them.

#include "MapText.h"

#include <QColor>

namespace orvane {

class MapRegions {
public:
    static constexpr int kMaximum = 100;

    bool isFull() const { return m_regions.size() >= kMaximum; }
    int count() const { return int(m_regions.size()); }
    const QList<MapRegion>& regions() const { return m_regions; }

    // Adds a region with empty link and text; false (and nothing added) when full.
    bool add(QPoint first, QPoint second);
    // Link and text of the newest region.
    void setNewestSettings(const QString& href, const QString& alt);
    void clear() { m_regions.clear(); }

private:
    QList<MapRegion> m_regions;
};

// The outlines' colour at one step (0 to 6) of their pulse: white through
// greys to black, black held for two steps.
QColor outlineColour(int phase);

}  // namespace orvane
