#pragma once
// The main window's menu bar: a row of header labels, each dropping down a
// panel of item labels. It opens, closes and colours the panels and enables
// items by the view mode; what a click on an item does is the command
// catalogue's (itemClicked).

#include <QColor>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QLabel;
class QWidget;

namespace orvane {

class MenuLabel;
class MenuPanel;

class MenuBar : public QObject {
    Q_OBJECT
public:
    static inline const QColor kNormal{0, 0, 0};
    static inline const QColor kHover{255, 0, 0};
    // The look of a gated-off item (the "application workspace" grey).
    static inline const QColor kDisabledLook{171, 171, 171};

    // Builds the headers and the hidden panels as children of host, at the
    // window's top edge. isSourceMode is the view-mode test used for gating.
    MenuBar(QWidget* host, std::function<bool()> isSourceMode);
    ~MenuBar() override;

    QLabel* header(const QString& name) const;
    QWidget* panel(const QString& name) const;
    QLabel* item(const QString& name) const;
    // The item's own fore colour (what it shows while enabled).
    static QColor foreColor(const QLabel* item);

    void resetItem(const QString& name);
    void hidePanel(const QString& name);

    // Closes panels on pointer moves over the source pane and the upper
    // side-bar image (event filters on them and on their children).
    void watchSourcePane(QWidget* rch);
    void watchSideBarImage(QWidget* panel1);

public slots:
    void Form_MouseMove();
    void rch_MouseMove();
    void DHTMLEdit1_onmousemove();
    void DHTMLEdit2_onmousemove();
    void panel_1_MouseMove();

signals:
    // A click on an enabled menu item, or on the Help header.
    void itemClicked(const QString& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openPanel(const QString& header);
    void headerMoved(const QString& header);
    void panelMoved(const QString& panel);
    void hideAll();
    void hideSourcePane();
    void setForeColor(QLabel* item, const QColor& color);

    QPointer<QWidget> m_host;
    QPointer<QWidget> m_rch;
    QPointer<QWidget> m_panel1;
    std::function<bool()> m_isSourceMode;
    QHash<QString, MenuLabel*> m_headers;
    QHash<QString, MenuPanel*> m_panels;
    QHash<QString, MenuLabel*> m_items;
    QHash<QString, QStringList> m_panelItems;  // panel name -> its item names, top to bottom
};

}  // namespace orvane
