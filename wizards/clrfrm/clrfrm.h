#pragma once
// clrfrm, "Color": five picture buttons in one row, each asking for a colour
// and applying it at once (text colour of the selection, or one of the page's
// four colours). "&OK" and "&Cancel" only close it: every colour is applied
// already. The buttons are the ones the editor's context menu presses too.

#include <QDialog>

class QPushButton;

namespace orvane {

class PageColours;

class clrfrm : public QDialog {
    Q_OBJECT
public:
    clrfrm(PageColours& colours, QWidget* parent);

    // Shows a fresh window modally; returns when it closes. The colour dialog
    // then forgets the last colour chosen.
    static void display(PageColours& colours, QWidget* parent);

private:
    PageColours& m_colours;
};

}  // namespace orvane
