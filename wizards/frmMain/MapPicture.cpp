#include "MapPicture.h"

#include <QMouseEvent>
#include <QPainter>

namespace orvane {

MapPicture::MapPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picImage"));
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

void MapPicture::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    resize(picture.deviceIndependentSize().toSize());
    update();
}

void MapPicture::setOutlines(const QList<MapRegion>& regions, const QColor& colour)
{
    m_outlines = regions;
    m_outlineColour = colour;
    update();
}

void MapPicture::setRubberBand(std::optional<QRect> band)
{
    m_band = band;
    update();
}

// A rectangle through the two corners as clicked, whichever way it was drawn.
static QRect throughCorners(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

void MapPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
    p.setBrush(Qt::NoBrush);
    p.setPen(m_outlineColour);
    for (const MapRegion& r : m_outlines)
        p.drawRect(throughCorners(r.first, r.second));
    if (m_band) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawRect(throughCorners(m_band->topLeft(), m_band->bottomRight()));
    }
}

void MapPicture::mousePressEvent(QMouseEvent* event) { emit MouseDown(event->position().toPoint()); }
void MapPicture::mouseMoveEvent(QMouseEvent* event) { emit MouseMove(event->position().toPoint()); }

}  // namespace orvane
