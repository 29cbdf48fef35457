#include "TabStrip.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace orvane {

namespace {
constexpr int kBorder = 2;  // width of the client area's frame
}

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), m_tabBar(new QTabBar(this))
{
    m_tabBar->setObjectName(QStringLiteral("tabBar"));
    m_tabBar->setFocusPolicy(Qt::StrongFocus);
    m_tabBar->setDrawBase(false);
    m_tabBar->setExpanding(false);
    m_tabBar->addTab(QStringLiteral("Tab1"));
    connect(m_tabBar, &QTabBar::tabBarClicked, this, &TabStrip::onTabBarClicked);
    connect(m_tabBar, &QTabBar::currentChanged, this, &TabStrip::onCurrentChanged);
}

int TabStrip::selectedIndex() const { return m_tabBar->currentIndex(); }

void TabStrip::setSelectedIndex(int index) { m_tabBar->setCurrentIndex(index); }

QRect TabStrip::clientRect() const
{
    const int top = m_tabBar->sizeHint().height();
    return QRect(kBorder, top + kBorder, width() - 2 * kBorder, height() - top - 2 * kBorder)
        .translated(pos());
}

// The bar emits tabBarClicked before it selects the tab, so select it here
// first; the click then reads the new selection.
void TabStrip::onTabBarClicked(int index)
{
    if (index < 0 || !(QGuiApplication::mouseButtons() & Qt::LeftButton))
        return;
    m_clicking = true;
    m_tabBar->setCurrentIndex(index);
    m_clicking = false;
    emit Click();
}

void TabStrip::onCurrentChanged(int index)
{
    if (index >= 0 && !m_clicking)
        emit Click();
}

void TabStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, m_tabBar->sizeHint().height(), width(),
                       height() - m_tabBar->sizeHint().height());
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_tabBar->sizeHint();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void TabStrip::resizeEvent(QResizeEvent*)
{
    m_tabBar->setGeometry(0, 0, width(), m_tabBar->sizeHint().height());
}

}  // namespace orvane
