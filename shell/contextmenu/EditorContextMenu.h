#pragma once
// The design surface's context menu: answers ShowContextMenu with the item
// lists for the selection and runs the item picked (ContextMenuAction).

#include "ContextMenuLayout.h"

#include <QObject>

namespace orvane {

class PageColours;
class Surface;

class EditorContextMenu : public QObject {
    Q_OBJECT
public:
    EditorContextMenu(Surface& design, PageColours& colours, QObject* parent = nullptr);

    void DHTMLEdit1_ShowContextMenu();
    void DHTMLEdit1_ContextMenuAction(int index);

    const ContextMenuLayout& layout() const { return m_layout; }

private:
    Surface& m_design;
    PageColours& m_colours;
    ContextMenuLayout m_layout;
};

}  // namespace orvane
