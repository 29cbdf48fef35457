// Pages of any text through the page pipeline: preparation, source tree and
// rebuild. The oracle: the tree is well formed and keeps raw text whole; no
// server block reaches the browser; rebuilding with one element "changed" to
// its own source (or to pieces of it) keeps every server block, leaves no
// stand-in and gives the same page whichever element it is; writing its
// gaps as the texts between their comments and server blocks gives the
// same page as copying the gaps whole; the cuts of a stretch of text
// against its own text are in order and inside both.

#include "PageRebuild.h"
#include "TextAlignment.h"

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

// CR LF, LF and lone CR: how many kinds the text uses.
int lineBreakKinds(const QString& text) {
    bool crlf = false, lf = false, cr = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            crlf = true, ++i;
        else if (text[i] == u'\r')
            cr = true;
        else if (text[i] == u'\n')
            lf = true;
    }
    return int(crlf) + int(lf) + int(cr);
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
    auto plain = [&](qsizetype to) {
        QString piece = text.mid(pos, to - pos);
        out += piece.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        pos = to;
    };
    auto textUpTo = [&](qsizetype to) {
        for (int n = 0; n < map.serverBlocks.size(); ++n) {
            const Span& b = map.serverBlocks[n];
            if (b.begin >= pos && b.end <= to) {
                plain(b.begin);
                out += map.standIns.server(n);
                pos = b.end;
            }
        }
        plain(to);
    };
    for (int c = el.firstChild; c >= 0; c = tree.elements[c].nextSibling) {
        textUpTo(tree.elements[c].begin);
        out += map.standIns.keep(c);
        pos = tree.elements[c].end;
    }
    textUpTo(el.end);
    return out;
}

QString piece(const PageMap& map, char16_t code, const QString& numbers) {
    return QChar(pieceOpen) + map.standIns.marker + QChar(code) + numbers + QChar(pieceClose);
}

// Element k written as pieces of its source.
QString asPieces(const PageMap& map, int k) {
    const auto n = [](int i) { return QString::number(i); };
    QString out = piece(map, startTagPiece, n(k)) + piece(map, gapPiece, n(2 * k));
    for (int c = map.tree.elements[k].firstChild; c >= 0; c = map.tree.elements[c].nextSibling)
        out += map.standIns.keep(c) + piece(map, gapPiece, n(2 * c + 1));
    return out + piece(map, endTagPiece, n(k));
}

// Element k with each gap as the texts between its comments and server
// blocks (each as parsed from its own source: "\n" line breaks, no NUL),
// the comments and the blocks' stand-ins, as the page script writes a gap
// it follows, a stretch that makes no text as such. Empty for raw text
// (never written so) and when a gap holds CDATA, whose reading the rebuild
// leaves to the browser.
QString asStretches(const QString& text, const PageMap& map, int k, QHash<GapPlace, QString>& texts) {
    const SourceTree& tree = map.tree;
    QString out = piece(map, startTagPiece, QString::number(k));
    bool unknown = rawText(tree.nameOf(k));
    auto gap = [&](int key, qsizetype pos, qsizetype end) {
        HtmlTokenizer tokens(text, map.serverBlocks, pos);
        Token t;
        int place = -1;
        auto stretch = [&](qsizetype to) {
            const QString parsed = text.mid(pos, to - pos).replace("\r\n", "\n").replace(u'\r', u'\n').remove(QChar(0));
            const QString at = place < 0 ? QString() : u',' + QString::number(place);
            if (!parsed.isEmpty())
                texts.insert({key, place}, parsed);
            out += parsed.isEmpty() ? piece(map, noTextPiece, QString::number(key) + at)
                                    : piece(map, textPiece, QStringLiteral("%1,0,%2").arg(key).arg(parsed.size()) + at);
        };
        while (tokens.next(t) && t.span.begin < end) {
            unknown = unknown || t.kind == Token::CData;
            if ((t.kind == Token::Comment && !t.makesNothing) || t.kind == Token::Server) {
                stretch(t.span.begin);
                const QString at = QStringLiteral("%1,%2").arg(key).arg(++place);
                out += t.kind == Token::Server ? map.standIns.server(t.server)
                                               : piece(map, commentPiece, at) + "<!--x-->" + piece(map, commentEndPiece, at);
                pos = t.span.end;
            }
        }
        stretch(end);
    };
    const SourceElement& el = tree.elements[k];
    gap(2 * k, el.tagEnd, el.firstChild >= 0 ? tree.elements[el.firstChild].begin : el.close);
    for (int c = el.firstChild; c >= 0; c = tree.elements[c].nextSibling) {
        out += map.standIns.keep(c);
        const SourceElement& child = tree.elements[c];
        gap(2 * c + 1, child.end, child.nextSibling >= 0 ? tree.elements[child.nextSibling].begin : el.close);
    }
    return unknown ? QString() : out + piece(map, endTagPiece, QString::number(k));
}

