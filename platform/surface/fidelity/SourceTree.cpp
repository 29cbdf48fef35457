#include "SourceTree.h"

#include <QSet>

#include <string_view>
#include <unordered_map>

namespace orvane::fidelity {
namespace {

using Names = QSet<QString>;

const Names& voidElements() {
    static const Names s{"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr",
                         "image", "img", "input", "keygen", "link", "meta", "param", "source", "track", "wbr"};
    return s;
}

// Start tags that close an open paragraph.
const Names& paragraphClosers() {
    static const Names s{"address", "article", "aside", "blockquote", "center", "details", "dialog",
                         "dir", "div", "dl", "fieldset", "figcaption", "figure", "footer", "header",
                         "hgroup", "main", "menu", "nav", "ol", "p", "section", "summary", "ul", "h1",
                         "h2", "h3", "h4", "h5", "h6", "pre", "listing", "form", "hr", "xmp",
                         "plaintext", "table", "li", "dd", "dt"};
    return s;
}

const Names& specialElements() {
    static const Names s{
        "address", "applet", "area", "article", "aside", "base", "basefont", "bgsound", "blockquote",
        "body", "br", "button", "caption", "center", "col", "colgroup", "dd", "details", "dir", "div",
        "dl", "dt", "embed", "fieldset", "figcaption", "figure", "footer", "form", "frame", "frameset",
        "h1", "h2", "h3", "h4", "h5", "h6", "head", "header", "hgroup", "hr", "html", "iframe", "img",
        "input", "keygen", "li", "link", "listing", "main", "marquee", "menu", "meta", "nav", "noembed",
        "noframes", "noscript", "object", "ol", "p", "param", "plaintext", "pre", "script", "section",
        "select", "source", "style", "summary", "table", "tbody", "td", "template", "textarea",
        "tfoot", "th", "thead", "title", "tr", "track", "ul", "wbr", "xmp"};
    return s;
}

const Names& headContent() {
    static const Names s{"base", "basefont", "bgsound", "link", "meta", "noframes", "script",
                         "style", "template", "title", "noscript"};
    return s;
}

const Names& formattingElements() {
    static const Names s{"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small",
                         "strike", "strong", "tt", "u"};
    return s;
}

// End tags that close their element when it is in scope, with what is open inside it.
const Names& blockEndTags() {
    static const Names s{"address", "article", "aside", "blockquote", "button", "center", "details",
                         "dialog", "dir", "div", "dl", "fieldset", "figcaption", "figure", "footer",
                         "header", "hgroup", "listing", "main", "menu", "nav", "ol", "pre", "section",
                         "summary", "ul", "dd", "dt", "applet", "marquee", "object"};
    return s;
}

const Names& tableStructure() {
    static const Names s{"caption", "col", "colgroup", "tbody", "td", "tfoot", "th", "thead", "tr"};
    return s;
}

// Where a block box may stand among the children without the parser moving
// anything: no paragraph can be open inside these.
const Names& flowContainers() {
    static const Names s{"body", "div", "td", "th", "li", "dd", "blockquote", "center", "form"};
    return s;
}

bool isHeading(const QString& n) {
    return n.size() == 2 && n[0] == u'h' && n[1] >= u'1' && n[1] <= u'6';
}

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// No doctype, or one of the old HTML doctypes, puts the browser in quirks
// mode, where a table does not close an open paragraph.
bool quirksDoctype(QStringView doctype) {
    const QString d = doctype.toString().toLower().simplified();
    if (d == u"<!doctype html>"_sv)
        return false;
    if (d.contains(u"xhtml"_sv))
        return false;
    const bool systemId = d.contains(u"http://www.w3.org/tr/html4"_sv) || d.contains(u"http://www.w3.org/tr/rec-html40"_sv);
    if (d.contains(u"html 4.01 transitional"_sv) || d.contains(u"html 4.01 frameset"_sv))
        return !systemId;
    return d.contains(u"html 4.0 transitional"_sv) || d.contains(u"html 4.0 frameset"_sv) || d.contains(u"html 3"_sv) ||
           d.contains(u"html 2"_sv) || d.contains(u"html level"_sv) || d.contains(u"html strict level"_sv) ||
           !d.contains(u"html"_sv);
}

enum class Scope { Default, Button, ListItem, Table };

enum class TableMode { None, Table, TableBody, Row, Cell, Caption, ColGroup, Select };

class Builder {
public:
    Builder(const QString& text, const QList<Span>& blocks)
        : m_text(text), m_tokenizer(text, blocks) {
        m_tree.serverInContent.resize(blocks.size());
        m_tree.serverAsBlock.resize(blocks.size());
        // Every start tag makes at most one element.
        qsizetype tags = 3;
        for (qsizetype i = text.indexOf(u'<'); i >= 0 && i + 1 < text.size(); i = text.indexOf(u'<', i + 1))
            if (isAsciiLetter(text[i + 1]))
                ++tags;
        m_tree.elements.reserve(tags);
    }

