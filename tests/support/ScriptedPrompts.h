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

    ScriptedPrompts() { setPrompts(this); }
    // Restores the default Prompts, unless a newer answerer has taken over.
    ~ScriptedPrompts() override { if (&prompts() == this) setPrompts(nullptr); }

    // Queue answers, in the order the questions will come.
    ScriptedPrompts& answerInput(const QString& text) { return queue(InputAnswer{true, text}); }
    ScriptedPrompts& cancelInput() { return queue(InputAnswer{false, QString()}); }
    ScriptedPrompts& answerMessage(MsgResult result) { return queue(result); }
    ScriptedPrompts& answerFile(const QString& path, int filter = 1) { return queue(FileAnswer{true, path, filter}); }
    ScriptedPrompts& cancelFile() { return queue(FileAnswer{false, QString(), 1}); }
    ScriptedPrompts& answerColor(const QColor& color) { return queue(ColorAnswer{true, color}); }
    ScriptedPrompts& cancelColor() { return queue(ColorAnswer{false, QColor()}); }

    const QList<Asked>& asked() const { return m_asked; }
    QList<Asked> messages() const;  // only the message boxes
    QStringList unexpected() const { return m_unexpected; }
    int pending() const { return int(m_queue.size()); }
    void clear();

    InputAnswer inputBox(const QString& prompt, const QString& title, const QString& defaultText,
                         InputEcho echo) override;
    MsgResult messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                         const QString& title) override;
    void beep() override { m_asked << Asked{Kind::Beep}; }
    FileAnswer openFile(const FileRequest& request) override { return fileDialog(Kind::OpenFile, request); }
    FileAnswer saveFile(const FileRequest& request) override { return fileDialog(Kind::SaveFile, request); }
    ColorAnswer chooseColor(const QColor& initial, const QString& title) override;

private:
    using Answer = std::variant<InputAnswer, MsgResult, FileAnswer, ColorAnswer>;
    ScriptedPrompts& queue(Answer answer)
    {
        m_queue << answer;
        return *this;
    }
    // The next answer when it is of this kind; otherwise what stands noted as unexpected.
    template <typename T> void take(T& out, const QString& what);
    FileAnswer fileDialog(Kind kind, const FileRequest& request);

    QList<Answer> m_queue;
    QList<Asked> m_asked;
    QStringList m_unexpected;
};

}  // namespace orvane
