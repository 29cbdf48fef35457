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

// A stretch of text between elements that the browser parsed as one text:
// its gap and the server block it follows there (-1: the gap's start). Its
// source runs to the gap's next server block or the gap's end.
using TextStretch = std::pair<int, int>;

struct PageChanges {
    PageChanges(QHash<int, QString> elements = {}, QHash<TextStretch, QString> texts = {})
        : elements(std::move(elements)), texts(std::move(texts)) {}
    QHash<int, QString> elements;        // element id -> its HTML as serialised by the page script
    QHash<TextStretch, QString> texts;   // stretch -> its text as the browser parsed it
};

// With no changes the source comes back as it is; otherwise the page also
// carries exactly one generator meta element naming the surface.
QString rebuildPage(const QString& source, const PageMap& map, const PageChanges& changes);

// The page script's [{id, html, texts: [[gap, text, block], ...]}, ...].
PageChanges changedElements(const QJsonArray& items);

}  // namespace orvane::fidelity
