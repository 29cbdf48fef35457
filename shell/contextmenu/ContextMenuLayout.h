#pragma once
// The design surface's context menu as data: which groups it has, the item
// texts and states handed to the surface, and what a picked index does.
// Commands count as available when their query state is 3 or more.

#include <QList>
#include <QStringList>
#include <functional>

namespace orvane {

// Answers QueryStatus for a command identifier.
using StatusQuery = std::function<int(int command)>;

struct ContextMenuLayout {
    bool positionable = false;  // MAKE_ABSOLUTE available
    bool positioned = false;    // SEND_TO_BACK available: already absolutely positioned
    bool inTable = false;       // INSERTROW available
    int base = 10;              // index of the last fixed item
    int positionExtra = 0;      // 2 when positionable
    int tableExtra = 0;         // 6 when in table

    int tableBase() const { return base + positionExtra; }
    int itemCount() const { return base + positionExtra + tableExtra + 1; }
};

struct ContextMenuItems {
    QStringList texts;  // an empty text is a separator
    QList<int> states;  // 2 greyed, 0 normal
};

// What picking an item does.
struct ContextMenuPick {
    enum class Kind { None, Exec, BackgroundColor, FontColor };
    Kind kind = Kind::None;
    int command = 0;
    int option = 0;
};

ContextMenuLayout contextMenuLayout(const StatusQuery& status);
ContextMenuItems contextMenuItems(const ContextMenuLayout& layout, const StatusQuery& status);
// The action of the item at index in the menu laid out by layout.
ContextMenuPick contextMenuPick(const ContextMenuLayout& layout, int index);

}  // namespace orvane
