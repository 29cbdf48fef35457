#pragma once
// Prompts for tests: answers come from a queue, in order, and every question
// asked is recorded. A question with no queued answer of its kind is recorded in
// unexpected() and answered as if cancelled, so a test sees it instead of hanging.
// Message boxes with only an OK button are recorded and need no queued answer.

#include "Prompts.h"

#include <QList>
#include <QStringList>
#include <variant>

namespace orvane {

class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Input, Message, Beep, OpenFile, SaveFile, Color };

    struct Asked {
        Kind kind;
        QString text;          // prompt or message text
        QString title;         // the title shown (applicationTitle() for an empty one)
        QString defaultText;   // input box default
        InputEcho echo = InputEcho::Normal;
        MsgButtons buttons = MsgButtons::OK;
        MsgIcon icon = MsgIcon::None;
        FileRequest file;      // file dialogs
        QColor color;          // colour dialog's initial colour
    };

    ScriptedPrompts();   // installs itself with setPrompts()
    ~ScriptedPrompts() override;  // restores the default Prompts

    // Queue answers, in the order the questions will come.
    ScriptedPrompts& answerInput(const QString& text);   // OK with this text
    ScriptedPrompts& cancelInput();
    ScriptedPrompts& answerMessage(MsgResult result);
    ScriptedPrompts& answerFile(const QString& path, int filterIndex = 1);
    ScriptedPrompts& cancelFile();
    ScriptedPrompts& answerColor(const QColor& color);
    ScriptedPrompts& cancelColor();

    const QList<Asked>& asked() const { return m_asked; }
    QList<Asked> messages() const;       // only the message boxes
    QStringList unexpected() const { return m_unexpected; }
    int pending() const { return int(m_queue.size()); }
    void clear();

    InputAnswer inputBox(const QString& prompt, const QString& title, const QString& defaultText,
                         InputEcho echo) override;
    MsgResult messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                         const QString& title) override;
    void beep() override;
    FileAnswer openFile(const FileRequest& request) override;
    FileAnswer saveFile(const FileRequest& request) override;
    ColorAnswer chooseColor(const QColor& initial, const QString& title) override;

private:
    using Answer = std::variant<InputAnswer, MsgResult, FileAnswer, ColorAnswer>;
    template <typename T> bool take(T& out, const QString& what);

    QList<Answer> m_queue;
    QList<Asked> m_asked;
    QStringList m_unexpected;
};

}  // namespace orvane
