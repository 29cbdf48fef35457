#pragma once
// helpFrm, "Orvane - Help": a browse-mode surface filling the window that
// shows help.htm from the program's folder, loaded afresh at each opening.
// Links in the page are followed inside the window.

#include <QDialog>

namespace orvane {

class Surface;

class helpFrm : public QDialog {
    Q_OBJECT
public:
    explicit helpFrm(QWidget* parent = nullptr);

    // Loads the help page and shows the window modally, creating it on first
    // use; returns when the user closes it.
    static void display(QWidget* parent);
    // The window display() shows, once it exists.
    static helpFrm* instance();

    Surface* DHTMLEdit1() const { return m_DHTMLEdit1; }

    void Form_Load();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Surface* m_DHTMLEdit1 = nullptr;
};

// The page shown when the help page at path cannot be loaded.
QString helpMissingPage(const QString& path);

}  // namespace orvane