    SourceTree run() {
        Token t;
        while (m_tokenizer.next(t))
            process(t);
        if (m_blockCandidate >= 0 && current() == m_candidateParent)
            m_tree.serverAsBlock[m_blockCandidate] = true;
        const qsizetype end = m_text.size();
        if (m_tree.html < 0)
            implyHtml(end);
        if (m_stack.size() > 0 && m_stack.front() == m_tree.html)
            ensureHeadAndBody(end);
        popFrom(0, end);
        m_tree.serverInline = m_tokenizer.serverInline();
        m_tree.unsettled = QList<int>(m_unsettled.begin(), m_unsettled.end());
        std::sort(m_tree.unsettled.begin(), m_tree.unsettled.end());
        m_tree.elements.squeeze();
        m_tree.trailingSpace.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        return std::move(m_tree);
    }

private:
    enum Mode { BeforeHtml, BeforeHead, InHead, AfterHead, AfterHeadElement, InBody, InFrameset, AfterBody };

    // ---- names ----

    static std::u16string_view key(QStringView n) { return {reinterpret_cast<const char16_t*>(n.utf16()), size_t(n.size())}; }

    int intern(const QString& name) {
        const auto it = m_ids.find(key(name));
        if (it != m_ids.end())
            return it->second;
        const int id = int(m_tree.names.size());
        m_tree.names.append(name);
        // The list's strings are never changed, so a view of one stays valid.
        const QString& kept = m_tree.names.back();
        m_ids.emplace(key(kept), id);
        m_open.append(0);
        return id;
    }

    int idOf(QStringView n) const {
        const auto it = m_ids.find(key(n));
        return it == m_ids.end() ? -1 : it->second;
    }

    // How many elements of that name are open.
    int openCount(QStringView n) const {
        const int id = idOf(n);
        return id < 0 ? 0 : m_open[id];
    }

    // ---- the tree and the stack of open elements ----

    const QString& nameOf(int e) const { return m_tree.nameOf(e); }
    int current() const { return m_stack.isEmpty() ? -1 : m_stack.back(); }
    bool currentIs(QStringView n) const { return current() >= 0 && nameOf(current()) == n; }

    static bool setsTableMode(const QString& n) {
        return n == u"td"_sv || n == u"th"_sv || n == u"tr"_sv || n == u"tbody"_sv || n == u"thead"_sv || n == u"tfoot"_sv ||
               n == u"caption"_sv || n == u"colgroup"_sv || n == u"table"_sv || n == u"select"_sv || n == u"body"_sv ||
               n == u"html"_sv;
    }

    void push(int e) {
        m_stack.append(e);
        ++m_open[m_tree.elements[e].name];
        if (setsTableMode(nameOf(e)))
            m_modeStack.append(int(m_stack.size() - 1));
    }

    int create(const QString& name, qsizetype begin, qsizetype startTagEnd, qsizetype nameEnd, bool implied = false) {
        SourceElement el;
        el.name = intern(name);
        el.begin = qint32(begin);
        el.end = qint32(startTagEnd);
        el.tagEnd = qint32(startTagEnd);
        el.close = qint32(startTagEnd);
        el.nameEnd = qint32(nameEnd);
        el.parent = current();
        el.implied = implied;
        const int id = int(m_tree.elements.size());
        m_tree.elements.append(el);
        m_lastChild.append(-1);
        m_depth.append(el.parent >= 0 ? m_depth[el.parent] + 1 : 0);
        if (el.parent >= 0) {
            int& last = m_lastChild[el.parent];
            if (last >= 0)
                m_tree.elements[last].nextSibling = id;
            else
                m_tree.elements[el.parent].firstChild = id;
            last = id;
        } else {
            if (!m_tree.roots.isEmpty())
                m_tree.elements[m_tree.roots.back()].nextSibling = id;
            m_tree.roots.append(id);
        }
        if (name == u"frameset"_sv)
            m_sawFrameset = true;
        return id;
    }

    int createFrom(const Token& t) { return create(t.name, t.span.begin, t.span.end, t.nameEnd); }

    int implied(const char* name, qsizetype at) { return create(QString::fromLatin1(name), at, at, at, true); }

