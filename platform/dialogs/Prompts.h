#pragma once
// The prompt seam: every input box, message box, beep, file dialog and colour
// dialog of the program and of the FTP control goes through one Prompts object.
// The program uses QtPrompts; tests install ScriptedPrompts, which answers in
// order and records what was asked.

#include <QColor>
#include <QString>

namespace orvane {

// Message box icons and buttons, with the values the program's message boxes use.
enum class MsgIcon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum class MsgButtons { OK = 0, OKCancel = 1, YesNoCancel = 3, YesNo = 4 };
enum class MsgResult { OK = 1, Cancel = 2, Yes = 6, No = 7 };

// Whether an input box shows what is typed.
enum class InputEcho { Normal, Password };

struct InputAnswer {
    bool accepted = false;  // false when the user cancelled
    QString text;           // empty after Cancel, as the program's input boxes give
};

struct FileRequest {
    QString title;
    QString filter;         // as the program writes it, e.g. "HTML |*.htm| ASP | *.asp"
    int filterIndex = 1;    // 1-based
    QString fileName;       // initial name or folder
};

struct FileAnswer {
    bool accepted = false;
    QString path;           // full path of the chosen file
    int filterIndex = 1;    // 1-based filter entry chosen
};

struct ColorAnswer {
    bool accepted = false;
    QColor color;
};

// The title a message box shows when it is given none.
inline const char* applicationTitle() { return "orvane"; }

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual InputAnswer inputBox(const QString& prompt, const QString& title,
                                 const QString& defaultText = {},
                                 InputEcho echo = InputEcho::Normal) = 0;
    // An empty title shows applicationTitle().
    virtual MsgResult messageBox(const QString& text, MsgButtons buttons = MsgButtons::OK,
                                 MsgIcon icon = MsgIcon::None, const QString& title = {}) = 0;
    virtual void beep() = 0;
    virtual FileAnswer openFile(const FileRequest& request) = 0;
    virtual FileAnswer saveFile(const FileRequest& request) = 0;
    virtual ColorAnswer chooseColor(const QColor& initial, const QString& title = {}) = 0;
};

// The Prompts in use. Defaults to a QtPrompts owned by the library.
Prompts& prompts();
// Installs p (not owned) as the Prompts in use; nullptr restores the default.
void setPrompts(Prompts* p);

// Converts the program's filter notation ("HTML |*.htm| ASP | *.asp") to Qt's
// ("HTML (*.htm);;ASP (*.asp)").
QString toQtFilter(const QString& filter);

}  // namespace orvane
