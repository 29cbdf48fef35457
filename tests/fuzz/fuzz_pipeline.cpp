// Pages of any text through the page pipeline: preparation, source tree and
// rebuild. The oracle:
// - the tree is well formed: every element lies inside its parent, after
//   its previous sibling, and nothing lies inside raw text;
// - the browser text holds no server block;
// - rebuilding with one element "changed" to its own source (children as
//   keep stand-ins, server blocks as server stand-ins) gives the same page
//   whichever element it is, with every server block and no stand-in.

#include "PageRebuild.h"

#include <QSet>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace orvane::fidelity;

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "pipeline oracle: %s\n", what);
    std::abort();
}

bool rawText(const QString& name) {
    return isRawTextElement(name) || name == u"plaintext";
}

void checkTree(const SourceTree& tree, qsizetype size) {
    for (int k = 0; k < tree.elements.size(); ++k) {
        const SourceElement& el = tree.elements[k];
        if (el.begin < 0 || el.begin > el.end || el.end > size)
            fail("element span out of the text");
        qsizetype after = el.begin;
        for (int c = el.firstChild; c >= 0; c = tree.elements[c].nextSibling) {
            const SourceElement& child = tree.elements[c];
            if (child.parent != k)
                fail("child with another parent");
            if (child.begin < after || child.end > el.end)
                fail("child outside its parent or before its sibling");
            after = child.end;
        }
        if (el.firstChild >= 0 && rawText(tree.nameOf(k)))
            fail("element inside raw text");
    }
}

QStringList blockTexts(const QString& text) {
    QStringList out;
    for (const Span& b : findServerBlocks(text))
        out << text.mid(b.begin, b.end - b.begin);
    return out;
}

// Element k's source as the page script would send it had nothing changed.
QString asSerialised(const QString& text, const PageMap& map, int k) {
    const SourceTree& tree = map.tree;
    const SourceElement& el = tree.elements[k];
    QString out;
    qsizetype pos = el.begin;
    auto textUpTo = [&](qsizetype to) {
        for (int n = 0; n < map.serverBlocks.size(); ++n) {
            const Span& b = map.serverBlocks[n];
            if (b.begin >= pos && b.end <= to) {
                out += QStringView(text).mid(pos, b.begin - pos);
                out += map.standIns.server(n);
                pos = b.end;
            }
        }
        out += QStringView(text).mid(pos, to - pos);
        pos = to;
    };
    for (int c = el.firstChild; c >= 0; c = tree.elements[c].nextSibling) {
        textUpTo(tree.elements[c].begin);
        out += map.standIns.keep(c);
        pos = tree.elements[c].end;
    }
    textUpTo(el.end);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const PreparedPage page = preparePage(text);
    const PageMap& map = page.map;
    checkTree(map.tree, text.size());
    if (!findServerBlocks(page.browserText).isEmpty())
        fail("a server block reached the browser");

    QSet<int> generators;
    for (const GeneratorEdit& g : map.generators)
        generators.insert(g.element);
    QList<int> candidates;
    for (int k = 0; k < map.tree.elements.size(); ++k)
        if (!map.tree.elements[k].implied && k != map.tree.head && !generators.contains(k))
            candidates << k;
    const QStringList blocks = blockTexts(text);
    QString first;
    const qsizetype step = std::max<qsizetype>(1, candidates.size() / 6);
    for (qsizetype i = 0; i < candidates.size(); i += step) {
        const int k = candidates[i];
        const QString out = rebuildPage(text, map, {{k, asSerialised(text, map, k)}});
        if (out.contains(map.standIns.marker))
            fail("a stand-in was left in the page");
        if (blockTexts(out) != blocks)
            fail("server blocks changed");
        if (i == 0)
            first = out;
        else if (out != first)
            fail("rebuilding through different elements gave different pages");
    }
    return 0;
}
