#include "PageRebuild.h"

#include "FidelityTokens.h"
#include "TextAlignment.h"

#include <QJsonObject>

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace orvane::fidelity {
namespace {

// Line breaks of serialised text (always "\n" in the browser) in the page's own form.
QString withLineEnding(const QString& html, const QString& eol) {
    if (eol == u"\n" || !html.contains(u'\n'))
        return html;
    QString out;
    out.reserve(html.size() + html.size() / 16);
    for (qsizetype i = 0; i < html.size(); ++i) {
        if (html[i] == u'\n' && (eol == u"\r" || i == 0 || html[i - 1] != u'\r'))
            out += eol;
        else
            out += html[i];
    }
    return out;
}

// Text in the editor's spelling, as the page script writes it.
QString escapedText(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            out += QStringLiteral("&amp;");
        else if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else if (c == QChar(0xA0))
            out += QStringLiteral("&nbsp;");
        else
            out += c;
    }
    return out;
}

// End of the first tag of serialised HTML (attribute values are double-quoted),
// or of the piece that stands for it.
qsizetype firstTagEnd(const QString& html) {
    if (html.startsWith(QChar(pieceOpen))) {
        const qsizetype close = html.indexOf(QChar(pieceClose));
        return close < 0 ? -1 : close + 1;
    }
    bool quoted = false;
    for (qsizetype i = 0; i < html.size(); ++i) {
        if (html[i] == u'"')
            quoted = !quoted;
        else if (html[i] == u'>' && !quoted)
            return i + 1;
    }
    return -1;
}

// Writes the page with an explicit stack rather than by recursion, so that
// no nesting depth can exhaust the call stack.
class Rebuilder {
public:
    Rebuilder(const QString& source, const PageMap& map, const PageChanges& changes)
        : m_src(source), m_map(map), m_tree(map.tree), m_changed(changes.elements), m_texts(changes.texts),
          m_boundaries(changes.boundaries), m_affected(map.tree.elements.size(), false), m_busy(map.tree.elements.size(), false) {}

    QString run() {
        for (auto it = m_changed.cbegin(); it != m_changed.cend(); ++it)
            markAffected(it.key());
        for (const GeneratorEdit& g : m_map.generators)
            markAffected(g.element);
        if (!m_map.generators.isEmpty()) {
            m_keptGenerator = m_map.generators.front().element;
        } else if (m_tree.head >= 0) {
            m_insertGenerator = true;
            markAffected(m_tree.head);
        }
        m_out.reserve(m_src.size() + m_src.size() / 8);
        // The document itself is a copy frame whose children are the roots.
        m_frames.append({Frame::Copy, -1, m_tree.roots.isEmpty() ? -1 : m_tree.roots.front(), 0, {}, 0});
        while (!m_frames.isEmpty()) {
            if (m_frames.back().kind == Frame::Copy)
                stepCopy();
            else
                stepExpand();
        }
        return std::move(m_out);
    }

private:
    struct Frame {
        enum Kind { Copy, Expand } kind;
        int element;     // -1: the document
        int nextChild;   // Copy: the next child to look at
        qsizetype pos;   // Copy: in the source; Expand: in html
        QString html;    // Expand: the serialised HTML with the page's line endings
        qsizetype scan;  // Expand: where the search for the next stand-in goes on
    };

    bool valid(int k) const { return k >= 0 && k < m_tree.elements.size(); }

    void markAffected(int k) {
        for (; valid(k) && !m_affected[k]; k = m_tree.elements[k].parent)
            m_affected[k] = true;
    }

    void copy(qsizetype from, qsizetype to) {
        if (to > from)
            m_out += QStringView(m_src).mid(from, to - from);
    }

    // Starts writing element k: a frame for its children or its serialised
    // HTML, or its text at once.
    void begin(int k) {
        if (!valid(k) || m_busy[k])
            return;
        if (auto it = m_changed.constFind(k); it != m_changed.cend()) {
            m_busy[k] = true;
            QString html = withLineEnding(*it, m_map.eol);
            if (k == m_tree.head && m_insertGenerator) {
                const qsizetype at = firstTagEnd(html);
                if (at >= 0)
                    html.insert(at, m_map.eol + generatorMeta());
            }
            m_frames.append({Frame::Expand, k, -1, 0, std::move(html), 0});
            return;
        }
        if (isGenerator(k)) {
            emitGenerator(k);
            return;
        }
        m_busy[k] = true;
        const SourceElement& el = m_tree.elements[k];
        qsizetype pos = el.begin;
        if (k == m_tree.head && m_insertGenerator) {
            if (el.implied) {
                m_out += generatorMeta() + m_map.eol;
            } else if (const Token tag = HtmlTokenizer::startTagAt(m_src, m_map.serverBlocks, el.begin);
                       tag.span.end == m_src.size() && !m_src.endsWith(u'>')) {
                // A server comment left open in the tag runs to the end of
                // the page and would take in what follows the tag.
                m_out += generatorMeta() + m_map.eol;
            } else {
                copy(pos, tag.span.end);
                m_out += m_map.eol + generatorMeta();
                pos = tag.span.end;
            }
        }
        m_frames.append({Frame::Copy, k, el.firstChild, pos, {}, 0});
    }

    void finish(int k) {
        if (valid(k))
            m_busy[k] = false;
        m_frames.removeLast();
    }

    // Copies the source up to the next affected child and starts it, or to
    // the element's end.
    void stepCopy() {
        Frame& f = m_frames.back();
        for (int c = f.nextChild; c >= 0; c = m_tree.elements[c].nextSibling) {
            if (!m_affected[c])
                continue;
            const SourceElement& child = m_tree.elements[c];
            copy(f.pos, child.begin);
            f.pos = child.end;
            f.nextChild = child.nextSibling;
            begin(c);  // may add a frame: f is not used after this
            return;
        }
        const int k = f.element;
        copy(f.pos, valid(k) ? m_tree.elements[k].end : m_src.size());
        finish(k);
    }

    // Writes serialised HTML up to the next keep stand-in and starts that
    // element; server stand-ins and pieces become their source text on the way.
    void stepExpand() {
        Frame& f = m_frames.back();
        const QString& html = f.html;
        const QString& marker = m_map.standIns.marker;
        const qsizetype n = html.size();
        for (qsizetype i = f.scan; i < n; ++i) {
            const char16_t c = html[i].unicode();
            if (c != serverOpen && c != keepOpen && c != pieceOpen)
                continue;
            if (QStringView(html).mid(i + 1, marker.size()) != marker)
                continue;
            const qsizetype args = i + 1 + marker.size() + (c == pieceOpen ? 1 : 0);
            const char16_t close = c == serverOpen ? serverClose : c == keepOpen ? keepClose : pieceClose;
            QList<int> numbers;
            qsizetype j = args;
            if (!readNumbers(html, j, close, c == pieceOpen ? 4 : 1, numbers))
                continue;
            m_out += QStringView(html).mid(f.pos, i - f.pos);
            f.pos = f.scan = j + 1;
            if (c == serverOpen) {
                if (numbers[0] < m_map.serverBlocks.size())
                    copy(m_map.serverBlocks[numbers[0]].begin, m_map.serverBlocks[numbers[0]].end);
                i = j;
                continue;
            }
            if (c == pieceOpen) {
                const char16_t code = html[args - 1].unicode();
                if (code == commentPiece && writeComment({numbers[0], numbers.value(1, -1)})) {
                    // The comment as serialised follows, up to its end piece.
                    const qsizetype at = html.indexOf(QChar(pieceOpen) + marker + QChar(commentEndPiece), j + 1);
                    const qsizetype close = at < 0 ? -1 : html.indexOf(QChar(pieceClose), at);
                    if (close >= 0)
                        f.pos = f.scan = close + 1;
                    i = f.pos - 1;
                    continue;
                }
                writePiece(code, numbers);
                i = j;
                continue;
            }
            begin(numbers[0]);  // may add a frame: f is not used after this
            return;
        }
        m_out += QStringView(html).mid(f.pos);
        finish(f.element);
    }

    // Up to `most` numbers separated by commas, ending at `close`; j ends on it.
    static bool readNumbers(const QString& html, qsizetype& j, char16_t close, int most, QList<int>& numbers) {
        const qsizetype n = html.size();
        while (numbers.size() < most) {
            const qsizetype digits = j;
            while (j < n && j - digits < 9 && html[j].isDigit())
                ++j;
            if (j == digits)
                return false;
            numbers.append(QStringView(html).mid(digits, j - digits).toInt());
            if (j < n && html[j] == u',' && numbers.size() < most)
                ++j;
            else
                break;
        }
        return j < n && html[j].unicode() == close;
    }

    // The source between element children: key 2K is inside K before its
    // first child, 2C + 1 after child C.
    Span gapSpan(int key) const {
        const int k = key / 2;
        if (key < 0 || !valid(k))
            return {0, 0};
        const SourceElement& el = m_tree.elements[k];
        if (key % 2 == 0)
            return {el.tagEnd, el.firstChild >= 0 ? m_tree.elements[el.firstChild].begin : el.close};
        if (el.nextSibling >= 0)
            return {el.end, m_tree.elements[el.nextSibling].begin};
        return {el.end, valid(el.parent) ? m_tree.elements[el.parent].close : qint32(el.end)};
    }

    void writePiece(char16_t code, const QList<int>& numbers) {
        const int k = numbers[0];
        if (code == startTagPiece && valid(k)) {
            copy(m_tree.elements[k].begin, m_tree.elements[k].tagEnd);
        } else if (code == endTagPiece && valid(k)) {
            copy(m_tree.elements[k].close, m_tree.elements[k].end);
        } else if (code == gapPiece) {
            const Span gap = gapSpan(k);
            copy(gap.begin, gap.end);
        } else if (code == textPiece && numbers.size() >= 3) {
            writeTextPart({k, numbers.size() == 4 ? numbers[3] : -1}, numbers[1], numbers[2]);
        } else if (code == noTextPiece) {
            writeNoText({k, numbers.value(1, -1)});
        }
    }

    // A gap's comments and server blocks in source order (what the parser
    // made of them is a node each), when the source reads as the browser
    // read it.
    struct GapLayout {
        bool known = false;
        QList<Span> places;
        QList<bool> comment;
    };

    const GapLayout& layout(int key) {
        const auto [it, made] = m_layouts.try_emplace(key);
        if (!made)
            return it->second;
        GapLayout& l = it->second;
        const Span gap = gapSpan(key);
        l.known = valid(key / 2);
        HtmlTokenizer tokens(m_src, m_map.serverBlocks, gap.begin);
        Token t;
        while (l.known && tokens.next(t) && t.span.begin < gap.end) {
            // In HTML a comment up to the first '>', in SVG text: not known here.
            if (t.kind == Token::CData)
                l.known = false;
            if ((t.kind == Token::Comment && !t.makesNothing) || t.kind == Token::Server) {
                l.places.append(t.span);
                l.comment.append(t.kind == Token::Comment);
            }
        }
        if (const auto count = m_boundaries.constFind(key); count != m_boundaries.cend() && *count != l.places.size())
            l.known = false;
        return l;
    }

    // The source of a comment the parser made in a gap; false when not known.
    bool writeComment(const GapPlace& place) {
        const GapLayout& l = layout(place.first);
        if (!l.known || place.second < 0 || place.second >= l.places.size() || !l.comment[place.second])
            return false;
        copy(l.places[place.second].begin, l.places[place.second].end);
        return true;
    }

    // What of a stretch's source makes no text: tags the parser ignored and
    // NUL characters.
    void writeNoText(const GapPlace& place) {
        const std::optional<Span> span = stretchSpan(place);
        if (!span)
            return;
        HtmlTokenizer tokens(m_src, m_map.serverBlocks, span->begin);
        Token t;
        while (tokens.next(t) && t.span.begin < span->end) {
            const qsizetype end = std::min<qsizetype>(t.span.end, span->end);
            if (t.kind != Token::Text) {
                copy(t.span.begin, end);
                continue;
            }
            for (qsizetype i = t.span.begin; i < end; ++i)
                if (m_src[i] == QChar(0))
                    m_out += QChar(0);
        }
    }

    // The source of a stretch: from the gap's start or the comment or server
    // block at its place to the gap's next one or end. None lies inside it:
    // each is written once, by its own node.
    std::optional<Span> stretchSpan(const GapPlace& place) {
        const GapLayout& l = layout(place.first);
        const int at = place.second;
        if (!l.known || at < -1 || at >= l.places.size())
            return std::nullopt;
        const Span gap = gapSpan(place.first);
        return Span{at < 0 ? gap.begin : l.places[at].end, at + 1 < l.places.size() ? l.places[at + 1].begin : gap.end};
    }

    // Characters from..to of a stretch's text as the browser parsed it: from the
    // source where they begin and end on cuts, else in the editor's spelling.
    // What lies past the source's own text was moved in by the browser from
    // elsewhere in the source, which keeps it.
    void writeTextPart(const GapPlace& stretch, int from, int to) {
        const auto parsed = m_texts.constFind(stretch);
        if (parsed == m_texts.cend() || from < 0 || to < from || to > parsed->size())
            return;
        const std::optional<Span> span = stretchSpan(stretch);
        auto cuts = m_cuts.constFind(stretch);
        if (cuts == m_cuts.cend())
            cuts = m_cuts.insert(stretch, span ? alignSourceText(QStringView(m_src).mid(span->begin, span->end - span->begin),
                                                                 *parsed)
                                               : QList<TextCut>());
        if (!cuts->isEmpty()) {
            const qsizetype made = cuts->back().text;
            const qsizetype a = std::min<qsizetype>(from, made), b = std::min<qsizetype>(to, made);
            // Where several cuts meet one point (after a tag that made
            // nothing), the last: such a tag goes with the text before it.
            auto at = [&](qsizetype text) {
                const auto it = std::upper_bound(cuts->cbegin(), cuts->cend(), text,
                                                 [](qsizetype t, const TextCut& c) { return t < c.text; });
                return it != cuts->cbegin() && (it - 1)->text == text ? (it - 1)->source : qsizetype(-1);
            };
            const qsizetype sa = a == 0 ? 0 : at(a), sb = at(b);
            if (sa >= 0 && sb >= 0) {
                copy(span->begin + sa, span->begin + sb);
                return;
            }
        }
        m_out += withLineEnding(escapedText(QStringView(*parsed).mid(from, to - from)), m_map.eol);
    }

    bool isGenerator(int k) const {
        for (const GeneratorEdit& g : m_map.generators)
            if (g.element == k)
                return true;
        return false;
    }

    // The first generator meta names the surface, once; any other one goes.
    void emitGenerator(int k) {
        if (k != m_keptGenerator || m_generatorWritten)
            return;
        m_generatorWritten = true;
        const SourceElement& el = m_tree.elements[k];
        const GeneratorEdit& g = m_map.generators.front();
        copy(el.begin, g.replace.begin);
        m_out += g.replacement;
        copy(g.replace.end, el.end);
    }

    const QString& m_src;
    const PageMap& m_map;
    const SourceTree& m_tree;
    const QHash<int, QString>& m_changed;
    const QHash<GapPlace, QString>& m_texts;
    const QHash<int, int>& m_boundaries;
    std::unordered_map<int, GapLayout> m_layouts;  // per gap, once read
    QHash<GapPlace, QList<TextCut>> m_cuts;   // per stretch, once aligned
    QList<bool> m_affected;
    QList<bool> m_busy;
    QList<Frame> m_frames;
    int m_keptGenerator = -1;
    bool m_generatorWritten = false;
    bool m_insertGenerator = false;
    QString m_out;
};

}  // namespace

QString rebuildPage(const QString& source, const PageMap& map, const PageChanges& changes) {
    if (changes.elements.isEmpty())
        return source;
    return Rebuilder(source, map, changes).run();
}

PageChanges changedElements(const QJsonArray& items) {
    PageChanges changes;
    for (const QJsonValue& v : items) {
        const QJsonObject o = v.toObject();
        if (!o.value("id").isDouble())
            continue;
        changes.elements.insert(o.value("id").toInt(), o.value("html").toString());
        for (const QJsonValue& t : o.value("texts").toArray()) {
            const QJsonArray stretch = t.toArray();
            if ((stretch.size() == 2 || stretch.size() == 3) && stretch[0].isDouble())
                changes.texts.insert({stretch[0].toInt(), stretch.size() == 3 ? stretch[2].toInt(-1) : -1},
                                     stretch[1].toString());
        }
        for (const QJsonValue& g : o.value("gaps").toArray()) {
            const QJsonArray gap = g.toArray();
            if (gap.size() == 2 && gap[0].isDouble() && gap[1].isDouble())
                changes.boundaries.insert(gap[0].toInt(), gap[1].toInt());
        }
    }
    return changes;
}

}  // namespace orvane::fidelity
