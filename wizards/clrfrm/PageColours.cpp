#include "PageColours.h"

#include "ColorToHex.h"
#include "Prompts.h"
#include "Surface.h"
#include "SourcePane.h"

namespace orvane {

namespace {

using Colour = PageColours::Colour;

// What Source mode inserts at the caret; %1 is the colour.
QString sourceText(Colour which)
{
    switch (which) {
    case Colour::Font: return QStringLiteral("<FONT COLOR=%1>");
    case Colour::Background: return QStringLiteral("BGCOLOR=\"%1\"");
    case Colour::Link: return QStringLiteral("LINK=\"%1\"");
    case Colour::VisitedLink: return QStringLiteral("VLINK=\"%1\"");
    case Colour::ActiveLink: return QStringLiteral("ALINK=\"%1\"");
    }
    return {};
}

void applyOnSurface(Surface& design, Colour which, const QString& hex)
{
    switch (which) {
    case Colour::Font: design.ExecCommand(DECMD_SETFORECOLOR, OLECMDEXECOPT_DONTPROMPTUSER, hex); break;
    case Colour::Background: design.DOM().setBgColor(hex); break;
    case Colour::Link: design.DOM().setLinkColor(hex); break;
    case Colour::VisitedLink: design.DOM().setVlinkColor(hex); break;
    case Colour::ActiveLink: design.DOM().setAlinkColor(hex); break;
    }
}

}  // namespace

PageColours::PageColours(Surface& design, SourcePane& rch, std::function<bool()> isSourceMode)
    : m_design(design), m_rch(rch), m_isSourceMode(std::move(isSourceMode))
{
}

void PageColours::choose(Colour which)
{
    if (which == Colour::Font)
        m_lastChosen = Qt::black;
    const ColorAnswer answer = prompts().chooseColor(m_lastChosen);
    if (!answer.accepted)
        return;
    m_lastChosen = answer.color;
    const QString hex = ColorToHex(colorValue(answer.color));
    if (m_isSourceMode()) {
        m_rch.setSelText(sourceText(which).arg(hex));
        return;
    }
    try {
        applyOnSurface(m_design, which, hex);
    } catch (const SurfaceError&) {
        // Nothing editable at the selection, or no document: nothing to colour.
    }
}

}  // namespace orvane
