#include "MainWindowParts.h"

#include "DocumentLifecycle.h"
#include "KeyboardCommands.h"
#include "EditorContextMenu.h"
#include "SideBars.h"
#include "mainFrm.h"
#include "CommandWiring.h"
#include "MenuBar.h"
#include "MenuLayout.h"
#include "ToolButton.h"
#include "ToolbarState.h"
#include "PageColours.h"

namespace orvane {

namespace {

// Whether the menu enables item in the current mode, as hovering its header would.
bool itemEnabled(const QString& item, bool sourceMode)
{
    for (const menubar::HeaderRow& header : menubar::menuHeaders()) {
        if (header.gate == menubar::Gate::None)
            continue;
        bool gated = header.gated.contains(item);
        if (header.gated.isEmpty()) {
            for (const menubar::PanelRow& panel : menubar::menuPanels())
                if (panel.name == header.panel)
                    for (const menubar::ItemRow& entry : panel.items)
                        gated = gated || entry.name == item;
        }
        if (gated)
            return header.gate == menubar::Gate::EditOnly ? !sourceMode : sourceMode;
    }
    return true;
}

}  // namespace

MainWindowParts::MainWindowParts(mainFrm* window) : QObject(window), m_window(window)
{
    auto sourceMode = [window] { return window->isSourceMode(); };
    m_lifecycle = std::make_unique<DocumentLifecycle>(
        *window, *window->DHTMLEdit1(), *window->rch(), sourceMode,
        [window] { window->ColorTags(window->rch()); });
    m_pageColours = std::make_unique<PageColours>(*window->DHTMLEdit1(), *window->rch(), sourceMode);
    m_toolbarState = std::make_unique<ToolbarState>(
        *window->DHTMLEdit1(), *window->rch(), *window->FontCombo(), *window->FontSizeCombo(), sourceMode,
        [window](const QString& name, bool pressed) {
            if (auto* button = window->findChild<ToolButton*>(name))
                button->setPressedLook(pressed);
        });
    connect(m_toolbarState.get(), &ToolbarState::documentReadyChanged, window, &mainFrm::setDocumentReady);
    m_contextMenu = std::make_unique<EditorContextMenu>(*window->DHTMLEdit1(), *m_pageColours);
    m_sideBars = std::make_unique<SideBars>(window);
    m_sideBars->Form_Resize();
    m_keyboard = std::make_unique<KeyboardCommands>(window, [this](const QString& c) { runShortcut(c); });
    // The catalogue runs the other items' clicks itself.
    if (MenuBar* menu = window->menuBar())
        connect(menu, &MenuBar::itemClicked, this, [this](const QString& control) {
            if (DocumentLifecycle::handles(control))
                runItem(control);
        });
}

MainWindowParts::~MainWindowParts() = default;

void MainWindowParts::runItem(const QString& control)
{
    if (!DocumentLifecycle::handles(control)) {
        if (CommandWiring* commands = m_window->commands())
            commands->run(control);
        return;
    }
    if (MenuBar* menu = m_window->menuBar()) {
        menu->resetItem(control);
        menu->hidePanel(QStringLiteral("Picture1"));
    }
    m_lifecycle->run(control);
}

void MainWindowParts::runShortcut(const QString& control)
{
    if (itemEnabled(control, m_window->isSourceMode()))
        runItem(control);
}

}  // namespace orvane
