#include "ContextMenuLayout.h"

#include "SurfaceTypes.h"

namespace orvane {

namespace {

bool available(const StatusQuery& status, int command)
{
    return status(command) >= DECMDF_ENABLED;
}

struct FixedItem {
    const char* text;        // nullptr: separator
    int command;             // queried for the state
    ContextMenuPick pick;
};

using K = ContextMenuPick::Kind;

const FixedItem fixedItems[] = {
    {"Cut", DECMD_CUT, {K::Exec, DECMD_CUT, OLECMDEXECOPT_DODEFAULT}},
    {"Copy", DECMD_COPY, {K::Exec, DECMD_COPY, OLECMDEXECOPT_DODEFAULT}},
    {"Paste", DECMD_PASTE, {K::Exec, DECMD_PASTE, OLECMDEXECOPT_DODEFAULT}},
    {nullptr, 0, {}},
    {"Select All", DECMD_SELECTALL, {K::Exec, DECMD_SELECTALL, OLECMDEXECOPT_DODEFAULT}},
    {nullptr, 0, {}},
    {"Font...", DECMD_FONT, {K::Exec, DECMD_FONT, OLECMDEXECOPT_PROMPTUSER}},
    {"Background Color", DECMD_SETBACKCOLOR, {K::BackgroundColor, 0, 0}},
    {"Font Color", DECMD_SETFORECOLOR, {K::FontColor, 0, 0}},
    {nullptr, 0, {}},
    {"Insert Image", DECMD_IMAGE, {K::Exec, DECMD_IMAGE, OLECMDEXECOPT_DODEFAULT}},
};

ContextMenuPick exec(int command)
{
    return {K::Exec, command, OLECMDEXECOPT_DODEFAULT};
}

}  // namespace

ContextMenuLayout contextMenuLayout(const StatusQuery& status)
{
    ContextMenuLayout layout;
    layout.positionable = available(status, DECMD_MAKE_ABSOLUTE);
    layout.positioned = available(status, DECMD_SEND_TO_BACK);
    layout.inTable = available(status, DECMD_INSERTROW);
    layout.positionExtra = layout.positionable ? 2 : 0;
    layout.tableExtra = layout.inTable ? 6 : 0;
    return layout;
}

ContextMenuItems contextMenuItems(const ContextMenuLayout& layout, const StatusQuery& status)
{
    ContextMenuItems items;
    for (const FixedItem& item : fixedItems) {
        items.texts << (item.text ? QString::fromLatin1(item.text) : QString());
        items.states << (item.text && !available(status, item.command) ? 2 : 0);
    }
    auto add = [&items](const char* text) {
        items.texts << QString::fromLatin1(text);
        items.states << 0;
    };
    if (layout.positionable) {
        add("");
        add(layout.positioned ? "Make 1D" : "Make 2D");
    }
    if (layout.inTable) {
        add("");
        add("Insert Row");
        add("Insert Column");
        add("");
        add("Delete Row");
        add("Delete Column");
    }
    return items;
}

ContextMenuPick contextMenuPick(const ContextMenuLayout& layout, int index)
{
    if (index >= 0 && index <= layout.base)
        return fixedItems[index].pick;
    if (layout.positionable && index == layout.base + 2)
        return exec(DECMD_MAKE_ABSOLUTE);
    if (layout.inTable) {
        const int t = layout.tableBase();
        if (index == t + 2)
            return exec(DECMD_INSERTROW);
        if (index == t + 3)
            return exec(DECMD_INSERTCOL);
        if (index == t + 5)
            return exec(DECMD_DELETEROWS);
        if (index == t + 6)
            return exec(DECMD_DELETECOLS);
    }
    return {};
}

}  // namespace orvane
