#pragma once
// StyleFrm, "Create a Style": one CSS class from a name and four properties,
// written as a STYLE element at the end of the page's head, whichever mode is
// current. Each opening starts from the initial texts.

#include <QDialog>

class QComboBox;
class QLineEdit;
class mainFrm;

namespace orvane {

class StyleFrm : public QDialog {
    Q_OBJECT
public:
    explicit StyleFrm(mainFrm& main);

    // Shows a fresh dialog modally over main; returns when it closes.
    static void display(mainFrm& main);

    // "&Ok": refuses an empty name (the dialog stays open); otherwise writes
    // the class, closes, and reloads the design surface from the new text.
    void Command1_Click();

private:
    mainFrm& m_main;
    QLineEdit* m_Text1 = nullptr;   // Style Name
    QComboBox* m_Combo4 = nullptr;  // Margin Top
    QComboBox* m_Combo1 = nullptr;  // Font Family
    QComboBox* m_Combo2 = nullptr;  // Font Size
    QComboBox* m_Combo3 = nullptr;  // Color
};

}  // namespace orvane
