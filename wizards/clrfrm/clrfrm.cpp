#include "clrfrm.h"

#include "PageColours.h"
#include "WizardParts.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvane {

namespace {

constexpr int kPicture = 24;

// The font colour button shows a letter over a colour bar.
QPixmap letterPicture()
{
    QPixmap pixmap(kPicture, kPicture);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(15);
    p.setFont(f);
    p.drawText(QRect(0, 0, kPicture, 18), Qt::AlignCenter, QStringLiteral("A"));
    p.fillRect(3, 19, kPicture - 6, 4, QColor(0xD0, 0x1C, 0x1C));
    return pixmap;
}

// The page colour buttons show a page: filled for the background, a line of
// link text in the usual link colours for the three link colours.
QPixmap pagePicture(const QColor& paper, const QColor& link)
{
    QPixmap pixmap(kPicture, kPicture);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(paper);
    p.drawRect(3, 2, kPicture - 7, kPicture - 5);
    if (link.isValid()) {
        p.setPen(QPen(link, 2));
        p.drawLine(6, 10, kPicture - 7, 10);
        p.drawLine(6, 15, kPicture - 10, 15);
    }
    return pixmap;
}

}  // namespace

clrfrm::clrfrm(PageColours& colours, QWidget* parent) : QDialog(parent), m_colours(colours)
{
    setObjectName(QStringLiteral("clrfrm"));
    setWindowTitle(QStringLiteral("Color"));
    setModal(true);

    using Colour = PageColours::Colour;
    struct ButtonRow {
        const char* name;
        const char* tip;
        QPixmap picture;
        Colour colour;
    };
    const ButtonRow buttonRows[] = {
        {"Command1", "Font Color", letterPicture(), Colour::Font},
        {"Command2", "Background Color", pagePicture(QColor(0xF4, 0xE3, 0xC1), {}), Colour::Background},
        {"Command3", "Link Color", pagePicture(Qt::white, QColor(0x1F, 0x5F, 0xBF)), Colour::Link},
        {"Command4", "Visited Link Color", pagePicture(Qt::white, QColor(0x80, 0x20, 0x80)), Colour::VisitedLink},
        {"Command5", "Active Link Color", pagePicture(Qt::white, QColor(0xD0, 0x1C, 0x1C)), Colour::ActiveLink},
    };
    auto* row = new QHBoxLayout;
    for (const ButtonRow& entry : buttonRows) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(entry.name));
        button->setToolTip(QLatin1String(entry.tip));
        button->setAccessibleName(QLatin1String(entry.tip));
        button->setIcon(entry.picture);
        button->setIconSize(QSize(kPicture, kPicture));
        connect(button, &QToolButton::clicked, this, [this, c = entry.colour] { m_colours.choose(c); });
        row->addWidget(button);
    }

    // Neither button undoes anything: each colour was applied when it was chosen.
    const DialogButtons buttons = dialogButtons(this, "OKButton", QStringLiteral("&OK"), "CancelButton");
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons.row);
}

void clrfrm::display(PageColours& colours, QWidget* parent)
{
    {
        clrfrm window(colours, parent);
        window.exec();
    }
    colours.forgetLastColour();
}

}  // namespace orvane
