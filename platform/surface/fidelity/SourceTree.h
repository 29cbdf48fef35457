#pragma once
// The element tree of a page's source, built the way a browser builds its
// document (implied html, head and body, elements closed by others, tables,
// lists, selects), with each element's span in the source text. Element K
// of the tree is the browser element that carries data-orv-id="K".

#include "HtmlTokenizer.h"

#include <QList>
#include <QString>

namespace orvane::fidelity {

struct SourceElement {
    QString name;               // ASCII lower case
    Span span;                  // "<tag" to the end of its end tag, or to where it was closed
    qsizetype startTagEnd = 0;  // end of the start tag (span.begin when implied)
    qsizetype nameEnd = 0;      // just after the tag name, where the id is written
    int parent = -1;            // -1 at the top of the document
    QList<int> children;
    int token = -1;             // its start tag; -1 for an implied element
    bool implied = false;
};

struct SourceTree {
    QList<SourceElement> elements;
    QList<int> roots;
    int html = -1;
    int head = -1;
    int body = -1;
    // Per server block: true when it stands in flowing content, where the
    // design view can show it as an element of its own.
    QList<bool> serverInContent;
    // Elements whose browser subtree is known to differ from their source
    // (the browser moved or cloned content in or out of them), sorted.
    QList<int> unsettled;
};

SourceTree buildSourceTree(const QString& text, const Tokenized& tokenized);

}  // namespace orvane::fidelity