    // Pops the stack from index i up, every element ending at `end`.
    void popFrom(qsizetype i, qsizetype end) {
        if (i < 0)
            return;
        while (m_stack.size() > i) {
            const int e = m_stack.back();
            m_tree.elements[e].end = qint32(end);
            m_tree.elements[e].close = qint32(end);
            --m_open[m_tree.elements[e].name];
            m_stack.removeLast();
            if (!m_modeStack.isEmpty() && m_modeStack.back() >= m_stack.size())
                m_modeStack.removeLast();
        }
    }

    // Closes the element at stack index i with the end tag t: it ends after
    // the tag, the elements above it where the tag begins.
    void closeWith(qsizetype i, const Token& t) {
        const int e = i >= 0 && i < m_stack.size() ? m_stack[i] : -1;
        popFrom(i + 1, t.span.begin);
        popFrom(i, t.span.end);
        if (e >= 0)
            m_tree.elements[e].close = qint32(t.span.begin);
    }

    // The counts of open elements keep every search of the stack for a
    // name that is not open, however deep the page nests, from scanning it.
    qsizetype findOnStack(QStringView n) const {
        const int id = idOf(n);
        if (id < 0 || m_open[id] == 0)
            return -1;
        for (qsizetype i = m_stack.size() - 1; i >= 0; --i)
            if (m_tree.elements[m_stack[i]].name == id)
                return i;
        return -1;
    }

    static bool isScopeBoundary(const QString& n, Scope scope) {
        if (scope == Scope::Table)
            return n == u"html"_sv || n == u"table"_sv || n == u"template"_sv;
        if (n == u"applet"_sv || n == u"caption"_sv || n == u"html"_sv || n == u"table"_sv || n == u"td"_sv ||
            n == u"th"_sv || n == u"marquee"_sv || n == u"object"_sv || n == u"template"_sv)
            return true;
        if (scope == Scope::Button)
            return n == u"button"_sv;
        if (scope == Scope::ListItem)
            return n == u"ol"_sv || n == u"ul"_sv;
        return false;
    }

    qsizetype findInScope(std::initializer_list<QStringView> names, Scope scope) const {
        bool anyOpen = false;
        for (QStringView want : names)
            anyOpen = anyOpen || openCount(want) > 0;
        if (!anyOpen)
            return -1;
        for (qsizetype i = m_stack.size() - 1; i >= 0; --i) {
            const QString& n = nameOf(m_stack[i]);
            for (QStringView want : names)
                if (n == want)
                    return i;
            if (isScopeBoundary(n, scope))
                return -1;
        }
        return -1;
    }

    void closeParagraph(qsizetype at) { popFrom(findInScope({u"p"_sv}, Scope::Button), at); }

    bool inForeign() const { return openCount(u"svg"_sv) > 0 || openCount(u"math"_sv) > 0; }

    // What the innermost table part, select, body or html on the stack makes of the next tag.
    TableMode tableMode() const {
        if (m_modeStack.isEmpty())
            return TableMode::None;
        const QString& n = nameOf(m_stack[m_modeStack.back()]);
        if (n == u"td"_sv || n == u"th"_sv)
            return TableMode::Cell;
        if (n == u"tr"_sv)
            return TableMode::Row;
        if (n == u"tbody"_sv || n == u"thead"_sv || n == u"tfoot"_sv)
            return TableMode::TableBody;
        if (n == u"caption"_sv)
            return TableMode::Caption;
        if (n == u"colgroup"_sv)
            return TableMode::ColGroup;
        if (n == u"table"_sv)
            return TableMode::Table;
        if (n == u"select"_sv)
            return TableMode::Select;
        return TableMode::None;
    }

    bool currentTakesNoText() const {
        const int c = current();
        if (c < 0)
            return false;
        const QString& n = nameOf(c);
        return n == u"table"_sv || n == u"tbody"_sv || n == u"thead"_sv || n == u"tfoot"_sv || n == u"tr"_sv;
    }

    // Where the browser puts what it moves out of a table: before the table,
    // in the table's parent.
    int fosterParent() const {
        const qsizetype t = findOnStack(u"table"_sv);
        return t >= 0 ? m_tree.elements[m_stack[t]].parent : current();
    }

    // Content whose source parent is srcParent lives under domParent in the
    // browser: the elements between either and their lowest common ancestor
    // cannot be taken from the source as they stand. Walks only that far.
    void unsettle(int srcParent, int domParent) {
        int a = srcParent, b = domParent;
        auto depth = [&](int e) { return e < 0 ? -1 : m_depth[e]; };
        while (a != b) {
            if (depth(a) >= depth(b)) {
                m_unsettled.insert(a);
                a = m_tree.elements[a].parent;
            } else {
                m_unsettled.insert(b);
                b = m_tree.elements[b].parent;
            }
        }
    }

