#include "Toolbar.h"

#include "ToolButton.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

namespace orvane {

namespace {

struct ButtonRow {
    const char* name;
    const char* tooltip;
    const char* icon;     // resource name under :/icons/, or nullptr for a caption
    const char* caption;
    const char* font;
    int column, row;
};

// Picture2: three columns of formatting buttons; Picture3: two columns of insertion buttons.
constexpr ButtonRow kPicture2[] = {
    {"bold", "Bold", "bold.svg", nullptr, nullptr, 0, 0},
    {"italics", "Italics", "italics.svg", nullptr, nullptr, 1, 0},
    {"underline", "Underline", "underline.svg", nullptr, nullptr, 2, 0},
    {"left1", "Align Left", "align-left.svg", nullptr, nullptr, 0, 1},
    {"center", "Align Center", "align-center.svg", nullptr, nullptr, 1, 1},
    {"right", "Align Right", "align-right.svg", nullptr, nullptr, 2, 1},
    {"cut", "Cut", "cut.svg", nullptr, nullptr, 0, 2},
    {"copy", "Copy", "copy.svg", nullptr, nullptr, 1, 2},
    {"paste", "Paste", "paste.svg", nullptr, nullptr, 2, 2},
    {"Label51", "Ordered List", nullptr, "OL", "Arial", 0, 3},
    {"Label52", "UnOrdered List", nullptr, "UL", "Arial", 1, 3},
    {"Label53", "Style Sheets", nullptr, "SS", "Fixedsys", 2, 3},
};
constexpr ButtonRow kPicture3[] = {
    {"Image2", "Insert Hyperlink", "hyperlink.svg", nullptr, nullptr, 0, 0},
    {"Image4", "Insert Image", "image.svg", nullptr, nullptr, 1, 0},
    {"Image3", "Table Wizard", "table.svg", nullptr, nullptr, 0, 1},
    {"Image5", "Image Map Wizard", "image-map.svg", nullptr, nullptr, 1, 1},
    {"Image6", "Change Colors", "colors.svg", nullptr, nullptr, 0, 2},
    {"Image7", "Ftp", "ftp.svg", nullptr, nullptr, 1, 2},
    {"Image8", "Indent", "indent.svg", nullptr, nullptr, 0, 3},
    {"Image9", "Outdent", "outdent.svg", nullptr, nullptr, 1, 3},
};

QPixmap iconPixmap(const QString& file, int size)
{
    QSvgRenderer renderer(QStringLiteral(":/icons/") + file);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QFont captionFont(const char* family)
{
    QFont f(QString::fromLatin1(family));
    f.setStyleHint(qstrcmp(family, "Fixedsys") == 0 ? QFont::Monospace : QFont::SansSerif);
    f.setPointSizeF(8.25);
    f.setBold(true);
    return f;
}

// The boxes' sizes in pixels (1335 by 2055 and 1215 by 2535 twips); they never change.
constexpr QSize kPicture2Size{89, 137};
constexpr QSize kPicture3Size{81, 169};

// Spreads a grid of buttons evenly over a box.
QPoint cellOrigin(QSize box, int column, int row, int columns, int rows)
{
    const int s = Toolbar::kButtonSize;
    const int gapX = std::max(0, (box.width() - columns * s) / (columns + 1));
    const int gapY = std::max(0, (box.height() - rows * s) / (rows + 1));
    return {gapX + column * (s + gapX), gapY + row * (s + gapY)};
}

}  // namespace

Toolbar::Toolbar(QWidget* picture2, QWidget* picture3) : QObject(picture2)
{
    const auto place = [this](QWidget* box, QSize boxSize, const auto& buttons, int columns,
                              int rows) {
        for (const ButtonRow& entry : buttons) {
            auto* b = new ToolButton(QString::fromLatin1(entry.name),
                                     QString::fromLatin1(entry.tooltip), box);
            if (entry.icon) {
                b->setPixmap(iconPixmap(QString::fromLatin1(entry.icon), kButtonSize - 4));
            } else {
                b->setText(QString::fromLatin1(entry.caption));
                b->setFont(captionFont(entry.font));
            }
            b->setGeometry(QRect(cellOrigin(boxSize, entry.column, entry.row, columns, rows),
                                 QSize(kButtonSize, kButtonSize)));
            connect(b, &ToolButton::clicked, this, [this, name = b->objectName()] {
                emit clicked(name);
            });
            m_buttons.insert(b->objectName(), b);
        }
    };
    place(picture2, kPicture2Size, kPicture2, 3, 4);
    place(picture3, kPicture3Size, kPicture3, 2, 4);
}

ToolButton* Toolbar::button(const QString& name) const { return m_buttons.value(name); }

QStringList Toolbar::names() const { return m_buttons.keys(); }

}  // namespace orvane
