#pragma once
// picImage: the picture at its natural size, the outlines of the marked
// regions in the colour of the moment, and the rubber band of the region
// being drawn. Mouse positions are reported in picture pixels.

#include "MapText.h"

#include <QPixmap>
#include <QWidget>
#include <optional>

namespace orvane {

class MapPicture : public QWidget {
    Q_OBJECT
public:
    explicit MapPicture(QWidget* parent);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }
    void setOutlines(const QList<MapRegion>& regions, const QColor& colour);
    // The band from `from` to `to`, or none.
    void setRubberBand(std::optional<QRect> band);

signals:
    void MouseDown(QPoint at);
    void MouseMove(QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
    QList<MapRegion> m_outlines;
    QColor m_outlineColour;
    std::optional<QRect> m_band;
};

}  // namespace orvane
