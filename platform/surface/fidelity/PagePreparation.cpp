#include "PagePreparation.h"

#include "FidelityTokens.h"

#include <QJsonArray>
#include <QSet>
#include <cstdio>

namespace orvane::fidelity {
namespace {

// A small box the user can see, select and delete as a whole; one rule in
// the served head styles them all. Between block elements it is a block.
QString serverMarker(const StandIns& standIns, int n, bool block) {
    return QStringLiteral("<%1 %2=\"%3\" contenteditable=\"false\"></%1>")
        .arg(block ? QLatin1StringView("div") : QLatin1StringView("span"), QLatin1StringView(serverAttribute),
             standIns.serverValue(n));
}

QStringView attributeValue(const QString& text, const Attribute& a) {
    if (a.value.begin < 0)
        return {};
    return QStringView(text).mid(a.value.begin, a.value.end - a.value.begin);
}

bool holdsServerBlock(const QList<Span>& blocks, const Span& s) {
    const auto it = std::lower_bound(blocks.begin(), blocks.end(), s.begin,
                                     [](const Span& b, qsizetype p) { return b.begin < p; });
    return it != blocks.end() && it->begin < s.end;
}

QList<GeneratorEdit> generatorEdits(const QString& text, const PageMap& map) {
    QList<GeneratorEdit> edits;
    int withServerCode = -1;
    const QString name = QString::fromLatin1(generatorName);
    const SourceTree& tree = map.tree;
    const int metaName = int(tree.names.indexOf(QStringLiteral("meta")));
    for (qsizetype id = 0; metaName >= 0 && id < tree.elements.size(); ++id) {
        const SourceElement& el = tree.elements[id];
        if (el.name != metaName || el.implied)
            continue;
        const Token t = HtmlTokenizer::startTagAt(text, map.serverBlocks, el.begin);
        const Attribute* content = nullptr;
        bool generator = false;
        for (const Attribute& a : t.attributes) {
            if (a.name == u"name"_sv && attributeValue(text, a).trimmed().compare(u"generator"_sv, Qt::CaseInsensitive) == 0)
                generator = true;
            else if (a.name == u"content"_sv && !content)
                content = &a;
        }
        if (!generator)
            continue;
        if (holdsServerBlock(map.serverBlocks, t.span)) {
            if (withServerCode < 0)
                withServerCode = int(id);
            continue;
        }
        GeneratorEdit e;
        e.element = int(id);
        if (content && content->value.begin >= 0) {
            const bool quoted = content->value.begin > 0 &&
                                (text[content->value.begin - 1] == u'"' || text[content->value.begin - 1] == u'\'');
            e.replace = content->value;
            e.replacement = quoted ? name : u'"' + name + u'"';
        } else if (content) {
            e.replace = {content->nameSpan.end, content->nameSpan.end};
            e.replacement = QStringLiteral("=\"") + name + u'"';
        } else {
            qsizetype at = t.span.end;
            if (at > t.span.begin && text[at - 1] == u'>')
                --at;
            if (t.selfClosing && at > t.span.begin && text[at - 1] == u'/')
                --at;
            while (at > t.nameEnd && text[at - 1].isSpace())
                --at;
            e.replace = {at, at};
            e.replacement = QStringLiteral(" Content=\"") + name + u'"';
        }
        edits.append(e);
    }
    // Before it, not after: a server comment left open in the tag runs to
    // the end of the page and would take in what follows.
    if (edits.isEmpty() && withServerCode >= 0) {
        const qsizetype begin = tree.elements[withServerCode].begin;
        edits.append({withServerCode, {begin, begin}, generatorMeta() + map.eol});
    }
    return edits;
}

const QSet<QString>& inlineFormatting() {
    static const QSet<QString> s{"a", "abbr", "b", "big", "cite", "code", "del", "dfn", "em", "font",
                                 "i", "ins", "kbd", "nobr", "q", "s", "samp", "small", "span", "strike",
                                 "strong", "sub", "sup", "tt", "u", "var"};
    return s;
}

// The size of the text in UTF-8 (a lone surrogate takes the three bytes of
// the replacement character).
qsizetype utf8Size(QStringView text) {
    qsizetype size = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            size += 1;
        else if (c < 0x800)
            size += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            size += 4, ++i;
        else
            size += 3;
    }
    return size;
}

}  // namespace

QString generatorMeta() {
    return QStringLiteral("<META NAME=\"GENERATOR\" Content=\"") + QLatin1StringView(generatorName) +
           QStringLiteral("\">");
}

