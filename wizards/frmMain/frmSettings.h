#pragma once
// frmSettings, "Map region settings": the link and the alternative text of
// the region just marked. Both must hold more than blanks; there is no
// cancel button, and closing the window leaves the region's link and text empty.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orvane {

class MapRegions;

class frmSettings : public QDialog {
    Q_OBJECT
public:
    frmSettings(MapRegions& regions, QWidget* parent);

    void cmdOK_Click();

private:
    MapRegions& m_regions;
    QLineEdit* m_txtURL;
    QLineEdit* m_txtFrame;
    QPushButton* m_cmdOK;
};

}  // namespace orvane
