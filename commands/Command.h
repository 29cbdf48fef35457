#pragma once
// One command of the menus and the toolbar, as data. The command rule
// (CommandRule.h) runs every row the same way; a row only says what differs.

#include "Prompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvane {

// A message box shown by a command: a refusal, or a hint before a window opens.
struct CommandMessage {
    QString text;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    QString title;  // empty: the application title
};

// An input box asked before the action; its answer fills "{n}" (1-based, in
// the order asked) in the action's fragments.
struct Question {
    QString prompt;
    QString title;
    QString defaultText;
};

// What a branch does once its questions are answered.
struct Action {
    enum class Kind {
        None,            // nothing (a branch that only refuses or closes)
        Insert,          // assign each fragment in turn to the source pane's selected text
        InsertImage,     // ask for a file, insert fragments with "{1}" = its name without folder
        SelectAll,       // select the whole source text
        Find,            // select the first case-insensitive match of answer 1
        SourceCut, SourceCopy, SourcePaste, SourceUndo,  // the source pane's own operations
        Exec,            // the design surface's ExecCommand(command, option)
        Paste,           // paste fragments[0] over the design surface's selection
        OpenWindow,      // show the named window modally
    };
    Kind kind = Kind::None;
    QStringList fragments;
    int command = 0;
    int option = 0;
    QString window;
};

enum class Focus { None, Surface, Source };

// What happens to the clicked menu item and its panel after the action.
enum class After {
    Keep,       // item and panel untouched
    ResetItem,  // item back to black, panel stays open
    Close,      // item back to black, panel hidden
};

// The behaviour in one mode, as a sequence of optional steps run in this order:
// close first, refuse, notice, questions, action, focus, after.
struct Branch {
    bool closeFirst = false;
    std::optional<CommandMessage> refusal;  // show it and stop
    std::optional<CommandMessage> notice;   // show it, then go on
    QList<Question> questions;
    Action action;
    Focus focus = Focus::None;
    After after = After::Keep;
};

struct Command {
    QString control;   // objectName of the menu item, header or toolbar control
    QString caption;   // menu caption, or the tooltip of a toolbar control
    QString panel;     // the item's menu panel; empty for toolbar controls and headers
    // A row with `always` never tests the mode. Otherwise the mode flag picks
    // `source` (source pane shown) or `edit`.
    std::optional<Branch> always;
    std::optional<Branch> source;
    std::optional<Branch> edit;
    // Skipping: each step that fails is passed over and the next one runs.
    // Otherwise the first failing step ends the command.
    bool skipErrors = false;
};

}  // namespace orvane
