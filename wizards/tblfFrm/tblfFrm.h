#pragma once
// tblfFrm, "Table - format": asks for the columns, the rows and the two
// attribute texts, then inserts an empty table: as HTML text over the source
// pane's selection in Source mode, through the design surface's own
// insert-table command otherwise. Each opening starts from the initial texts.

#include <QDialog>

class QLineEdit;
class mainFrm;

namespace orvane {

class tblfFrm : public QDialog {
    Q_OBJECT
public:
    explicit tblfFrm(mainFrm& main);

    // Shows a fresh dialog modally over main; returns when it closes.
    static void display(mainFrm& main);

    // OK: refuses a bad count with a message (the dialog stays open), else
    // inserts the table and closes.
    void Command1_Click();

private:
    bool insertOnSurface(int rows, int cols);

    mainFrm& m_main;
    QLineEdit* m_Text1 = nullptr;  // Cols
    QLineEdit* m_Text2 = nullptr;  // Rows
    QLineEdit* m_Text3 = nullptr;  // Table Attributes
    QLineEdit* m_Text4 = nullptr;  // Cell Attributes
};

}  // namespace orvane
