#include "PageRebuild.h"

#include "FidelityTokens.h"

#include <QJsonObject>

namespace orvane::fidelity {
namespace {

QString generatorMeta() {
    return QStringLiteral("<META NAME=\"GENERATOR\" Content=\"") + QLatin1StringView(generatorName) +
           QStringLiteral("\">");
}

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

// End of the first tag of serialised HTML (attribute values are double-quoted).
qsizetype firstTagEnd(const QString& html) {
    bool quoted = false;
    for (qsizetype i = 0; i < html.size(); ++i) {
        if (html[i] == u'"')
            quoted = !quoted;
        else if (html[i] == u'>' && !quoted)
            return i + 1;
    }
    return -1;
}

class Rebuilder {
public:
    Rebuilder(const QString& source, const PageMap& map, const QHash<int, QString>& changed)
        : m_src(source), m_map(map), m_tree(map.tree), m_changed(changed),
          m_affected(map.tree.elements.size(), false), m_busy(map.tree.elements.size(), false) {}

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
        qsizetype pos = 0;
        for (int root : m_tree.roots)
            pos = emitChild(pos, root);
        copy(pos, m_src.size());
        return std::move(m_out);
    }

private:
    bool valid(int k) const { return k >= 0 && k < m_tree.elements.size(); }

    void markAffected(int k) {
        for (; valid(k) && !m_affected[k]; k = m_tree.elements[k].parent)
            m_affected[k] = true;
    }

    void copy(qsizetype from, qsizetype to) {
        if (to > from)
            m_out += QStringView(m_src).mid(from, to - from);
    }

    // Copies the source up to child k, writes k when it is affected, and
    // returns where the copy goes on.
    qsizetype emitChild(qsizetype pos, int k) {
        if (!m_affected[k])
            return pos;
        const Span& s = m_tree.elements[k].span;
        copy(pos, s.begin);
        writeElement(k);
        return s.end;
    }

    void writeElement(int k) {
        if (!valid(k) || m_busy[k])
            return;
        m_busy[k] = true;
        if (auto it = m_changed.constFind(k); it != m_changed.cend())
            expand(*it, k);
        else if (isGenerator(k))
            emitGenerator(k);
        else
            copyElement(k);
        m_busy[k] = false;
    }

    bool isGenerator(int k) const {
        for (const GeneratorEdit& g : m_map.generators)
            if (g.element == k)
                return true;
        return false;
    }

    // The first generator meta names the surface; any other one goes.
    void emitGenerator(int k) {
        if (k != m_keptGenerator)
            return;
        const SourceElement& el = m_tree.elements[k];
        const GeneratorEdit& g = m_map.generators.front();
        copy(el.span.begin, g.replace.begin);
        m_out += g.replacement;
        copy(g.replace.end, el.span.end);
    }

    void copyElement(int k) {
        const SourceElement& el = m_tree.elements[k];
        qsizetype pos = el.span.begin;
        if (k == m_tree.head && m_insertGenerator) {
            if (el.implied) {
                m_out += generatorMeta() + m_map.eol;
            } else {
                copy(pos, el.startTagEnd);
                m_out += m_map.eol + generatorMeta();
                pos = el.startTagEnd;
            }
        }
        for (int child : el.children)
            pos = emitChild(pos, child);
        copy(pos, el.span.end);
    }

    // Serialised HTML with its tokens resolved.
    void expand(const QString& serialised, int k) {
        QString html = withLineEnding(serialised, m_map.eol);
        if (k == m_tree.head && m_insertGenerator) {
            const qsizetype at = firstTagEnd(html);
            if (at >= 0)
                html.insert(at, m_map.eol + generatorMeta());
        }
        qsizetype pos = 0;
        const qsizetype n = html.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = html[i].unicode();
            if (c != serverOpen && c != keepOpen)
                continue;
            const char16_t close = c == serverOpen ? serverClose : keepClose;
            qsizetype j = i + 1;
            while (j < n && html[j].isDigit())
                ++j;
            if (j == i + 1 || j >= n || html[j].unicode() != close)
                continue;
            bool ok = false;
            const int ref = QStringView(html).mid(i + 1, j - i - 1).toInt(&ok);
            if (!ok)
                continue;
            m_out += QStringView(html).mid(pos, i - pos);
            if (c == serverOpen) {
                if (ref < m_map.serverBlocks.size()) {
                    const Span& b = m_map.serverBlocks[ref];
                    copy(b.begin, b.end);
                }
            } else {
                writeElement(ref);
            }
            pos = j + 1;
            i = j;
        }
        m_out += QStringView(html).mid(pos);
    }

    const QString& m_src;
    const PageMap& m_map;
    const SourceTree& m_tree;
    const QHash<int, QString>& m_changed;
    QList<bool> m_affected;
    QList<bool> m_busy;
    int m_keptGenerator = -1;
    bool m_insertGenerator = false;
    QString m_out;
};

}  // namespace

QString rebuildPage(const QString& source, const PageMap& map, const QHash<int, QString>& changed) {
    if (changed.isEmpty())
        return source;
    return Rebuilder(source, map, changed).run();
}

QHash<int, QString> changedElements(const QJsonArray& items) {
    QHash<int, QString> changed;
    for (const QJsonValue& v : items) {
        const QJsonObject o = v.toObject();
        if (o.value("id").isDouble())
            changed.insert(o.value("id").toInt(), o.value("html").toString());
    }
    return changed;
}

}  // namespace orvane::fidelity
