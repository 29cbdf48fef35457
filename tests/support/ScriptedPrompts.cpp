#include "ScriptedPrompts.h"

namespace orvane {

namespace {
QString shownTitle(const QString& title)
{
    return title.isEmpty() ? QString::fromLatin1(applicationTitle()) : title;
}
}  // namespace

ScriptedPrompts::ScriptedPrompts() { setPrompts(this); }
ScriptedPrompts::~ScriptedPrompts() { setPrompts(nullptr); }

ScriptedPrompts& ScriptedPrompts::answerInput(const QString& text)
{
    m_queue << Answer(InputAnswer{true, text});
    return *this;
}
ScriptedPrompts& ScriptedPrompts::cancelInput()
{
    m_queue << Answer(InputAnswer{false, QString()});
    return *this;
}
ScriptedPrompts& ScriptedPrompts::answerMessage(MsgResult result)
{
    m_queue << Answer(result);
    return *this;
}
ScriptedPrompts& ScriptedPrompts::answerFile(const QString& path, int filterIndex)
{
    m_queue << Answer(FileAnswer{true, path, filterIndex});
    return *this;
}
ScriptedPrompts& ScriptedPrompts::cancelFile()
{
    m_queue << Answer(FileAnswer{false, QString(), 1});
    return *this;
}
ScriptedPrompts& ScriptedPrompts::answerColor(const QColor& color)
{
    m_queue << Answer(ColorAnswer{true, color});
    return *this;
}
ScriptedPrompts& ScriptedPrompts::cancelColor()
{
    m_queue << Answer(ColorAnswer{false, QColor()});
    return *this;
}

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

template <typename T> bool ScriptedPrompts::take(T& out, const QString& what)
{
    if (!m_queue.isEmpty() && std::holds_alternative<T>(m_queue.first())) {
        out = std::get<T>(m_queue.takeFirst());
        return true;
    }
    m_unexpected << what;
    return false;
}

InputAnswer ScriptedPrompts::inputBox(const QString& prompt, const QString& title,
                                      const QString& defaultText, InputEcho echo)
{
    Asked a{Kind::Input, prompt, shownTitle(title), defaultText, echo};
    m_asked << a;
    InputAnswer answer;
    take(answer, QStringLiteral("input: ") + prompt);
    return answer;
}

MsgResult ScriptedPrompts::messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                                      const QString& title)
{
    Asked a{Kind::Message, text, shownTitle(title)};
    a.buttons = buttons;
    a.icon = icon;
    m_asked << a;
    // Boxes with only an OK button need no scripted answer.
    if (buttons == MsgButtons::OK)
        return MsgResult::OK;
    MsgResult result = MsgResult::Cancel;
    take(result, QStringLiteral("message: ") + text);
    return result;
}

void ScriptedPrompts::beep() { m_asked << Asked{Kind::Beep}; }

FileAnswer ScriptedPrompts::openFile(const FileRequest& request)
{
    Asked a{Kind::OpenFile, QString(), request.title};
    a.file = request;
    m_asked << a;
    FileAnswer answer;
    take(answer, QStringLiteral("open file"));
    return answer;
}

FileAnswer ScriptedPrompts::saveFile(const FileRequest& request)
{
    Asked a{Kind::SaveFile, QString(), request.title};
    a.file = request;
    m_asked << a;
    FileAnswer answer;
    take(answer, QStringLiteral("save file"));
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
