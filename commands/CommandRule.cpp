#include "CommandRule.h"

#include "Catalogue.h"

#include <exception>
#include <functional>

namespace orvane {

QString fillFragment(const QString& text, const QStringList& answers)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('{')) {
            const qsizetype close = text.indexOf(QLatin1Char('}'), i + 1);
            bool isNumber = false;
            const int n = close > i ? text.mid(i + 1, close - i - 1).toInt(&isNumber) : 0;
            if (isNumber && n >= 1 && n <= answers.size()) {
                out += answers[n - 1];
                i = close;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

void CommandRule::closeItem(const Command& command)
{
    m_host.resetItem(command.control);
    m_host.hidePanel(command.panel);
}

void CommandRule::run(const Command& command)
{
    const std::optional<Branch>& chosen = command.always ? command.always
        : m_host.isSourceMode()                          ? command.source
                                                         : command.edit;
    if (!chosen)
        return;
    const Branch& branch = *chosen;
    bool going = true;
    const auto step = [&](const std::function<void()>& fn) {
        if (!going)
            return;
        try {
            fn();
        } catch (const std::exception&) {
            if (!command.skipErrors)
                going = false;
        }
    };

    if (branch.closeFirst)
        step([&] { closeItem(command); });
    if (branch.refusal) {
        const CommandMessage& m = *branch.refusal;
        prompts().messageBox(m.text, m.buttons, m.icon, m.title);
        return;
    }
    if (branch.notice) {
        const CommandMessage& m = *branch.notice;
        step([&] { prompts().messageBox(m.text, m.buttons, m.icon, m.title); });
    }
    QStringList answers;
    for (const Question& q : branch.questions)
        step([&] { answers << prompts().inputBox(q.prompt, q.title, q.defaultText).text; });

    act(branch.action, answers, step);

    switch (branch.focus) {
    case Focus::None: break;
    case Focus::Surface: step([&] { m_host.focusSurface(); }); break;
    case Focus::Source: step([&] { m_host.focusSource(); }); break;
    }
    switch (branch.after) {
    case After::Keep: break;
    case After::ResetItem: step([&] { m_host.resetItem(command.control); }); break;
    case After::Close: step([&] { closeItem(command); }); break;
    }
}

void CommandRule::act(const Action& action, const QStringList& answers,
                      const std::function<void(const std::function<void()>&)>& step)
{
    using K = Action::Kind;
    switch (action.kind) {
    case K::None:
        break;
    case K::Insert:
        for (const QString& f : action.fragments)
            step([&] { m_host.insertSource(fillFragment(f, answers)); });
        break;
    case K::InsertImage: {
        QStringList title;
        step([&] { title << m_host.chooseFileTitle(); });
        for (const QString& f : action.fragments)
            step([&] { m_host.insertSource(fillFragment(f, title)); });
        break;
    }
    case K::SelectAll: step([&] { m_host.selectAllSource(); }); break;
    case K::Find: step([&] { m_host.findSource(answers.value(0)); }); break;
    case K::SourceCut: step([&] { m_host.cutSource(); }); break;
    case K::SourceCopy: step([&] { m_host.copySource(); }); break;
    case K::SourcePaste: step([&] { m_host.pasteSource(); }); break;
    case K::SourceUndo: step([&] { m_host.undoSource(); }); break;
    case K::Exec: step([&] { m_host.execCommand(action.command, action.option); }); break;
    case K::Paste:
        step([&] { m_host.pasteHtml(fillFragment(action.fragments.value(0), answers)); });
        break;
    case K::OpenWindow: step([&] { m_host.openWindow(action.window); }); break;
    }
}

}  // namespace orvane
