#pragma once
#include "Prompts.h"

namespace orvane {

// Prompts shown with Qt's own dialogs, parented to the active window.
class QtPrompts : public Prompts {
public:
    InputAnswer inputBox(const QString& prompt, const QString& title, const QString& defaultText,
                         InputEcho echo) override;
    MsgResult messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                         const QString& title) override;
    void beep() override;
    FileAnswer openFile(const FileRequest& request) override;
    FileAnswer saveFile(const FileRequest& request) override;
    ColorAnswer chooseColor(const QColor& initial, const QString& title) override;
};

}  // namespace orvane
