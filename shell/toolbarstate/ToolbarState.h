#pragma once
// The side bar's formatting buttons and font boxes following the selection of
// the design surface, and the font boxes' own events.

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <functional>

class QComboBox;

namespace orvane {

class SourcePane;
class Surface;

class ToolbarState : public QObject {
    Q_OBJECT
public:
    // The six buttons whose look follows the selection, each with its command.
    struct LatchButton {
        const char* name;
        int command;
    };
    static const LatchButton kLatchButtons[6];

    // setLook gives the named button the pressed (true) or flat look.
    ToolbarState(Surface& design, SourcePane& rch, QComboBox& fontCombo, QComboBox& fontSizeCombo,
                 std::function<bool()> isSourceMode,
                 std::function<void(const QString& button, bool pressed)> setLook,
                 QObject* parent = nullptr);

    // False until the design surface completed its first document; the font
    // boxes send nothing to the surface before that.
    bool documentReady() const { return m_documentReady; }

    void DHTMLEdit1_DisplayChanged();
    void DHTMLEdit1_DocumentComplete();
    void RefreshFontBoxes();

    void FontCombo_Click();
    void FontCombo_KeyUp(int key);
    void FontSizeCombo_Click();
    void FontSizeCombo_KeyUp(int key);

signals:
    void documentReadyChanged(bool ready);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int status(int command);
    bool available(int command) { return status(command) >= 3; }
    void refreshBox(QComboBox& box, int getCommand, const std::function<QString(const QVariant&)>& shown);
    void sendToSelection(int command, const QVariant& value);

    Surface& m_design;
    SourcePane& m_rch;
    QComboBox& m_fontCombo;
    QComboBox& m_fontSizeCombo;
    std::function<bool()> m_isSourceMode;
    std::function<void(const QString&, bool)> m_setLook;
    bool m_documentReady = false;
};

}  // namespace orvane
