#include "SideBars.h"

#include "LayoutSizes.h"
#include "Twips.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace orvane {

namespace {

// The tab strip, the three frames and the three surfaces, in the order they are sized.
const char* const kSized[] = {"TabStrip1", "Frame1(0)", "Frame1(1)", "Frame1(2)",
                              "rch", "DHTMLEdit1", "DHTMLEdit2"};

const char* const kUpperBar[] = {"panel_1", "FontCombo", "FontSizeCombo", "Picture2", nullptr};
const char* const kLowerBar[] = {"panel_2", "Picture3", nullptr};

// A size below zero is refused: that one size keeps its value.
void resizeRefusingNegative(QWidget* w, int widthTwips, int heightTwips)
{
    if (!w)
        return;
    const int width = widthTwips < 0 ? w->width() : px(widthTwips);
    const int height = heightTwips < 0 ? w->height() : px(heightTwips);
    w->resize(width, height);
}

}  // namespace

SideBars::SideBars(QWidget* window) : m_window(window)
{
    window->installEventFilter(this);
    for (const char* name : {"Label2", "Label55", "Label54"})
        if (QWidget* w = child(name))
            w->installEventFilter(this);
}

QWidget* SideBars::child(const char* name) const
{
    return m_window ? m_window->findChild<QWidget*>(QLatin1String(name)) : nullptr;
}

bool SideBars::upperShown() const
{
    QWidget* w = child("panel_1");
    return w && !w->isHidden();
}

bool SideBars::lowerShown() const
{
    QWidget* w = child("panel_2");
    return w && !w->isHidden();
}

bool SideBars::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            Form_Resize();
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* label = static_cast<QWidget*>(watched);
    if (mouse->button() != Qt::LeftButton || !label->rect().contains(mouse->position().toPoint()))
        return false;
    const QString name = watched->objectName();
    if (name == QLatin1String("Label2"))
        Label2_Click();
    else if (name == QLatin1String("Label55"))
        Label55_Click();
    else if (name == QLatin1String("Label54"))
        Label54_Click();
    return false;
}

void SideBars::applySizes(bool sideBarsShown)
{
    // The window's own size stands for its outer one: the frame a window
    // manager adds is unknown until the window is shown and differs between
    // desktops, so the layout would otherwise change once the window appears.
    const SurfaceSizes s = surfaceSizes(twips(m_window->width()), twips(m_window->height()), sideBarsShown);
    for (const char* name : kSized) {
        const bool tabs = qstrcmp(name, "TabStrip1") == 0;
        resizeRefusingNegative(child(name), tabs ? s.tabWidth : s.paneWidth,
                               tabs ? s.tabHeight : s.paneHeight);
    }
    // The status bar keeps to the bottom line of the window.
    if (QWidget* status = child("StatusBar1"))
        status->setGeometry(0, m_window->height() - status->height(), m_window->width(), status->height());
}

void SideBars::placeSideBarPieces()
{
    QWidget* tabs = child("TabStrip1");
    if (!tabs)
        return;
    const int right = twips(tabs->x() + tabs->width());
    for (const SideBarPiece& piece : kSideBarPieces)
        if (QWidget* w = child(piece.name))
            w->move(px(right + piece.offset), w->y());
}

void SideBars::Form_Resize()
{
    applySizes(upperShown() || lowerShown());
    m_window->update();
    placeSideBarPieces();
}

void SideBars::closeBar(const char* const* pieces, bool otherShown)
{
    for (; *pieces; ++pieces)
        if (QWidget* w = child(*pieces))
            w->hide();
    if (QWidget* w = child("Label54"))
        w->show();
    if (otherShown)
        return;
    if (QWidget* w = child("Image1"))
        w->hide();
    applySizes(false);
    m_window->update();
}

void SideBars::Label2_Click()
{
    closeBar(kUpperBar, lowerShown());
}

void SideBars::Label55_Click()
{
    closeBar(kLowerBar, upperShown());
}

void SideBars::Label54_Click()
{
    for (const char* const* bar : {kUpperBar, kLowerBar})
        for (const char* const* piece = bar; *piece; ++piece)
            if (QWidget* w = child(*piece))
                w->show();
    if (QWidget* w = child("Label54"))
        w->hide();
    applySizes(true);
    placeSideBarPieces();
    if (QWidget* w = child("Image1"))
        w->show();
}

}  // namespace orvane
