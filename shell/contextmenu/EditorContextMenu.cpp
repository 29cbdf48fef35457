#include "EditorContextMenu.h"

#include "Surface.h"
#include "PageColours.h"

namespace orvane {

EditorContextMenu::EditorContextMenu(Surface& design, PageColours& colours, QObject* parent)
    : QObject(parent), m_design(design), m_colours(colours)
{
    connect(&design, &Surface::ShowContextMenu, this, [this] { DHTMLEdit1_ShowContextMenu(); });
    connect(&design, &Surface::ContextMenuAction, this,
            [this](int index) { DHTMLEdit1_ContextMenuAction(index); });
}

void EditorContextMenu::DHTMLEdit1_ShowContextMenu()
{
    const StatusQuery status = [this](int command) {
        try {
            return m_design.QueryStatus(command);
        } catch (const SurfaceError&) {
            return int(DECMDF_DISABLED);
        }
    };
    m_layout = contextMenuLayout(status);
    const ContextMenuItems items = contextMenuItems(m_layout, status);
    m_design.SetContextMenu(items.texts, items.states);
}

void EditorContextMenu::DHTMLEdit1_ContextMenuAction(int index)
{
    const ContextMenuPick pick = contextMenuPick(m_layout, index);
    switch (pick.kind) {
    case ContextMenuPick::Kind::None:
        return;
    case ContextMenuPick::Kind::BackgroundColor:
        m_colours.choose(PageColours::Colour::Background);
        return;
    case ContextMenuPick::Kind::FontColor:
        m_colours.choose(PageColours::Colour::Font);
        return;
    case ContextMenuPick::Kind::Exec:
        try {
            m_design.ExecCommand(pick.command, pick.option);
        } catch (const SurfaceError&) {
            // The command no longer applies at the selection.
        }
        return;
    }
}

}  // namespace orvane
