#include "ToolbarState.h"

#include "FontSizeEntry.h"
#include "Surface.h"
#include "SourcePane.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace orvane {

const ToolbarState::LatchButton ToolbarState::kLatchButtons[6] = {
    {"right", DECMD_JUSTIFYRIGHT}, {"center", DECMD_JUSTIFYCENTER}, {"left1", DECMD_JUSTIFYLEFT},
    {"underline", DECMD_UNDERLINE}, {"italics", DECMD_ITALIC},      {"bold", DECMD_BOLD},
};

ToolbarState::ToolbarState(Surface& design, SourcePane& rch, QComboBox& fontCombo,
                           QComboBox& fontSizeCombo, std::function<bool()> isSourceMode,
                           std::function<void(const QString&, bool)> setLook, QObject* parent)
    : QObject(parent), m_design(design), m_rch(rch), m_fontCombo(fontCombo),
      m_fontSizeCombo(fontSizeCombo), m_isSourceMode(std::move(isSourceMode)),
      m_setLook(std::move(setLook))
{
    connect(&design, &Surface::DisplayChanged, this, &ToolbarState::DHTMLEdit1_DisplayChanged);
    connect(&design, &Surface::DocumentComplete, this, &ToolbarState::DHTMLEdit1_DocumentComplete);
    connect(&fontCombo, &QComboBox::activated, this, &ToolbarState::FontCombo_Click);
    connect(&fontSizeCombo, &QComboBox::activated, this, &ToolbarState::FontSizeCombo_Click);
    for (QComboBox* box : {&fontCombo, &fontSizeCombo}) {
        // A face or size can be typed; Enter only reports the key: it neither
        // adds the typed text to the list nor picks an entry, which would run
        // the box's click as well.
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        box->lineEdit()->installEventFilter(this);
    }
}

bool ToolbarState::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == m_fontCombo.lineEdit())
            FontCombo_KeyUp(key);
        else if (watched == m_fontSizeCombo.lineEdit())
            FontSizeCombo_KeyUp(key);
    }
    return false;
}

int ToolbarState::status(int command)
{
    try {
        return m_design.QueryStatus(command);
    } catch (const SurfaceError&) {
        return DECMDF_DISABLED;
    }
}

void ToolbarState::DHTMLEdit1_DisplayChanged()
{
    for (const LatchButton& button : kLatchButtons)
        m_setLook(QString::fromLatin1(button.name), status(button.command) == DECMDF_LATCHED);
    RefreshFontBoxes();
}

// Each box is refreshed on its own; a query that fails leaves that box as it was.
void ToolbarState::RefreshFontBoxes()
{
    refreshBox(m_fontCombo, DECMD_GETFONTNAME, [](const QVariant& name) { return name.toString(); });
    refreshBox(m_fontSizeCombo, DECMD_GETFONTSIZE, [](const QVariant& size) {
        return size.toInt() < 1 ? QString() : QString::number(size.toInt());
    });
}

// The box shows the selection's value; where the command is unavailable it is
// emptied, and enabled only when the selection mixes values.
void ToolbarState::refreshBox(QComboBox& box, int getCommand,
                              const std::function<QString(const QVariant&)>& shown)
{
    try {
        const int state = status(getCommand);
        if (state == DECMDF_ENABLED || state == DECMDF_LATCHED) {
            box.setEditText(shown(m_design.ExecCommand(getCommand, OLECMDEXECOPT_DONTPROMPTUSER)));
            box.setEnabled(true);
        } else {
            box.setEditText(QString());
            box.setEnabled(state == DECMDF_NINCHED);
        }
    } catch (const SurfaceError&) {
    }
}

void ToolbarState::DHTMLEdit1_DocumentComplete()
{
    if (!m_documentReady) {
        RefreshFontBoxes();
        m_fontSizeCombo.setCurrentIndex(-1);
    }
    m_documentReady = true;
    emit documentReadyChanged(true);
}

void ToolbarState::FontCombo_Click()
{
    if (m_isSourceMode()) {
        m_rch.setSelText(QStringLiteral("<FONT FACE=\"") + m_fontCombo.currentText()
                         + QStringLiteral("\">    </FONT>"));
        return;
    }
    sendToSelection(DECMD_SETFONTNAME, m_fontCombo.itemText(m_fontCombo.currentIndex()));
}

void ToolbarState::FontCombo_KeyUp(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        sendToSelection(DECMD_SETFONTNAME, m_fontCombo.currentText());
}

void ToolbarState::FontSizeCombo_Click()
{
    sendToSelection(DECMD_SETFONTSIZE, m_fontSizeCombo.currentIndex() + 1);
}

// Nothing reaches the page before its first document is complete.
void ToolbarState::sendToSelection(int command, const QVariant& value)
{
    if (!m_documentReady || !available(command))
        return;
    try {
        m_design.ExecCommand(command, OLECMDEXECOPT_DONTPROMPTUSER, value);
    } catch (const SurfaceError&) {
    }
}

void ToolbarState::FontSizeCombo_KeyUp(int key)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || !m_documentReady)
        return;
    const int state = status(DECMD_SETFONTSIZE);
    if (state < DECMDF_ENABLED)
        return;
    try {
        const FontSizeEntry entry = fontSizeEntry(m_fontSizeCombo.currentText(), state, [this] {
            return m_design.ExecCommand(DECMD_GETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER).toInt();
        });
        if (entry.apply)
            m_design.ExecCommand(DECMD_SETFONTSIZE, OLECMDEXECOPT_DONTPROMPTUSER, entry.boxText);
        else
            m_fontSizeCombo.setEditText(entry.boxText);
    } catch (const SurfaceError&) {
    }
}

}  // namespace orvane
