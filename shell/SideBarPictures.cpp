#include "SideBarPictures.h"

#include <QLinearGradient>
#include <QPainter>

namespace orvane {

QPixmap sideBarBackground(QSize size, QRect closeMark)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(0xE8, 0xEE, 0xF7));
    fill.setColorAt(1, QColor(0xC9, 0xD6, 0xEA));
    p.setBrush(fill);
    p.setPen(QPen(QColor(0x7A, 0x8F, 0xB3), 1));
    p.drawRoundedRect(QRectF(picture.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);

    const QRectF mark = QRectF(closeMark).adjusted(4, 4, -4, -4);
    p.setPen(QPen(QColor(0x4A, 0x5D, 0x80), 1.6));
    p.drawLine(mark.topLeft(), mark.bottomRight());
    p.drawLine(mark.topRight(), mark.bottomLeft());
    return picture;
}

QPixmap sideBarBadge(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2F, 0x5D, 0xA8));
    p.drawEllipse(QRectF(picture.rect()).adjusted(1, 1, -1, -1));
    p.setPen(QPen(Qt::white, 2));
    const qreal w = size.width(), h = size.height();
    p.drawText(QRectF(0, 0, w, h), Qt::AlignCenter, QStringLiteral("O"));
    return picture;
}

}  // namespace orvane
