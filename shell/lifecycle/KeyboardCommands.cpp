#include "KeyboardCommands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace orvane {

const QList<KeyCommand>& keyCommands()
{
    static const QList<KeyCommand> table{
        {QKeySequence(Qt::CTRL | Qt::Key_N), QStringLiteral("Label6"), false},
        {QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("Label3"), false},
        {QKeySequence(Qt::CTRL | Qt::Key_S), QStringLiteral("Label4"), false},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), QStringLiteral("Label5"), false},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), QStringLiteral("Label7"), false},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), QStringLiteral("Label8"), true},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QStringLiteral("Label9"), true},
        {QKeySequence(Qt::CTRL | Qt::Key_X), QStringLiteral("Label10"), true},
        {QKeySequence(Qt::CTRL | Qt::Key_C), QStringLiteral("Label11"), true},
        {QKeySequence(Qt::CTRL | Qt::Key_V), QStringLiteral("Label12"), true},
        {QKeySequence(Qt::CTRL | Qt::Key_A), QStringLiteral("Label13"), true},
        {QKeySequence(Qt::CTRL | Qt::Key_F), QStringLiteral("Label14"), false},
        {QKeySequence(Qt::CTRL | Qt::Key_B), QStringLiteral("Label15"), false},
        {QKeySequence(Qt::CTRL | Qt::Key_I), QStringLiteral("Label16"), false},
        {QKeySequence(Qt::CTRL | Qt::Key_U), QStringLiteral("Label17"), false},
    };
    return table;
}

const KeyCommand* keyCommandFor(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods =
        event.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const QKeySequence typed(QKeyCombination(mods, Qt::Key(event.key())));
    for (const KeyCommand& command : keyCommands())
        if (command.keys == typed)
            return &command;
    return nullptr;
}

KeyboardCommands::KeyboardCommands(QWidget* window, std::function<void(const QString&)> run)
    : m_window(window), m_run(std::move(run))
{
    // Installed on the application: it sees a key before the widget with the
    // focus does, whichever child of the window that is.
    qApp->installEventFilter(this);
}

KeyboardCommands::~KeyboardCommands()
{
    qApp->removeEventFilter(this);
}

bool KeyboardCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !m_window || widget->window() != m_window)
        return false;
    const KeyCommand* command = keyCommandFor(*static_cast<QKeyEvent*>(event));
    if (!command || (command->textEdit && qobject_cast<QLineEdit*>(widget)))
        return false;
    // The override request is withheld from the focus widget, so the key
    // arrives as a key press, which runs the command and goes no further.
    if (event->type() == QEvent::KeyPress)
        m_run(command->control);
    return true;
}

}  // namespace orvane
