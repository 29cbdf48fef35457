#pragma once
// The standard shortcuts of the main window. Each runs the command of a menu
// item, exactly as a click on the item does; the key itself is consumed, so
// the source pane and the design surface never act on it as well.

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

namespace orvane {

struct KeyCommand {
    QKeySequence keys;
    QString control;  // objectName of the menu item whose command runs
    bool textEdit;    // an editing key that a line edit (the font boxes) keeps for itself
};

const QList<KeyCommand>& keyCommands();

// The command for a key event, or nullptr.
const KeyCommand* keyCommandFor(const QKeyEvent& event);

class KeyboardCommands : public QObject {
    Q_OBJECT
public:
    // Watches the keys typed anywhere in window; run(control) runs a command.
    KeyboardCommands(QWidget* window, std::function<void(const QString& control)> run);
    ~KeyboardCommands() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    std::function<void(const QString&)> m_run;
};

}  // namespace orvane