    void unsettleStackFrom(qsizetype i) {
        for (qsizetype k = std::max<qsizetype>(i, 0); k < m_stack.size(); ++k)
            m_unsettled.insert(m_stack[k]);
    }

    // ---- implied html, head and body ----

    void implyHtml(qsizetype at) {
        m_tree.html = implied("html", at);
        push(m_tree.html);
    }

    void ensureHeadAndBody(qsizetype at) {
        popFrom(1, at);
        if (m_tree.head < 0) {
            m_tree.head = implied("head", at);
        }
        if (m_tree.body < 0 && findOnStack(u"frameset"_sv) < 0 && !m_sawFrameset)
            m_tree.body = implied("body", at);
    }

    qsizetype firstNonSpace(const Span& s) const {
        qsizetype p = s.begin;
        while (p < s.end && isHtmlSpace(m_text[p]))
            ++p;
        return p;
    }

    // ---- tokens ----

    void process(const Token& t) {
        switch (m_mode) {
        case BeforeHtml: beforeHtml(t); break;
        case BeforeHead: beforeHead(t); break;
        case InHead: inHead(t); break;
        case AfterHead: afterHead(t); break;
        case AfterHeadElement: afterHeadElement(t); break;
        case InBody: inBodyBetweenBlocks(t); break;
        case InFrameset: inFrameset(t); break;
        case AfterBody: afterBody(t); break;
        }
    }

    void beforeHtml(const Token& t) {
        if (t.kind == Token::Doctype) {
            m_quirks = quirksDoctype(QStringView(m_text).mid(t.span.begin, t.span.end - t.span.begin));
            return;
        }
        if (t.kind == Token::Comment || t.kind == Token::Server || t.kind == Token::CData ||
            (t.kind == Token::Text && firstNonSpace(t.span) == t.span.end))
            return;
        if (t.kind == Token::StartTag && t.name == u"html"_sv) {
            m_tree.html = createFrom(t);
            push(m_tree.html);
            m_mode = BeforeHead;
            return;
        }
        implyHtml(t.kind == Token::Text ? firstNonSpace(t.span) : t.span.begin);
        m_mode = BeforeHead;
        process(t);
    }

    void beforeHead(const Token& t) {
        if (t.kind == Token::Comment || t.kind == Token::Server || t.kind == Token::Doctype ||
            t.kind == Token::CData || (t.kind == Token::Text && firstNonSpace(t.span) == t.span.end))
            return;
        if (t.kind == Token::StartTag && t.name == u"html"_sv)
            return;
        if (t.kind == Token::StartTag && t.name == u"head"_sv) {
            m_tree.head = createFrom(t);
            push(m_tree.head);
            m_mode = InHead;
            return;
        }
        if (t.kind == Token::EndTag && t.name != u"head"_sv && t.name != u"body"_sv && t.name != u"html"_sv &&
            t.name != u"br"_sv)
            return;
        m_tree.head = implied("head", t.kind == Token::Text ? firstNonSpace(t.span) : t.span.begin);
        push(m_tree.head);
        m_mode = InHead;
        process(t);
    }

    void leaveHead(qsizetype at) {
        const qsizetype h = findOnStack(u"head"_sv);
        popFrom(h, at);
        m_mode = AfterHead;
    }

    void inHead(const Token& t) {
        switch (t.kind) {
        case Token::Comment:
        case Token::Doctype:
        case Token::CData:
        case Token::Server:
            return;
        case Token::Text:
            if (currentIs(u"head"_sv) && firstNonSpace(t.span) < t.span.end) {
                leaveHead(firstNonSpace(t.span));
                process(t);
            }
            return;
        case Token::StartTag:
            if (t.name == u"html"_sv || t.name == u"head"_sv)
                return;
            if (headContent().contains(t.name)) {
                const int e = createFrom(t);
                if (!voidElements().contains(t.name))
                    push(e);
                return;
            }
            leaveHead(t.span.begin);
            process(t);
            return;
        case Token::EndTag:
            if (t.name == u"head"_sv) {
                const qsizetype h = findOnStack(u"head"_sv);
                closeWith(h, t);
                m_mode = AfterHead;
                return;
            }
            if (t.name == u"body"_sv || t.name == u"html"_sv || t.name == u"br"_sv) {
                leaveHead(t.span.begin);
                process(t);
                return;
            }
            if (const qsizetype i = findOnStack(t.name); i > findOnStack(u"head"_sv))
                closeWith(i, t);
            return;
        }
    }

