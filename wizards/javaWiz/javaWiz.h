#pragma once
// javaWiz, "Events": binds an event of the element at the source caret to one
// of the page's functions by writing " event='function()'" at the caret.

#include <QDialog>

class QListWidget;
class QPushButton;

namespace orvane {

class SourcePane;

class javaWiz : public QDialog {
    Q_OBJECT
public:
    javaWiz(SourcePane& rch, QWidget* parent);

    // Creates the window over the source text of the moment and shows it
    // modally; it deletes itself when closed.
    static void display(SourcePane& rch, QWidget* parent);

    void Command1_Click();  // "&Finish"

private:
    SourcePane& m_rch;
    QListWidget* m_List2;
    QListWidget* m_List1;
};

}  // namespace orvane
