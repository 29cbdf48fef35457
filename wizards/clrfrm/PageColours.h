#pragma once
// The colour buttons of the page colours dialog: each asks for a colour and
// applies it at once, as HTML text at the source caret in Source mode or on
// the design surface in Edit mode. Cancelling the colour dialog applies nothing.

#include <QColor>
#include <functional>

namespace orvane {

class SourcePane;
class Surface;

class PageColours {
public:
    // The selection's text colour, then the page's four colours.
    enum class Colour { Font, Background, Link, VisitedLink, ActiveLink };

    PageColours(Surface& design, SourcePane& rch, std::function<bool()> isSourceMode);

    // Asks for a colour and applies it. For the font the colour dialog opens on
    // black; for a page colour on the last colour chosen here.
    void choose(Colour which);
    // The colour dialog opens on black again (the colour window has closed).
    void forgetLastColour() { m_lastChosen = Qt::black; }

private:
    Surface& m_design;
    SourcePane& m_rch;
    std::function<bool()> m_isSourceMode;
    QColor m_lastChosen = Qt::black;
};

}  // namespace orvane
