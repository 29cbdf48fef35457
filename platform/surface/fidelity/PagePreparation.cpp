#include "PagePreparation.h"

#include "FidelityTokens.h"

#include <QJsonArray>
#include <QSet>

namespace orvane::fidelity {
namespace {

// A small box the user can see, select and delete as a whole. Styled inline:
// a style sheet would make the browser restyle the whole page.
QString serverMarker(int n) {
    return QStringLiteral("<span %1=\"%2\" contenteditable=\"false\" title=\"Server script\" "
                          "style=\"display:inline-block;width:1.4em;height:0.9em;vertical-align:middle;"
                          "background:#ffe08a;border:1px solid #b8860b\"></span>")
        .arg(QLatin1StringView(serverAttribute))
        .arg(n);
}

QString serverComment(int n) {
    return QStringLiteral("<!--") + serverToken(n) + QStringLiteral("-->");
}

QStringView attributeValue(const QString& text, const Attribute& a) {
    if (a.value.begin < 0)
        return {};
    return QStringView(text).mid(a.value.begin, a.value.end - a.value.begin);
}

QList<GeneratorEdit> generatorEdits(const QString& text, const Tokenized& tokens, const SourceTree& tree) {
    QList<GeneratorEdit> edits;
    const QString name = QString::fromLatin1(generatorName);
    for (qsizetype id = 0; id < tree.elements.size(); ++id) {
        const SourceElement& el = tree.elements[id];
        if (el.name != u"meta" || el.token < 0)
            continue;
        const Token& t = tokens.tokens[el.token];
        const Attribute* content = nullptr;
        bool generator = false;
        for (const Attribute& a : t.attributes) {
            if (a.name == u"name" && attributeValue(text, a).trimmed().compare(u"generator", Qt::CaseInsensitive) == 0)
                generator = true;
            else if (a.name == u"content" && !content)
                content = &a;
        }
        if (!generator)
            continue;
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
    return edits;
}

const QSet<QString>& inlineFormatting() {
    static const QSet<QString> s{"a", "abbr", "b", "big", "cite", "code", "del", "dfn", "em", "font",
                                 "i", "ins", "kbd", "nobr", "q", "s", "samp", "small", "span", "strike",
                                 "strong", "sub", "sup", "tt", "u", "var"};
    return s;
}

// The nearest ancestor of element k that carries an id in the browser.
int markedParent(const SourceTree& tree, int k) {
    int p = tree.elements[k].parent;
    while (p >= 0 && !carriesId(tree.elements[p]))
        p = tree.elements[p].parent;
    return p;
}

}  // namespace

bool carriesId(const SourceElement& element) {
    return element.implied || !inlineFormatting().contains(element.name);
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
    const Tokenized tokens = tokenize(text);
    PreparedPage page;
    page.map.tree = buildSourceTree(text, tokens);
    page.map.serverBlocks = tokens.serverBlocks;
    page.map.generators = generatorEdits(text, tokens, page.map.tree);
    page.map.eol = pageLineEnding(text);

    // Where ids go: after the name of every start tag that made an element.
    QList<std::pair<qsizetype, int>> ids;
    ids.reserve(page.map.tree.elements.size());
    for (qsizetype k = 0; k < page.map.tree.elements.size(); ++k)
        if (!page.map.tree.elements[k].implied && carriesId(page.map.tree.elements[k]))
            ids.append({page.map.tree.elements[k].nameEnd, int(k)});

    QString& out = page.browserText;
    out.reserve(text.size() + ids.size() * 20);
    const QList<Span>& blocks = tokens.serverBlocks;
    const QString idPrefix = u' ' + QLatin1StringView(idAttribute) + QStringLiteral("=\"");
    qsizetype pos = 0, nextId = 0, nextBlock = 0;
    while (nextId < ids.size() || nextBlock < blocks.size()) {
        const bool blockFirst = nextBlock < blocks.size() &&
                                (nextId >= ids.size() || blocks[nextBlock].begin < ids[nextId].first);
        if (blockFirst) {
            const int n = int(nextBlock++);
            out += QStringView(text).mid(pos, blocks[n].begin - pos);
            if (tokens.serverInline[n])
                out += serverToken(n);
            else if (page.map.tree.serverInContent[n])
                out += serverMarker(n);
            else
                out += serverComment(n);
            pos = blocks[n].end;
        } else {
            const auto [at, k] = ids[nextId++];
            out += QStringView(text).mid(pos, at - pos);
            out += idPrefix;
            out += QString::number(k);
            out += u'"';
            pos = at;
        }
    }
    out += QStringView(text).mid(pos);
    return page;
}

QJsonObject scriptMap(const PageMap& map) {
    const SourceTree& tree = map.tree;
    QJsonArray parents;
    for (int k = 0; k < tree.elements.size(); ++k)
        parents.append(carriesId(tree.elements[k]) ? markedParent(tree, k) : -1);
    QJsonArray unsettled;
    for (int k : tree.unsettled)
        if (carriesId(tree.elements[k]))
            unsettled.append(k);
    QJsonObject implied;
    auto addImplied = [&](const char* name, int k) {
        if (k >= 0 && tree.elements[k].implied)
            implied.insert(QLatin1StringView(name), k);
    };
    addImplied("html", tree.html);
    addImplied("head", tree.head);
    addImplied("body", tree.body);
    return QJsonObject{{"parents", parents}, {"unsettled", unsettled}, {"implied", implied}};
}

}  // namespace orvane::fidelity
