#pragma once
// Turning a page's text into the text the browser loads, and the map that
// leads the browser's elements back to the text they came from. Server
// blocks are taken out (the browser would move or drop them) and stand as
// small markers in content or as tokens elsewhere; every start tag gets
// orv=K (orv=Ki for inline elements), K being its element in the map.

#include "FidelityTokens.h"
#include "SourceTree.h"

#include <QJsonObject>
#include <QList>
#include <QString>

namespace orvane::fidelity {

// The surface's name, written into the page's generator meta element.
inline constexpr char generatorName[] = "Microsoft DHTML Editing Control";

// The generator meta element the surface writes where a page has none.
QString generatorMeta();

// How to make a generator meta element of the source name the surface. A
// generator meta that holds server code stays as written: its edit puts the
// surface's own meta element before it.
struct GeneratorEdit {
    int element = -1;
    Span replace;         // the text to replace (empty to insert)
    QString replacement;
};

struct PageMap {
    SourceTree tree;
    QList<Span> serverBlocks;
    // Every generator meta without server code, in text order; or, when
    // there is none, the first one with server code; empty when none.
    QList<GeneratorEdit> generators;
    QString eol;                      // the page's line ending
    StandIns standIns;                // this load's stand-ins
};

struct PreparedPage {
    QByteArray browserText;  // UTF-8, as the browser loads it
    PageMap map;
};

PreparedPage preparePage(const QString& text);

// True when element k keeps its id in the browser's document. Inline
// formatting elements do not: editing commands replace an element that has
// attributes they do not know by a span, so the page script takes theirs
// off once it has read them. Implied html, head and body get theirs from
// the page script.
bool carriesId(const SourceTree& tree, int k);

// What the page script needs to know of the source tree (see fidelity.js).
QJsonObject scriptMap(const PageMap& map);

// The line ending a page uses most: "\r\n", "\n" or "\r" ("\r\n" when it has none).
QString pageLineEnding(const QString& text);

}  // namespace orvane::fidelity
