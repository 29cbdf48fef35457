#pragma once
// What Enter in the font size box does with the typed text.

#include <QString>
#include <functional>

namespace orvane {

struct FontSizeEntry {
    bool apply = false;   // true: set the typed size on the selection
    QString boxText;      // when not applied: the text to put into the box
};

// typed: the box's text; setState: SETFONTSIZE's query state (available);
// currentSize: asks GETFONTSIZE, only when a fallback is needed and the
// selection is not mixed. The fallback is the current size minus one.
FontSizeEntry fontSizeEntry(const QString& typed, int setState, const std::function<int()>& currentSize);

}  // namespace orvane
