#include "PageColours.h"

#include "ColorToHex.h"
#include "Prompts.h"
#include "Surface.h"
#include "SourcePane.h"

namespace orvane {

namespace {

QString attributeName(PageColours::PageColour kind)
{
    switch (kind) {
    case PageColours::PageColour::Background: return QStringLiteral("BGCOLOR=");
    case PageColours::PageColour::Link: return QStringLiteral("LINK=");
    case PageColours::PageColour::VisitedLink: return QStringLiteral("VLINK=");
    case PageColours::PageColour::ActiveLink: return QStringLiteral("ALINK=");
    }
    return {};
}

}  // namespace

PageColours::PageColours(Surface& design, SourcePane& rch, std::function<bool()> isSourceMode)
    : m_design(design), m_rch(rch), m_isSourceMode(std::move(isSourceMode))
{
}

void PageColours::fontColor()
{
    m_lastChosen = Qt::black;
    const ColorAnswer answer = prompts().chooseColor(m_lastChosen);
    if (!answer.accepted)
        return;
    m_lastChosen = answer.color;
    const QString hex = ColorToHex(colorValue(answer.color));
    if (m_isSourceMode()) {
        m_rch.setSelText(QStringLiteral("<FONT COLOR=") + hex + QLatin1Char('>'));
        return;
    }
    try {
        m_design.ExecCommand(DECMD_SETFORECOLOR, OLECMDEXECOPT_DONTPROMPTUSER, hex);
    } catch (const SurfaceError&) {
        // Nothing editable at the selection: no colour to set.
    }
}

void PageColours::pageColor(PageColour kind)
{
    const ColorAnswer answer = prompts().chooseColor(m_lastChosen);
    if (!answer.accepted)
        return;
    m_lastChosen = answer.color;
    const QString hex = ColorToHex(colorValue(answer.color));
    if (m_isSourceMode()) {
        m_rch.setSelText(attributeName(kind) + QLatin1Char('"') + hex + QLatin1Char('"'));
        return;
    }
    try {
        SurfaceDocument doc = m_design.DOM();
        switch (kind) {
        case PageColour::Background: doc.setBgColor(hex); break;
        case PageColour::Link: doc.setLinkColor(hex); break;
        case PageColour::VisitedLink: doc.setVlinkColor(hex); break;
        case PageColour::ActiveLink: doc.setAlinkColor(hex); break;
        }
    } catch (const SurfaceError&) {
        // No document to colour.
    }
}

}  // namespace orvane
