#pragma once
// frmMain, "Image Map Wizard": a picture in a scrolling viewport on which the
// user marks rectangular regions with two clicks each, gives each a link and
// an alternative text, and finishes with a map name; the MAP text then goes
// into the page at the source caret (Source mode) or over the design
// surface's selection (Edit mode).

#include "MapRegions.h"

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;
class QScrollBar;
class QTimer;
class mainFrm;

namespace orvane {

class MapPicture;

class frmMain : public QDialog {
    Q_OBJECT
public:
    explicit frmMain(mainFrm& editor);

    // Creates the window, asks for its picture and shows it modally; it
    // deletes itself when closed.
    static void display(mainFrm& editor);

    // Resets the regions and asks for the picture.
    void Form_Load();
    void Command1_Click();  // "&Select Region"
    void Command2_Click();  // "&Finish"
    void picImage_MouseDown(QPoint at);
    void picImage_MouseMove(QPoint at);
    void Timer1_Timer();    // slides the status strip
    void Timer2_Timer();    // pulses the outlines

    const MapRegions& regions() const { return m_regions; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void loadPicture(const QString& path);
    void placePicture();
    void takeSecondCorner(QPoint at);
    void insertIntoPage(const QString& text);

    mainFrm& m_editor;
    MapRegions m_regions;
    QString m_picturePath;

    QWidget* m_picContainer;
    MapPicture* m_picImage;
    QScrollBar* m_hsb1;
    QScrollBar* m_vsb1;
    QPushButton* m_Command1;
    QPushButton* m_Command2;
    QLabel* m_Label1;
    QTimer* m_Timer1;
    QTimer* m_Timer2;
    QWidget* m_picContainScroller;
    QWidget* m_picScroller;
    QLabel* m_lblScroller;

    bool m_selecting = false;
    std::optional<QPoint> m_firstCorner;
    bool m_tipShown = false;
    int m_colourPhase = 0;
};

}  // namespace orvane