    void afterHead(const Token& t) {
        if (t.kind == Token::Comment || t.kind == Token::Server || t.kind == Token::Doctype ||
            t.kind == Token::CData || (t.kind == Token::Text && firstNonSpace(t.span) == t.span.end))
            return;
        if (t.kind == Token::StartTag) {
            if (t.name == u"body"_sv) {
                m_tree.body = createFrom(t);
                push(m_tree.body);
                m_mode = InBody;
                return;
            }
            if (t.name == u"frameset"_sv) {
                push(createFrom(t));
                m_mode = InFrameset;
                return;
            }
            if (t.name == u"html"_sv || t.name == u"head"_sv)
                return;
            if (t.name == u"base"_sv || t.name == u"basefont"_sv || t.name == u"bgsound"_sv || t.name == u"link"_sv ||
                t.name == u"meta"_sv || t.name == u"noframes"_sv || t.name == u"script"_sv || t.name == u"style"_sv ||
                t.name == u"template"_sv || t.name == u"title"_sv) {
                // The browser puts these back into the head; their text and
                // end tag are theirs, not the start of the body.
                const int e = createFrom(t);
                m_unsettled.insert(e);
                if (!voidElements().contains(t.name)) {
                    push(e);
                    m_afterHeadElement = m_stack.size() - 1;
                    m_mode = AfterHeadElement;
                }
                return;
            }
        }
        if (t.kind == Token::EndTag) {
            if (t.name != u"body"_sv && t.name != u"html"_sv && t.name != u"br"_sv) {
                if (const qsizetype i = findOnStack(t.name); i > 0)
                    closeWith(i, t);
                return;
            }
        }
        m_tree.body = implied("body", t.kind == Token::Text ? firstNonSpace(t.span) : t.span.begin);
        push(m_tree.body);
        m_mode = InBody;
        process(t);
    }

    // Inside a head element met after the head: up to its end tag.
    void afterHeadElement(const Token& t) {
        if (t.kind == Token::StartTag) {
            const int e = createFrom(t);
            if (!voidElements().contains(t.name))
                push(e);
        } else if (t.kind == Token::EndTag) {
            const qsizetype i = findOnStack(t.name);
            if (i >= m_afterHeadElement)
                closeWith(i, t);
            if (m_stack.size() <= m_afterHeadElement)
                m_mode = AfterHead;
        }
    }

    void inFrameset(const Token& t) {
        if (t.kind == Token::StartTag) {
            if (t.name == u"frameset"_sv || t.name == u"noframes"_sv)
                push(createFrom(t));
            else if (t.name == u"frame"_sv)
                createFrom(t);
        } else if (t.kind == Token::EndTag) {
            if (const qsizetype i = findOnStack(t.name); i > 0)
                closeWith(i, t);
        }
    }

    void afterBody(const Token& t) {
        if (t.kind == Token::Text && firstNonSpace(t.span) == t.span.end) {
            if (m_tree.body >= 0)
                m_tree.trailingSpace += QStringView(m_text).mid(t.span.begin, t.span.end - t.span.begin);
            return;
        }
        if (t.kind == Token::Comment || t.kind == Token::Server || t.kind == Token::Doctype ||
            t.kind == Token::CData)
            return;
        if (t.kind == Token::EndTag && t.name == u"html"_sv) {
            if (const qsizetype i = findOnStack(u"html"_sv); i >= 0)
                closeWith(i, t);
            return;
        }
        // Anything else goes back into the body in the browser.
        m_tree.trailingSpace.clear();
        m_mode = InBody;
        m_afterBody = true;
        process(t);
    }

    void inBody(const Token& t) {
        switch (t.kind) {
        case Token::Comment:
        case Token::Doctype:
        case Token::CData:
            return;
        case Token::Server:
            m_tree.serverInContent[t.server] = serverInContent();
            return;
        case Token::Text:
            textInBody(t);
            return;
        case Token::StartTag:
            startInBody(t);
            return;
        case Token::EndTag:
            endInBody(t);
            return;
        }
    }

