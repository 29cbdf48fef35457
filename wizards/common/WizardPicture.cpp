#include "wizards/common/WizardPicture.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace orvane {

QLabel* wizardPicture(QWidget* parent, const char* name, const QString& file)
{
    constexpr int size = 32;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QSvgRenderer(QStringLiteral(":/icons/") + file).render(&painter);
    painter.end();
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(pixmap);
    label->setFixedSize(size, size);
    return label;
}

}  // namespace orvane
