// Which page command carries out each command identifier.
#include "SurfaceCommands.h"

#include "SurfaceTypes.h"

#include <algorithm>
#include <array>

namespace orvane::commands {

namespace {

constexpr std::array<CommandInfo, 41> Commands{{
    {DECMD_BOLD, "bold", Route::Page, false},
    {DECMD_COPY, "copy", Route::Copy, true},
    {DECMD_CUT, "cut", Route::Cut, false},
    {DECMD_DELETECOLS, "deleteCols", Route::Page, false},
    {DECMD_DELETEROWS, "deleteRows", Route::Page, false},
    {DECMD_FINDTEXT, "find", Route::Find, true},
    {DECMD_FONT, "fontAt", Route::Font, false},
    {DECMD_GETFONTNAME, "getFontName", Route::Query, false},
    {DECMD_GETFONTSIZE, "getFontSize", Route::Query, false},
    {DECMD_HYPERLINK, "makeLink", Route::Link, false},
    {DECMD_IMAGE, "putImage", Route::Image, false},
    {DECMD_INDENT, "indent", Route::Page, false},
    {DECMD_INSERTCOL, "insertCol", Route::Page, false},
    {DECMD_INSERTROW, "insertRow", Route::Page, false},
    {DECMD_INSERTTABLE, "insertTable", Route::Table, false},
    {DECMD_ITALIC, "italic", Route::Page, false},
    {DECMD_JUSTIFYCENTER, "justifyCenter", Route::Page, false},
    {DECMD_JUSTIFYLEFT, "justifyLeft", Route::Page, false},
    {DECMD_JUSTIFYRIGHT, "justifyRight", Route::Page, false},
    {DECMD_MAKE_ABSOLUTE, "makeAbsolute", Route::Page, false},
    {DECMD_MERGECELLS, "mergeCells", Route::Page, false},
    {DECMD_ORDERLIST, "orderList", Route::Page, false},
    {DECMD_OUTDENT, "outdent", Route::Page, false},
    {DECMD_PASTE, "paste", Route::Paste, false},
    {DECMD_REDO, "redo", Route::Page, false},
    {DECMD_SELECTALL, "selectAll", Route::Page, true},
    {DECMD_SEND_BACKWARD, "sendBackward", Route::Page, false},
    {DECMD_BRING_FORWARD, "bringForward", Route::Page, false},
    {DECMD_SEND_BELOW_TEXT, "sendBelowText", Route::Page, false},
    {DECMD_BRING_ABOVE_TEXT, "bringAboveText", Route::Page, false},
    {DECMD_SEND_TO_BACK, "sendToBack", Route::Page, false},
    {DECMD_BRING_TO_FRONT, "bringToFront", Route::Page, false},
    {DECMD_SETBACKCOLOR, "setBackColor", Route::Page, false},
    {DECMD_SETFONTNAME, "setFontName", Route::Page, false},
    {DECMD_SETFONTSIZE, "setFontSize", Route::Page, false},
    {DECMD_SETFORECOLOR, "setForeColor", Route::Page, false},
    {DECMD_SPLITCELL, "splitCell", Route::Page, false},
    {DECMD_UNDERLINE, "underline", Route::Page, false},
    {DECMD_UNDO, "undo", Route::Page, false},
    {DECMD_UNLINK, "unlink", Route::Page, false},
    {DECMD_UNORDERLIST, "unorderList", Route::Page, false},
}};

}  // namespace

const CommandInfo* findCommand(int id)
{
    const auto it = std::find_if(Commands.begin(), Commands.end(),
                                 [id](const CommandInfo& c) { return c.id == id; });
    return it == Commands.end() ? nullptr : &*it;
}

}  // namespace orvane::commands
