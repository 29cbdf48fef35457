#pragma once
// IlibFrm, "Image Library": the image files (File1), the user's before the
// shipped ones, a preview (Picture1) and "&Insert Image" (Command2), which
// writes the chosen image's tag into the page and closes the window.

#include <QDialog>
#include <QPixmap>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class mainFrm;

namespace orvane {

class IlibFrm : public QDialog {
    Q_OBJECT
public:
    explicit IlibFrm(mainFrm* editor);

    // Shows a fresh window modally over editor; returns when it closes.
    static void display(mainFrm* editor);

    QListWidget* File1() const { return m_File1; }
    QLabel* Picture1() const { return m_Picture1; }
    QPushButton* Command2() const { return m_Command2; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void File1_Click(QListWidgetItem* item);
    void Command2_Click();
    void showPreview();

    mainFrm* m_editor;
    QListWidget* m_File1 = nullptr;
    QLabel* m_Picture1 = nullptr;
    QPushButton* m_Command2 = nullptr;
    QPixmap m_picture;
};

}  // namespace orvane