    // A server block in content with nothing but white space and comments
    // between it and block elements (or its container's start or end) is
    // shown as a block box: on pages full of them, a line box of its own for
    // each costs the engine a sixth of the load.
    void inBodyBetweenBlocks(const Token& t) {
        if (t.kind == Token::Comment || (t.kind == Token::Text && firstNonSpace(t.span) == t.span.end)) {
            inBody(t);
            return;
        }
        if (m_blockCandidate >= 0) {
            const bool blockFollows = current() == m_candidateParent && !inForeign() &&
                                      ((t.kind == Token::StartTag && paragraphClosers().contains(t.name)) ||
                                       (t.kind == Token::EndTag && t.name == nameOf(current())));
            if (blockFollows)
                m_tree.serverAsBlock[m_blockCandidate] = true;
            m_blockCandidate = -1;
        }
        const bool atEdge = m_blockEdge >= 0 && m_blockEdge == current();
        const qsizetype depth = m_stack.size();
        inBody(t);
        m_blockEdge = -1;
        if (inForeign() || current() < 0 || !flowContainers().contains(nameOf(current())))
            return;
        if (t.kind == Token::Server) {
            if (atEdge && m_tree.serverInContent[t.server]) {
                m_blockCandidate = t.server;
                m_candidateParent = current();
            }
        } else if (t.kind == Token::StartTag) {
            const bool opened = m_stack.size() > depth && m_tree.elements[current()].begin == t.span.begin;
            const bool voidBlock = t.name == u"hr"_sv && m_lastChild[current()] >= 0 &&
                                   m_tree.elements[m_lastChild[current()]].begin == t.span.begin;
            if (opened || voidBlock)
                m_blockEdge = current();
        } else if (t.kind == Token::EndTag && m_stack.size() < depth && paragraphClosers().contains(t.name)) {
            m_blockEdge = current();
        }
    }

    bool serverInContent() const {
        if (m_afterBody || current() < 0 || currentIs(u"html"_sv) || currentTakesNoText() ||
            currentIs(u"colgroup"_sv) || currentIs(u"frameset"_sv))
            return false;
        return findOnStack(u"select"_sv) < 0;
    }

    void textInBody(const Token& t) {
        if (firstNonSpace(t.span) == t.span.end)
            return;
        if (current() < 0 || (m_afterBody && currentIs(u"html"_sv))) {
            if (m_tree.body >= 0)
                unsettle(current(), m_tree.body);
            return;
        }
        const TableMode mode = tableMode();
        if (currentTakesNoText() && mode != TableMode::Select)
            unsettle(current(), fosterParent());
    }

    void startInBody(const Token& t) {
        const QString& n = t.name;
        if (inForeign()) {
            const int e = createFrom(t);
            if (!t.selfClosing)
                push(e);
            return;
        }
        TableMode mode = tableMode();
        if (mode == TableMode::Select) {
            startInSelect(t);
            return;
        }
        if (mode != TableMode::None && startInTable(t, mode))
            return;
        if (n == u"html"_sv || n == u"body"_sv || n == u"head"_sv || n == u"frameset"_sv || n == u"frame"_sv ||
            tableStructure().contains(n))
            return;  // ignored, or merged into the existing element
        if (n == u"form"_sv && m_form >= 0)
            return;
        if (n == u"li"_sv || n == u"dd"_sv || n == u"dt"_sv)
            closeListItem(n, t.span.begin);
        if (paragraphClosers().contains(n) && (n != u"table"_sv || !m_quirks))
            closeParagraph(t.span.begin);
        if (isHeading(n) && current() >= 0 && isHeading(nameOf(current())))
            popFrom(m_stack.size() - 1, t.span.begin);
        if (n == u"a"_sv) {
            if (const qsizetype i = findOnStack(u"a"_sv); i >= 0) {
                unsettleStackFrom(i);
                popFrom(i, t.span.begin);
            }
        }
        if (n == u"button"_sv || n == u"nobr"_sv) {
            if (const qsizetype i = findInScope({n}, Scope::Default); i >= 0)
                popFrom(i, t.span.begin);
        }
        if ((n == u"option"_sv || n == u"optgroup"_sv) && currentIs(u"option"_sv))
            popFrom(m_stack.size() - 1, t.span.begin);
        const int e = createFrom(t);
        if (voidElements().contains(n))
            return;
        push(e);
        if (n == u"form"_sv)
            m_form = e;
    }

    void closeListItem(const QString& n, qsizetype at) {
        const bool li = n == u"li"_sv;
        if (li ? openCount(u"li"_sv) == 0 : openCount(u"dd"_sv) + openCount(u"dt"_sv) == 0)
            return;
        for (qsizetype i = m_stack.size() - 1; i >= 0; --i) {
            const QString& s = nameOf(m_stack[i]);
            if (li ? s == u"li"_sv : (s == u"dd"_sv || s == u"dt"_sv)) {
                popFrom(i, at);
                return;
            }
            if (specialElements().contains(s) && s != u"address"_sv && s != u"div"_sv && s != u"p"_sv)
                return;
        }
    }

