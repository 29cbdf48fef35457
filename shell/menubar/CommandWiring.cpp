#include "CommandWiring.h"

#include "Catalogue.h"
#include "SourcePane.h"
#include "MenuBar.h"
#include "Toolbar.h"

#include "Surface.h"
#include "Prompts.h"

#include <QFileInfo>

namespace orvane {

CommandWiring::CommandWiring(MenuBar* menuBar, Toolbar* toolbar, Surface* designSurface,
                             SourcePane* rch, std::function<bool()> isSourceMode, QObject* parent)
    : QObject(parent), m_menuBar(menuBar), m_surface(designSurface), m_rch(rch),
      m_isSourceMode(std::move(isSourceMode)), m_rule(*this)
{
    connect(menuBar, &MenuBar::itemClicked, this, &CommandWiring::run);
    connect(toolbar, &Toolbar::clicked, this, &CommandWiring::run);
}

void CommandWiring::setWindow(const QString& window, std::function<void()> show)
{
    m_windows.insert(window, std::move(show));
}

void CommandWiring::run(const QString& control)
{
    if (const Command* command = findCommand(control))
        m_rule.run(*command);
}

bool CommandWiring::isSourceMode() const { return m_isSourceMode(); }

void CommandWiring::insertSource(const QString& text) { m_rch->setSelText(text); }

void CommandWiring::selectAllSource()
{
    m_rch->setSelStart(0);
    m_rch->setSelLength(m_rch->TextLength());
}

// An empty word (a cancelled question) searches nothing and keeps the selection.
void CommandWiring::findSource(const QString& word)
{
    if (!word.isEmpty())
        m_rch->Find(word, 0, m_rch->TextLength());
}

void CommandWiring::cutSource() { m_rch->cut(); }
void CommandWiring::copySource() { m_rch->copy(); }
void CommandWiring::pasteSource() { m_rch->paste(); }
void CommandWiring::undoSource() { m_rch->undo(); }
void CommandWiring::focusSource() { m_rch->setFocus(); }

void CommandWiring::execCommand(int command, int option) { m_surface->ExecCommand(command, option); }

void CommandWiring::pasteHtml(const QString& html)
{
    m_surface->DOM().selection().createRange().pasteHTML(html);
}

void CommandWiring::focusSurface() { m_surface->setFocus(); }

// The dialog the page's files go through: it shows the filter the last file
// command left and remembers the file chosen here for them.
QString CommandWiring::chooseFileTitle()
{
    FileDialogState& dialog = m_surface->document().CommonDialog1();
    const FileAnswer chosen =
        prompts().openFile({QString(), dialog.filter, dialog.filterIndex, dialog.fileName});
    if (chosen.accepted && !chosen.path.isEmpty()) {
        dialog.fileName = chosen.path;
        dialog.filterIndex = chosen.filterIndex;
    }
    return QFileInfo(dialog.fileName).fileName();
}
void CommandWiring::resetItem(const QString& item) { m_menuBar->resetItem(item); }
void CommandWiring::hidePanel(const QString& panel) { m_menuBar->hidePanel(panel); }

void CommandWiring::openWindow(const QString& window)
{
    if (const auto show = m_windows.value(window))
        show();
}

}  // namespace orvane