void checkCuts(QStringView source) {
    QString text = source.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    const QList<TextCut> cuts = alignSourceText(source, text);
    for (qsizetype i = 1; i < cuts.size(); ++i)
        if (cuts[i].source < cuts[i - 1].source || cuts[i].text < cuts[i - 1].text || cuts[i].source > source.size() ||
            cuts[i].text > text.size())
            fail("cuts out of order or outside the text");
}

// The browser reads every element's id as written, in text order: an
// unquoted value never runs into what follows it.
void checkIds(const PreparedPage& page) {
    const QString served = QString::fromUtf8(page.browserText);
    const QList<Span> noBlocks;
    HtmlTokenizer tokens(served, noBlocks);
    QStringList read;
    for (Token t; tokens.next(t);)
        if (t.kind == Token::StartTag && !t.attributes.isEmpty() && t.attributes[0].name == u"orv"_sv) {
            const Span v = t.attributes[0].value;
            read << (v.begin < 0 ? QString() : served.mid(v.begin, v.end - v.begin));
        }
    // Each value is the element's number, with "i" on an inline element's.
    qsizetype at = 0;
    for (int k = 0; k < page.map.tree.elements.size(); ++k) {
        if (page.map.tree.elements[k].implied)
            continue;
        const QString number = QString::number(k);
        if (at == read.size() || (read[at] != number && read[at] != number + u'i'))
            fail("the browser would not read the ids as written");
        ++at;
    }
    if (at != read.size())
        fail("the browser would read ids that were not written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const PreparedPage page = preparePage(text);
    const PageMap& map = page.map;
    checkTree(map.tree, text.size());
    checkIds(page);
    if (!findServerBlocks(QString::fromUtf8(page.browserText)).isEmpty())
        fail("a server block reached the browser");

    QSet<int> generators;
    for (const GeneratorEdit& g : map.generators)
        generators.insert(g.element);
    QList<int> candidates;
    for (int k = 0; k < map.tree.elements.size(); ++k)
        if (!map.tree.elements[k].implied && k != map.tree.head && !generators.contains(k))
            candidates << k;
    const QStringList blocks = blockTexts(text);
    QString first, firstPieces;
    const qsizetype step = std::max<qsizetype>(1, candidates.size() / 6);
    for (qsizetype i = 0; i < candidates.size(); i += step) {
        const int k = candidates[i];
        const QString out = rebuildPage(text, map, QHash<int, QString>{{k, asSerialised(text, map, k)}});
        if (out.contains(map.standIns.marker))
            fail("a stand-in was left in the page");
        if (blockTexts(out) != blocks)
            fail("server blocks changed");
        if (i == 0)
            first = out;
        else if (out != first && lineBreakKinds(text) <= 1)
            fail("rebuilding through different elements gave different pages");
        const QString pieces = rebuildPage(text, map, QHash<int, QString>{{k, asPieces(map, k)}});
        if (i == 0)
            firstPieces = pieces;
        else if (pieces != firstPieces)
            fail("rebuilding from pieces through different elements gave different pages");
        QHash<GapPlace, QString> texts;
        const QString stretches = asStretches(text, map, k, texts);
        if (!stretches.isEmpty() && rebuildPage(text, map, PageChanges({{k, stretches}}, texts)) != pieces)
            fail("the texts, comments and server blocks are not the gap they make up");
        const SourceElement& el = map.tree.elements[k];
        checkCuts(QStringView(text).mid(el.tagEnd, el.close - el.tagEnd));
    }
    return 0;
}
