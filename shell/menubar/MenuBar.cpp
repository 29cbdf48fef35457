#include "MenuBar.h"

#include "MenuLabel.h"
#include "MenuLayout.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QWidget>

namespace orvane {

using namespace menubar;

namespace {

QFont menuFont(bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    f.setBold(bold);
    return f;
}

}  // namespace

MenuBar::MenuBar(QWidget* host, std::function<bool()> isSourceMode)
    : QObject(host), m_host(host), m_isSourceMode(std::move(isSourceMode))
{
    host->setMouseTracking(true);
    host->installEventFilter(this);

    for (const PanelRow& p : menuPanels()) {
        auto* panel = new MenuPanel(p.name, host);
        panel->setGeometry(pxRect(p.left, p.top, p.width, p.height));
        panel->hide();
        const int inset = panel->frameWidth();
        for (const ItemRow& i : p.items) {
            auto* item = new MenuLabel(i.name, i.caption, panel);
            item->setFont(menuFont(false));
            // The widths were made for a slightly narrower face: a caption
            // wider than its width widens the item rather than being clipped.
            const QFontMetrics fm(item->font());
            const int needed = std::max(fm.horizontalAdvance(i.caption),
                                        fm.tightBoundingRect(i.caption).right() + 1);
            item->setGeometry(px(kItemLeft) + inset, px(i.top) + inset,
                              std::max(px(i.width), needed), px(kItemHeight));
            setForeColor(item, kNormal);
            connect(item, &MenuLabel::moved, this, [this, item] { setForeColor(item, kHover); });
            connect(item, &MenuLabel::clicked, this, [this, name = i.name] { emit itemClicked(name); });
            m_items.insert(i.name, item);
            m_panelItems[p.name] << i.name;
        }
        connect(panel, &MenuPanel::moved, this, [this, name = p.name] { panelMoved(name); });
        m_panels.insert(p.name, panel);
    }

    for (const HeaderRow& h : menuHeaders()) {
        auto* header = new MenuLabel(h.name, h.caption, host);
        header->setFont(menuFont(true));
        header->setGeometry(pxRect(h.left, 0, h.width, kHeaderHeight));
        connect(header, &MenuLabel::moved, this, [this, name = h.name] { headerMoved(name); });
        connect(header, &MenuLabel::clicked, this, [this, name = h.name] { openPanel(name); });
        m_headers.insert(h.name, header);
    }
}

MenuBar::~MenuBar() = default;

QLabel* MenuBar::header(const QString& name) const { return m_headers.value(name); }
QWidget* MenuBar::panel(const QString& name) const { return m_panels.value(name); }
QLabel* MenuBar::item(const QString& name) const { return m_items.value(name); }

QColor MenuBar::foreColor(const QLabel* item)
{
    return item->palette().color(QPalette::Active, QPalette::WindowText);
}

// The fore colour shows while the item is enabled; a disabled item always
// shows the disabled look, whatever its fore colour.
void MenuBar::setForeColor(QLabel* item, const QColor& color)
{
    QPalette pal = item->palette();
    pal.setColor(QPalette::Active, QPalette::WindowText, color);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, color);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, kDisabledLook);
    item->setPalette(pal);
}

void MenuBar::resetItem(const QString& name)
{
    if (QLabel* i = item(name))
        setForeColor(i, kNormal);
}

void MenuBar::hidePanel(const QString& name)
{
    if (QWidget* p = panel(name))
        p->hide();
}

void MenuBar::openPanel(const QString& headerName)
{
    for (const HeaderRow& h : menuHeaders()) {
        if (h.name != headerName)
            continue;
        if (h.panel.isEmpty()) {
            emit itemClicked(h.name);  // Help opens a window, not a panel
            return;
        }
        QWidget* p = panel(h.panel);
        p->raise();  // in front of everything, the surfaces and other panels included
        p->show();
        return;
    }
}

void MenuBar::headerMoved(const QString& headerName)
{
    for (const HeaderRow& h : menuHeaders()) {
        if (h.name != headerName)
            continue;
        for (const QString& p : h.closes)
            hidePanel(p);
        if (h.gate == Gate::None)
            return;
        const bool source = m_isSourceMode();
        const bool enabled = h.gate == Gate::EditOnly ? !source : source;
        const QStringList gated = h.gated.isEmpty() ? m_panelItems.value(h.panel) : h.gated;
        for (const QString& name : gated) {
            QLabel* i = item(name);
            i->setEnabled(enabled);
            setForeColor(i, enabled ? kNormal : kDisabledLook);
        }
        return;
    }
}

void MenuBar::panelMoved(const QString& panelName)
{
    for (const QString& name : m_panelItems.value(panelName))
        setForeColor(item(name), kNormal);
}

void MenuBar::hideAll()
{
    for (const QString& p : allPanelsInClosingOrder())
        hidePanel(p);
}

void MenuBar::hideSourcePane()
{
    if (m_rch && !m_rch->isHidden())
        m_rch->hide();
}

void MenuBar::Form_MouseMove() { hideAll(); }
void MenuBar::rch_MouseMove() { hideAll(); }

// Moving over the design surface or the preview also leaves Source mode.
void MenuBar::DHTMLEdit1_onmousemove()
{
    hideAll();
    hideSourcePane();
}

void MenuBar::DHTMLEdit2_onmousemove()
{
    hideAll();
    hideSourcePane();
    hidePanel(QStringLiteral("pic_library"));
}

void MenuBar::panel_1_MouseMove()
{
    for (const QString& p : sideBarClosedPanels())
        hidePanel(p);
}

static void watchTree(QWidget* root, QObject* filter)
{
    root->setMouseTracking(true);
    root->installEventFilter(filter);
    for (QWidget* child : root->findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(filter);
    }
}

void MenuBar::watchSourcePane(QWidget* rch)
{
    m_rch = rch;
    watchTree(rch, this);
}

void MenuBar::watchSideBarImage(QWidget* panel1)
{
    m_panel1 = panel1;
    watchTree(panel1, this);
}

static bool isInside(QObject* watched, QWidget* root)
{
    auto* w = qobject_cast<QWidget*>(watched);
    return root && w && (w == root || root->isAncestorOf(w));
}

bool MenuBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove)
        return false;
    if (watched == m_host) {
        // Only the window's own background: moves passed up from a child
        // that does not handle them are not over the background.
        const auto* move = static_cast<QMouseEvent*>(event);
        if (!m_host->childAt(move->position().toPoint()))
            Form_MouseMove();
    } else if (isInside(watched, m_rch)) {
        rch_MouseMove();
    } else if (isInside(watched, m_panel1)) {
        panel_1_MouseMove();
    }
    return false;
}

}  // namespace orvane
