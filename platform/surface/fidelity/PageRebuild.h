#pragma once
// The page text after an edit: the source text with only the changed
// elements rewritten. What the page script serialised for each changed
// element refers back to untouched elements and server blocks by token
// (see FidelityTokens.h); everything else is copied from the source.

#include "PagePreparation.h"

#include <QHash>
#include <QJsonArray>
#include <QString>

namespace orvane::fidelity {

// A place in the source between elements (a gap): the gap and the comment
// or server block the place follows among those the parser made there (-1:
// the gap's start). The stretch of text at a place runs to the gap's next
// comment or server block, or to its end.
using GapPlace = std::pair<int, int>;

struct PageChanges {
    PageChanges(QHash<int, QString> elements = {}, QHash<GapPlace, QString> texts = {})
        : elements(std::move(elements)), texts(std::move(texts)) {}
    QHash<int, QString> elements;     // element id -> its HTML as serialised by the page script
    QHash<GapPlace, QString> texts;   // stretch -> its text as the browser parsed it
    // Gap -> how many comments and server blocks the parser made in it. A
    // gap whose source holds another number was read otherwise than the
    // browser read it: its stretches and comments are not taken from it.
    QHash<int, int> boundaries;
};

// With no changes the source comes back as it is; otherwise the page also
// carries exactly one generator meta element naming the surface.
QString rebuildPage(const QString& source, const PageMap& map, const PageChanges& changes);

// The page script's [{id, html, texts: [[gap, text, place], ...], gaps: [[gap, boundaries], ...]}, ...].
PageChanges changedElements(const QJsonArray& items);

}  // namespace orvane::fidelity