bool carriesId(const SourceTree& tree, int k) {
    return tree.elements[k].implied || !inlineFormatting().contains(tree.nameOf(k));
}

QString pageLineEnding(const QString& text) {
    qsizetype crlf = 0, lf = 0, cr = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (text[i] == u'\n') {
            ++lf;
        }
    }
    if (lf > crlf && lf >= cr)
        return QStringLiteral("\n");
    if (cr > crlf && cr > lf)
        return QStringLiteral("\r");
    return QStringLiteral("\r\n");
}

PreparedPage preparePage(const QString& text) {
    PreparedPage page;
    PageMap& map = page.map;
    map.serverBlocks = findServerBlocks(text);
    map.tree = buildSourceTree(text, map.serverBlocks);
    map.eol = pageLineEnding(text);
    map.standIns.marker = randomMarker();
    map.generators = generatorEdits(text, map);
    const SourceTree& tree = map.tree;
    const QList<Span>& blocks = map.serverBlocks;

    // What goes in a server block's place.
    auto standIn = [&](int n) {
        if (tree.serverInline[n])
            return map.standIns.server(n);
        if (tree.serverInContent[n])
            return serverMarker(map.standIns, n, tree.serverAsBlock[n]);
        return map.standIns.serverComment(n);
    };
    // Ids go after the name of every start tag that made an element; the
    // elements were made in text order. Written as UTF-8 and sized first: a
    // big page is neither held twice nor grown by doubling. The value goes
    // unquoted where white space or the tag's end follows (a "/" would join
    // an unquoted value).
    auto carries = [&](int k) { return !tree.elements[k].implied; };
    // Element k's id attribute, written into buf (which it fits); its size.
    char buf[32];
    auto writeId = [&](int k) {
        const qsizetype at = tree.elements[k].nameEnd;
        const bool quoted = at >= text.size() || !(isHtmlSpace(text[at]) || text[at] == u'>');
        const int n = std::snprintf(buf, sizeof buf, quoted ? " %s=\"%d%s\"" : " %s=%d%s", idAttribute, k,
                                    carriesId(tree, k) ? "" : inlineIdSuffix);
        return qsizetype(n);
    };
    qsizetype size = utf8Size(text);
    for (int k = 0; k < tree.elements.size(); ++k)
        if (carries(k))
            size += writeId(k);
    for (int n = 0; n < blocks.size(); ++n)
        size += utf8Size(standIn(n)) - utf8Size(QStringView(text).mid(blocks[n].begin, blocks[n].end - blocks[n].begin));

    QByteArray& out = page.browserText;
    out.reserve(size);
    qsizetype pos = 0;
    int k = 0, n = 0;
    while (true) {
        while (k < tree.elements.size() && !carries(k))
            ++k;
        const bool idLeft = k < tree.elements.size(), blockLeft = n < blocks.size();
        if (!idLeft && !blockLeft)
            break;
        if (blockLeft && (!idLeft || blocks[n].begin < tree.elements[k].nameEnd)) {
            out += QStringView(text).mid(pos, blocks[n].begin - pos).toUtf8();
            out += standIn(n).toUtf8();
            pos = blocks[n].end;
            ++n;
        } else {
            const qsizetype at = tree.elements[k].nameEnd;
            out += QStringView(text).mid(pos, at - pos).toUtf8();
            out.append(buf, writeId(k));
            pos = at;
            ++k;
        }
    }
    out += QStringView(text).mid(pos).toUtf8();
    return page;
}

QJsonObject scriptMap(const PageMap& map) {
    const SourceTree& tree = map.tree;
    QJsonArray parents;
    for (const SourceElement& el : tree.elements)
        parents.append(el.parent);
    QJsonArray unsettled;
    for (int k : tree.unsettled)
        unsettled.append(k);
    QJsonObject implied;
    auto addImplied = [&](const char* name, int k) {
        if (k >= 0 && tree.elements[k].implied)
            implied.insert(QLatin1StringView(name), k);
    };
    addImplied("html", tree.html);
    addImplied("head", tree.head);
    addImplied("body", tree.body);
    QJsonArray generators;
    for (const GeneratorEdit& g : map.generators)
        generators.append(g.element);
    return QJsonObject{{"parents", parents}, {"unsettled", unsettled}, {"implied", implied},
                       {"generators", generators}, {"marker", map.standIns.marker},
                       {"trailingSpace", tree.trailingSpace}};
}

}  // namespace orvane::fidelity