    // Table structure inside a table; true when the token was handled here.
    bool startInTable(const Token& t, TableMode mode) {
        const QString& n = t.name;
        if (mode == TableMode::Cell || mode == TableMode::Caption) {
            if (!tableStructure().contains(n))
                return false;
            const qsizetype i = mode == TableMode::Cell ? findInScope({u"td"_sv, u"th"_sv}, Scope::Table)
                                                        : findInScope({u"caption"_sv}, Scope::Table);
            if (i < 0)
                return false;
            popFrom(i, t.span.begin);
            mode = tableMode();
        }
        if (mode == TableMode::ColGroup) {
            if (n == u"col"_sv) {
                createFrom(t);
                return true;
            }
            popFrom(findOnStack(u"colgroup"_sv), t.span.begin);
            mode = tableMode();
        }
        if (mode == TableMode::None || mode == TableMode::Cell || mode == TableMode::Caption)
            return false;
        auto clearTo = [&](std::initializer_list<QStringView> stops) {
            while (current() >= 0) {
                const QString& c = nameOf(current());
                for (QStringView s : stops)
                    if (c == s)
                        return;
                if (c == u"html"_sv)
                    return;
                popFrom(m_stack.size() - 1, t.span.begin);
            }
        };
        if (n == u"caption"_sv || n == u"colgroup"_sv || n == u"tbody"_sv || n == u"thead"_sv || n == u"tfoot"_sv) {
            clearTo({u"table"_sv});
            push(createFrom(t));
            return true;
        }
        if (n == u"col"_sv) {
            clearTo({u"table"_sv});
            createFrom(t);
            return true;
        }
        if (n == u"tr"_sv) {
            clearTo({u"tbody"_sv, u"thead"_sv, u"tfoot"_sv, u"table"_sv});
            push(createFrom(t));
            return true;
        }
        if (n == u"td"_sv || n == u"th"_sv) {
            clearTo({u"tr"_sv, u"tbody"_sv, u"thead"_sv, u"tfoot"_sv, u"table"_sv});
            push(createFrom(t));
            return true;
        }
        if (n == u"table"_sv) {
            // A table start tag inside a table closes the open one.
            popFrom(findOnStack(u"table"_sv), t.span.begin);
            return false;
        }
        if (n == u"style"_sv || n == u"script"_sv || n == u"template"_sv)
            return false;
        if (n == u"form"_sv) {
            if (m_form < 0)
                m_form = createFrom(t);  // inserted empty into the table
            return true;
        }
        if (n == u"input"_sv) {
            for (const Attribute& a : t.attributes)
                if (a.name == u"type"_sv && a.value.begin >= 0 &&
                    QStringView(m_text).mid(a.value.begin, a.value.end - a.value.begin).compare(
                        u"hidden"_sv, Qt::CaseInsensitive) == 0) {
                    createFrom(t);
                    return true;
                }
        }
        if (currentTakesNoText()) {
            // Moved out of the table by the browser.
            const int e = createFrom(t);
            unsettle(current(), fosterParent());
            m_unsettled.insert(e);
            if (!voidElements().contains(n))
                push(e);
            return true;
        }
        return false;
    }

    void startInSelect(const Token& t) {
        const QString& n = t.name;
        const bool inTable = findOnStack(u"table"_sv) >= 0 && findOnStack(u"table"_sv) < findOnStack(u"select"_sv);
        if (n == u"option"_sv) {
            if (currentIs(u"option"_sv))
                popFrom(m_stack.size() - 1, t.span.begin);
            push(createFrom(t));
        } else if (n == u"optgroup"_sv || n == u"hr"_sv) {
            if (currentIs(u"option"_sv))
                popFrom(m_stack.size() - 1, t.span.begin);
            if (currentIs(u"optgroup"_sv))
                popFrom(m_stack.size() - 1, t.span.begin);
            const int e = createFrom(t);
            if (n == u"optgroup"_sv)
                push(e);
        } else if (n == u"select"_sv) {
            popFrom(findOnStack(u"select"_sv), t.span.begin);
        } else if (n == u"input"_sv || n == u"keygen"_sv || n == u"textarea"_sv ||
                   (inTable && (tableStructure().contains(n) || n == u"table"_sv))) {
            popFrom(findOnStack(u"select"_sv), t.span.begin);
            startInBody(t);
        } else if (n == u"script"_sv || n == u"template"_sv) {
            push(createFrom(t));
        }
        // Anything else is dropped by the browser.
    }

