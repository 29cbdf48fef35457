#pragma once
// The main window's layout: the mode tabs and the three surfaces sized to the
// window, the two side bars beside them with their close areas (Label2,
// Label55) and "Show Side Bars" (Label54). Works on the window's children by
// their names.

#include <QObject>
#include <QPointer>

class QWidget;

namespace orvane {

class SideBars : public QObject {
    Q_OBJECT
public:
    explicit SideBars(QWidget* window);

    // The upper side bar is shown while panel_1 is, the lower while panel_2 is.
    bool upperShown() const;
    bool lowerShown() const;

    void Form_Resize();
    void Label2_Click();
    void Label55_Click();
    void Label54_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* child(const char* name) const;
    void applySizes(bool sideBarsShown);
    void placeSideBarPieces();
    // Hides one bar's pieces; once the other bar is hidden too the wide set applies.
    void closeBar(const char* const* pieces, bool otherShown);

    QPointer<QWidget> m_window;
};

}  // namespace orvane
