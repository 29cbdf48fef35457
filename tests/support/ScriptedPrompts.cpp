#include "ScriptedPrompts.h"

namespace orvane {

QList<ScriptedPrompts::Asked> ScriptedPrompts::messages() const
{
    QList<Asked> out;
    for (const Asked& a : m_asked)
        if (a.kind == Kind::Message)
            out << a;
    return out;
}

void ScriptedPrompts::clear()
{
    m_queue.clear();
    m_asked.clear();
    m_unexpected.clear();
}

template <typename T> void ScriptedPrompts::take(T& out, const QString& what)
{
    if (!m_queue.isEmpty() && std::holds_alternative<T>(m_queue.first()))
        out = std::get<T>(m_queue.takeFirst());
    else
        m_unexpected << what;
}

InputAnswer ScriptedPrompts::inputBox(const QString& prompt, const QString& title,
                                      const QString& defaultText, InputEcho echo)
{
    const QString shown = title.isEmpty() ? QString::fromLatin1(applicationTitle()) : title;
    m_asked << Asked{Kind::Input, prompt, shown, defaultText, echo};
    InputAnswer answer;
    take(answer, QStringLiteral("input: ") + prompt);
    return answer;
}

MsgResult ScriptedPrompts::messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                                      const QString& title)
{
    const QString shown = title.isEmpty() ? QString::fromLatin1(applicationTitle()) : title;
    m_asked << Asked{Kind::Message, text, shown, {}, InputEcho::Normal, buttons, icon};
    MsgResult result = MsgResult::OK;  // a box with only OK needs no scripted answer
    if (buttons != MsgButtons::OK) {
        result = MsgResult::Cancel;
        take(result, QStringLiteral("message: ") + text);
    }
    return result;
}

FileAnswer ScriptedPrompts::fileDialog(Kind kind, const FileRequest& request)
{
    Asked a{kind, QString(), request.title};
    a.file = request;
    m_asked << a;
    FileAnswer answer;
    take(answer, kind == Kind::OpenFile ? QStringLiteral("open file") : QStringLiteral("save file"));
    return answer;
}

ColorAnswer ScriptedPrompts::chooseColor(const QColor& initial, const QString& title)
{
    Asked a{Kind::Color, QString(), title};
    a.color = initial;
    m_asked << a;
    ColorAnswer answer{false, initial};
    take(answer, QStringLiteral("colour"));
    return answer;
}

}  // namespace orvane
