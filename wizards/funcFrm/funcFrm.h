#pragma once
// funcFrm, "Image Rollover Wizard": up to fourteen images chosen one by one
// become preloading statements in the page's script and, pair by pair, the
// anchor and image tags that swap them on mouse-over, shown for the user to
// paste where the images belong. The window stays open until closed.

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class mainFrm;

namespace orvane {

class funcFrm : public QDialog {
    Q_OBJECT
public:
    explicit funcFrm(mainFrm& editor);

    // Creates the window and shows it modally; it deletes itself when closed.
    static void display(mainFrm& editor);

    void Command1_Click();  // "&Select Image"
    void Command2_Click();  // "&Create Rollover"
    void Command4_Click();  // "&Help"

    // The images chosen so far, slot 1 first, as they are written into the page.
    const QStringList& slotFiles() const { return m_slots; }

private:
    void writeSource(const QString& text);

    mainFrm& m_editor;
    QStringList m_slots;
    QList<QLabel*> m_Label2;
    QPlainTextEdit* m_Text1;
};

}  // namespace orvane
