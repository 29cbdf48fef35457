#pragma once
// The menu bar's layout as data: headers, their panels and the panels' items,
// in twips (15 twips are one pixel), and how hovering a header closes its
// neighbours and gates its items by the view mode.

#include "Twips.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

namespace orvane::menubar {

struct ItemRow {
    QString name;
    QString caption;
    int top;    // twips inside the panel; every item is 120 from the left and 255 high
    int width;  // twips
};

struct PanelRow {
    QString name;
    int left, top, width, height;  // twips in the window
    QList<ItemRow> items;
};

// When a header's items are enabled.
enum class Gate { None, EditOnly, SourceOnly };

struct HeaderRow {
    QString name;
    QString caption;
    int left, width;      // twips; every header is at top 0 and 255 high
    QString panel;        // empty: the header opens no panel
    QStringList closes;   // panels its hover hides
    Gate gate = Gate::None;
    QStringList gated;    // items its hover gates; empty with a gate: all items of its panel
};

constexpr int kItemLeft = 120;
constexpr int kItemHeight = 255;
constexpr int kHeaderHeight = 255;

const QList<HeaderRow>& menuHeaders();
const QList<PanelRow>& menuPanels();

// All nine panels in the order they are hidden together.
const QStringList& allPanelsInClosingOrder();
// The panels hidden when the pointer crosses the upper side-bar image.
const QStringList& sideBarClosedPanels();

}  // namespace orvane::menubar
