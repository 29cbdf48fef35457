#pragma once
// A tab strip with a client area below its tabs, as the mode tabs of the main
// window need: the frames that show under the tabs are the window's own
// children placed over clientRect(), not pages of this widget.
//
// Click is emitted after a tab is selected by the mouse (also when the clicked
// tab was already selected), by the keyboard or by code. A click takes the
// keyboard focus, so the previously focused widget loses it first.

#include <QWidget>

class QTabBar;

namespace orvane {

class TabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);

    QTabBar* tabBar() const { return m_tabBar; }
    // 0-based index of the selected tab.
    int selectedIndex() const;
    void setSelectedIndex(int index);
    // The client area, in the parent's coordinates.
    QRect clientRect() const;

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void onTabBarClicked(int index);
    void onCurrentChanged(int index);

    QTabBar* m_tabBar;
    bool m_clicking = false;
};

}  // namespace orvane
