#pragma once
// The command rule: how every command of the menus and the toolbar runs, given
// its row of data (Command.h) and the main window (CommandHost.h).

#include "Command.h"
#include "CommandHost.h"

#include <QStringList>
#include <functional>

namespace orvane {

// Replaces each "{n}" in text by answers[n - 1] in one pass, so an answer that
// itself holds "{2}" is inserted as typed. Unknown placeholders stay as they are.
QString fillFragment(const QString& text, const QStringList& answers);

class CommandRule {
public:
    explicit CommandRule(CommandHost& host) : m_host(host) {}

    // Runs one click of the command. Never throws: a failing step is skipped or
    // ends the command, as the row says.
    void run(const Command& command);

private:
    void closeItem(const Command& command);
    void act(const Action& action, const QStringList& answers,
             const std::function<void(const std::function<void()>&)>& step);

    CommandHost& m_host;
};

}  // namespace orvane
