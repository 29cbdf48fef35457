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

struct PageChanges {
    PageChanges(QHash<int, QString> elements = {}, QHash<int, QString> texts = {})
        : elements(std::move(elements)), texts(std::move(texts)) {}
    QHash<int, QString> elements;  // element id -> its HTML as serialised by the page script
    QHash<int, QString> texts;     // gap -> its text as the browser parsed it
};

// With no changes the source comes back as it is; otherwise the page also
// carries exactly one generator meta element naming the surface.
QString rebuildPage(const QString& source, const PageMap& map, const PageChanges& changes);

// The page script's [{id, html, texts}, ...].
PageChanges changedElements(const QJsonArray& items);

}  // namespace orvane::fidelity
