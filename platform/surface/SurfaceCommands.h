#pragma once
// The surface's command set, shared by the files that implement
// Surface::ExecCommand, QueryStatus and SetContextMenu: which page command
// serves each identifier, the surface's own dialogs and the clipboard.

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QVariant>
#include <functional>

class QWebEngineView;

namespace orvane {

class Surface;

namespace commands {

// How a command identifier is carried out.
enum class Route {
    Page,        // the page command of the same name does it all
    Query,       // a page command that answers a value (GETFONTNAME, GETFONTSIZE)
    Copy, Cut, Paste,
    Find, Link, Image, Font,
    Table,       // INSERTTABLE with its table parameters
};

struct CommandInfo {
    int id;
    const char* page;     // the page command (orv.cmd registry name), also asked for the status
    Route route;
    bool readOnly;        // also works on a read-only surface
};

// The command behind an identifier, or nullptr when it is not supported.
const CommandInfo* findCommand(int id);

// Runs a page command; answers {changed, value}; throws SurfaceError when the
// command cannot act.
using PageCommand = std::function<QJsonObject(const char* name, const QJsonValue& arg)>;

// Dialog-driven commands. option is the ExecCommand option: with
// OLECMDEXECOPT_DONTPROMPTUSER the value gives the answer instead. Each
// answers whether the page changed; a cancelled dialog changes nothing.
bool findText(const PageCommand& page, int option, const QVariant& value);
bool hyperlink(const PageCommand& page, int option, const QVariant& value);
bool image(const PageCommand& page, int option, const QVariant& value);
bool font(const PageCommand& page, int option);

// Clipboard commands.
void copyToClipboard(const QJsonObject& selection);
bool clipboardHasContent();
// The clipboard's content as an HTML fragment to paste (empty when none).
QString clipboardFragment();

// Asks the page for its state without waiting, then runs the callback.
using RefreshState = std::function<void(std::function<void()> then)>;

// Hooks the view's context menu so a right click emits ShowContextMenu once
// the page's state after the click is known (the click has placed the caret
// by then), and SetContextMenu pops up the program's menu. Called once per
// surface.
void attachContextMenu(Surface* surface, QWebEngineView* view, RefreshState refresh);
void showContextMenu(Surface* surface, const QStringList& texts, const QList<int>& states);

}  // namespace commands
}  // namespace orvane
