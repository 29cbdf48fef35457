#pragma once
// Where a stretch of source text between tags and the text the browser made
// of it line up: after each literal character, each character or entity
// reference and each tag that made no node. A part of the browser's text
// that begins and ends at such points can be copied from the source in the
// author's own spelling.

#include <QList>
#include <QStringView>

namespace orvane::fidelity {

struct TextCut {
    qsizetype source;
    qsizetype text;
};

// The cuts in order, the first {0, 0}, the last where the source ends (its
// text is the length of what the source makes, which the browser's text may
// run past when it moved white space in). Empty when the text does not
// begin with what the source makes.
QList<TextCut> alignSourceText(QStringView source, QStringView text);

}  // namespace orvane::fidelity