    void endInBody(const Token& t) {
        const QString& n = t.name;
        if (inForeign()) {
            for (qsizetype i = m_stack.size() - 1; i >= 0; --i) {
                if (nameOf(m_stack[i]).compare(n, Qt::CaseInsensitive) == 0) {
                    closeWith(i, t);
                    return;
                }
                if (nameOf(m_stack[i]) == u"svg"_sv || nameOf(m_stack[i]) == u"math"_sv)
                    break;
            }
        }
        if (n == u"body"_sv) {
            if (const qsizetype i = findOnStack(u"body"_sv); i >= 0) {
                closeWith(i, t);
                m_mode = AfterBody;
            }
            return;
        }
        if (n == u"html"_sv) {
            if (const qsizetype i = findOnStack(u"html"_sv); i >= 0) {
                ensureHeadAndBody(t.span.begin);
                closeWith(i, t);
                m_mode = AfterBody;
            }
            return;
        }
        if (findOnStack(u"select"_sv) >= 0 && tableMode() == TableMode::Select) {
            // Script and template are the only other elements a select holds.
            if (n == u"option"_sv || n == u"optgroup"_sv || n == u"select"_sv || n == u"script"_sv || n == u"template"_sv) {
                if (const qsizetype i = findOnStack(n); i >= 0 && i >= findOnStack(u"select"_sv))
                    closeWith(i, t);
                return;
            }
            if (!tableStructure().contains(n) && n != u"table"_sv)
                return;
            popFrom(findOnStack(u"select"_sv), t.span.begin);
        }
        if (n == u"table"_sv || tableStructure().contains(n)) {
            if (const qsizetype i = findInScope({n}, Scope::Table); i >= 0)
                closeWith(i, t);
            return;
        }
        if (n == u"p"_sv) {
            if (const qsizetype i = findInScope({u"p"_sv}, Scope::Button); i >= 0)
                closeWith(i, t);
            return;
        }
        if (n == u"li"_sv) {
            if (const qsizetype i = findInScope({u"li"_sv}, Scope::ListItem); i >= 0)
                closeWith(i, t);
            return;
        }
        if (blockEndTags().contains(n)) {
            if (const qsizetype i = findInScope({n}, Scope::Default); i >= 0)
                closeWith(i, t);
            return;
        }
        if (isHeading(n)) {
            if (const qsizetype i = findInScope({u"h1"_sv, u"h2"_sv, u"h3"_sv, u"h4"_sv, u"h5"_sv, u"h6"_sv}, Scope::Default);
                i >= 0)
                closeWith(i, t);
            return;
        }
        if (n == u"form"_sv) {
            const int form = m_form;
            m_form = -1;
            if (const qsizetype i = findInScope({u"form"_sv}, Scope::Default); i >= 0 && m_stack[i] == form) {
                if (i != m_stack.size() - 1)
                    unsettleStackFrom(i);  // the browser leaves the inner elements open
                closeWith(i, t);
            }
            return;
        }
        if (formattingElements().contains(n)) {
            const qsizetype i = findInScope({n}, Scope::Default);
            if (i < 0)
                return;
            if (i != m_stack.size() - 1) {
                // Mis-nested: the browser reparents or clones what lies above.
                unsettleStackFrom(i);
            }
            closeWith(i, t);
            return;
        }
        if (n == u"br"_sv)
            return;
        for (qsizetype i = m_stack.size() - 1; i >= 0; --i) {
            const QString& s = nameOf(m_stack[i]);
            if (s == n) {
                closeWith(i, t);
                return;
            }
            if (specialElements().contains(s))
                return;
        }
    }

    const QString& m_text;
    HtmlTokenizer m_tokenizer;
    SourceTree m_tree;
    std::unordered_map<std::u16string_view, int> m_ids;  // name -> index into m_tree.names
    QList<int> m_open;        // per name: how many are open
    QList<int> m_stack;
    QList<int> m_modeStack;   // stack indexes of the elements tableMode() reads
    QList<int> m_lastChild;   // per element, while building
    QList<int> m_depth;       // per element, while building
    bool m_sawFrameset = false;
    QSet<int> m_unsettled;
    Mode m_mode = BeforeHtml;
    bool m_quirks = true;
    bool m_afterBody = false;
    qsizetype m_afterHeadElement = -1;  // its stack index in AfterHeadElement
    int m_form = -1;
    int m_blockEdge = -1;       // the flow container whose start or block child's end was last met
    int m_blockCandidate = -1;  // a server block just after it, shown as a block if one follows
    int m_candidateParent = -1;
};

}  // namespace

SourceTree buildSourceTree(const QString& text, const QList<Span>& serverBlocks) {
    return Builder(text, serverBlocks).run();
}

}  // namespace orvane::fidelity
