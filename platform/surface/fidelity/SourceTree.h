#pragma once
// The element tree of a page's source, built the way a browser builds its
// document (implied html, head and body, elements closed by others, tables,
// lists, selects), with each element's span in the source text. Element K
// of the tree is the browser element loaded with orv=K (or orv=Ki).
// Elements are kept small (a big page has millions): positions are 32-bit,
// names are indexes into the tree's name list, children are linked.

#include "HtmlTokenizer.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::fidelity {

struct SourceElement {
    qint32 begin = 0;        // "<tag"
    qint32 end = 0;          // the end of its end tag, or where it was closed
    qint32 tagEnd = 0;       // the end of its start tag
    qint32 close = 0;        // where its end tag begins (end when it has none)
    qint32 nameEnd = 0;      // just after the tag name, where the id is written
    qint32 parent = -1;      // -1 at the top of the document
    qint32 firstChild = -1;
    qint32 nextSibling = -1;
    qint32 name = 0;         // index into SourceTree::names
    bool implied = false;    // made by the parser, not by a start tag

    Span span() const { return {begin, end}; }
};

struct SourceTree {
    QList<SourceElement> elements;
    QStringList names;  // ASCII lower case
    QList<int> roots;   // linked as siblings too
    int html = -1;
    int head = -1;
    int body = -1;
    // Per server block: true when it stands in flowing content, where the
    // design view can show it as an element of its own.
    QList<bool> serverInContent;
    // Per server block in content: true when only block elements or its
    // container's start or end stand beside it, where it is shown as a block.
    QList<bool> serverAsBlock;
    // Per server block: true when it stands inside a tag, a comment, a
    // doctype or raw text rather than between them.
    QList<bool> serverInline;
    // Elements whose browser subtree is known to differ from their source
    // (the browser moved or cloned content in or out of them), sorted.
    QList<int> unsettled;
    // White space after the body's end (after </body>, after </html>) that the
    // browser appends to the body's last text, with its line breaks as "\n".
    QString trailingSpace;

    const QString& nameOf(int k) const { return names[elements[k].name]; }
};

// Pages of up to 2^31 - 1 characters; serverBlocks: findServerBlocks(text).
SourceTree buildSourceTree(const QString& text, const QList<Span>& serverBlocks);

}  // namespace orvane::fidelity
