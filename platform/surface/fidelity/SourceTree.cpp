#include "SourceTree.h"

#include <QSet>

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

bool isHeading(const QString& n) {
    return n.size() == 2 && n[0] == u'h' && n[1] >= u'1' && n[1] <= u'6';
}

bool isSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f';
}

// No doctype, or one of the old HTML doctypes, puts the browser in quirks
// mode, where a table does not close an open paragraph.
bool quirksDoctype(QStringView doctype) {
    const QString d = doctype.toString().toLower().simplified();
    if (d == u"<!doctype html>")
        return false;
    if (d.contains(u"xhtml"))
        return false;
    const bool systemId = d.contains(u"http://www.w3.org/tr/html4") || d.contains(u"http://www.w3.org/tr/rec-html40");
    if (d.contains(u"html 4.01 transitional") || d.contains(u"html 4.01 frameset"))
        return !systemId;
    return d.contains(u"html 4.0 transitional") || d.contains(u"html 4.0 frameset") || d.contains(u"html 3") ||
           d.contains(u"html 2") || d.contains(u"html level") || d.contains(u"html strict level") ||
           !d.contains(u"html");
}

enum class Scope { Default, Button, ListItem, Table };

enum class TableMode { None, Table, TableBody, Row, Cell, Caption, ColGroup, Select };

class Builder {
public:
    Builder(const QString& text, const Tokenized& in) : m_text(text), m_in(in) {
        m_tree.serverInContent.resize(in.serverBlocks.size());
    }

    SourceTree run() {
        for (qsizetype i = 0; i < m_in.tokens.size(); ++i)
            process(int(i), m_in.tokens[i]);
        const qsizetype end = m_text.size();
        if (m_tree.html < 0)
            implyHtml(end);
        if (m_stack.size() > 0 && m_stack.front() == m_tree.html)
            ensureHeadAndBody(end);
        popFrom(0, end);
        m_tree.unsettled = QList<int>(m_unsettled.begin(), m_unsettled.end());
        std::sort(m_tree.unsettled.begin(), m_tree.unsettled.end());
        return std::move(m_tree);
    }

private:
    enum Mode { BeforeHtml, BeforeHead, InHead, AfterHead, InBody, InFrameset, AfterBody };

    // ---- the tree and the stack of open elements ----

    const QString& nameOf(int e) const { return m_tree.elements[e].name; }
    int current() const { return m_stack.isEmpty() ? -1 : m_stack.back(); }
    bool currentIs(QStringView n) const { return current() >= 0 && nameOf(current()) == n; }

    int create(const QString& name, int token, qsizetype begin, qsizetype startTagEnd, qsizetype nameEnd,
               bool implied = false) {
        SourceElement el;
        el.name = name;
        el.span = {begin, startTagEnd};
        el.startTagEnd = startTagEnd;
        el.nameEnd = nameEnd;
        el.parent = current();
        el.token = token;
        el.implied = implied;
        const int id = int(m_tree.elements.size());
        m_tree.elements.append(el);
        if (el.parent >= 0)
            m_tree.elements[el.parent].children.append(id);
        else
            m_tree.roots.append(id);
        return id;
    }

    int createFrom(int ti, const Token& t) { return create(t.name, ti, t.span.begin, t.span.end, t.nameEnd); }

    int implied(const char* name, qsizetype at) { return create(QString::fromLatin1(name), -1, at, at, at, true); }

    // Pops the stack from index i up, every element ending at `end`.
    void popFrom(qsizetype i, qsizetype end) {
        if (i < 0)
            return;
        while (m_stack.size() > i) {
            m_tree.elements[m_stack.back()].span.end = end;
            m_stack.removeLast();
        }
    }

    // Closes the element at stack index i with the end tag t: it ends after
    // the tag, the elements above it where the tag begins.
    void closeWith(qsizetype i, const Token& t) {
        popFrom(i + 1, t.span.begin);
        popFrom(i, t.span.end);
    }

    qsizetype findOnStack(QStringView n) const {
        for (qsizetype i = m_stack.size() - 1; i >= 0; --i)
            if (nameOf(m_stack[i]) == n)
                return i;
        return -1;
    }

    static bool isScopeBoundary(const QString& n, Scope scope) {
        if (scope == Scope::Table)
            return n == u"html" || n == u"table" || n == u"template";
        if (n == u"applet" || n == u"caption" || n == u"html" || n == u"table" || n == u"td" ||
            n == u"th" || n == u"marquee" || n == u"object" || n == u"template")
            return true;
        if (scope == Scope::Button)
            return n == u"button";
        if (scope == Scope::ListItem)
            return n == u"ol" || n == u"ul";
        return false;
    }

    qsizetype findInScope(std::initializer_list<QStringView> names, Scope scope) const {
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

    void closeParagraph(qsizetype at) { popFrom(findInScope({u"p"}, Scope::Button), at); }

    bool inForeign() const { return findOnStack(u"svg") >= 0 || findOnStack(u"math") >= 0; }

    TableMode tableMode() const {
        for (qsizetype i = m_stack.size() - 1; i >= 0; --i) {
            const QString& n = nameOf(m_stack[i]);
            if (n == u"td" || n == u"th")
                return TableMode::Cell;
            if (n == u"tr")
                return TableMode::Row;
            if (n == u"tbody" || n == u"thead" || n == u"tfoot")
                return TableMode::TableBody;
            if (n == u"caption")
                return TableMode::Caption;
            if (n == u"colgroup")
                return TableMode::ColGroup;
            if (n == u"table")
                return TableMode::Table;
            if (n == u"select")
                return TableMode::Select;
            if (n == u"body" || n == u"html")
                return TableMode::None;
        }
        return TableMode::None;
    }

    bool currentTakesNoText() const {
        const int c = current();
        if (c < 0)
            return false;
        const QString& n = nameOf(c);
        return n == u"table" || n == u"tbody" || n == u"thead" || n == u"tfoot" || n == u"tr";
    }

    // Where the browser puts what it moves out of a table: before the table,
    // in the table's parent.
    int fosterParent() const {
        const qsizetype t = findOnStack(u"table");
        return t >= 0 ? m_tree.elements[m_stack[t]].parent : current();
    }

    // Content whose source parent is srcParent lives under domParent in the
    // browser: the elements between either and their lowest common ancestor
    // cannot be taken from the source as they stand.
    void unsettle(int srcParent, int domParent) {
        QSet<int> srcChain;
        for (int e = srcParent; e >= 0; e = m_tree.elements[e].parent)
            srcChain.insert(e);
        int common = domParent;
        while (common >= 0 && !srcChain.contains(common)) {
            m_unsettled.insert(common);
            common = m_tree.elements[common].parent;
        }
        for (int e = srcParent; e >= 0 && e != common; e = m_tree.elements[e].parent)
            m_unsettled.insert(e);
    }

    void unsettleStackFrom(qsizetype i) {
        for (qsizetype k = std::max<qsizetype>(i, 0); k < m_stack.size(); ++k)
            m_unsettled.insert(m_stack[k]);
    }

    // ---- implied html, head and body ----

    void implyHtml(qsizetype at) {
        m_tree.html = implied("html", at);
        m_stack.append(m_tree.html);
    }

    void ensureHeadAndBody(qsizetype at) {
        popFrom(1, at);
        if (m_tree.head < 0) {
            m_tree.head = implied("head", at);
        }
        if (m_tree.body < 0 && findOnStack(u"frameset") < 0 && !hasFrameset())
            m_tree.body = implied("body", at);
    }

    bool hasFrameset() const {
        for (const auto& e : m_tree.elements)
            if (e.name == u"frameset")
                return true;
        return false;
    }

    qsizetype firstNonSpace(const Span& s) const {
        qsizetype p = s.begin;
        while (p < s.end && isSpace(m_text[p]))
            ++p;
        return p;
    }

    // ---- tokens ----

    void process(int ti, const Token& t) {
        switch (m_mode) {
        case BeforeHtml: beforeHtml(ti, t); break;
        case BeforeHead: beforeHead(ti, t); break;
        case InHead: inHead(ti, t); break;
        case AfterHead: afterHead(ti, t); break;
        case InBody: inBody(ti, t); break;
        case InFrameset: inFrameset(ti, t); break;
        case AfterBody: afterBody(ti, t); break;
        }
    }

    void beforeHtml(int ti, const Token& t) {
        if (t.kind == Token::Doctype) {
            m_quirks = quirksDoctype(QStringView(m_text).mid(t.span.begin, t.span.end - t.span.begin));
            return;
        }
        if (t.kind == Token::Comment || t.kind == Token::Server || t.kind == Token::CData ||
            (t.kind == Token::Text && firstNonSpace(t.span) == t.span.end))
            return;
        if (t.kind == Token::StartTag && t.name == u"html") {
            m_tree.html = createFrom(ti, t);
            m_stack.append(m_tree.html);
            m_mode = BeforeHead;
            return;
        }
        implyHtml(t.kind == Token::Text ? firstNonSpace(t.span) : t.span.begin);
        m_mode = BeforeHead;
        process(ti, t);
    }

    void beforeHead(int ti, const Token& t) {
        if (t.kind == Token::Comment || t.kind == Token::Server || t.kind == Token::Doctype ||
            t.kind == Token::CData || (t.kind == Token::Text && firstNonSpace(t.span) == t.span.end))
            return;
        if (t.kind == Token::StartTag && t.name == u"html")
            return;
        if (t.kind == Token::StartTag && t.name == u"head") {
            m_tree.head = createFrom(ti, t);
            m_stack.append(m_tree.head);
            m_mode = InHead;
            return;
        }
        if (t.kind == Token::EndTag && t.name != u"head" && t.name != u"body" && t.name != u"html" &&
            t.name != u"br")
            return;
        m_tree.head = implied("head", t.kind == Token::Text ? firstNonSpace(t.span) : t.span.begin);
        m_stack.append(m_tree.head);
        m_mode = InHead;
        process(ti, t);
    }

    void leaveHead(qsizetype at) {
        const qsizetype h = findOnStack(u"head");
        popFrom(h, at);
        m_mode = AfterHead;
    }

    void inHead(int ti, const Token& t) {
        switch (t.kind) {
        case Token::Comment:
        case Token::Doctype:
        case Token::CData:
        case Token::Server:
            return;
        case Token::Text:
            if (currentIs(u"head") && firstNonSpace(t.span) < t.span.end) {
                leaveHead(firstNonSpace(t.span));
                process(ti, t);
            }
            return;
        case Token::StartTag:
            if (t.name == u"html" || t.name == u"head")
                return;
            if (headContent().contains(t.name)) {
                const int e = createFrom(ti, t);
                if (!voidElements().contains(t.name))
                    m_stack.append(e);
                return;
            }
            leaveHead(t.span.begin);
            process(ti, t);
            return;
        case Token::EndTag:
            if (t.name == u"head") {
                const qsizetype h = findOnStack(u"head");
                closeWith(h, t);
                m_mode = AfterHead;
                return;
            }
            if (t.name == u"body" || t.name == u"html" || t.name == u"br") {
                leaveHead(t.span.begin);
                process(ti, t);
                return;
            }
            if (const qsizetype i = findOnStack(t.name); i > findOnStack(u"head"))
                closeWith(i, t);
            return;
        }
    }

    void afterHead(int ti, const Token& t) {
        if (t.kind == Token::Comment || t.kind == Token::Server || t.kind == Token::Doctype ||
            t.kind == Token::CData || (t.kind == Token::Text && firstNonSpace(t.span) == t.span.end))
            return;
        if (t.kind == Token::StartTag) {
            if (t.name == u"body") {
                m_tree.body = createFrom(ti, t);
                m_stack.append(m_tree.body);
                m_mode = InBody;
                return;
            }
            if (t.name == u"frameset") {
                m_stack.append(createFrom(ti, t));
                m_mode = InFrameset;
                return;
            }
            if (t.name == u"html" || t.name == u"head")
                return;
            if (headContent().contains(t.name)) {
                // The browser puts these back into the head.
                const int e = createFrom(ti, t);
                m_unsettled.insert(e);
                if (!voidElements().contains(t.name))
                    m_stack.append(e);
                return;
            }
        }
        if (t.kind == Token::EndTag) {
            if (t.name != u"body" && t.name != u"html" && t.name != u"br") {
                if (const qsizetype i = findOnStack(t.name); i > 0)
                    closeWith(i, t);
                return;
            }
        }
        m_tree.body = implied("body", t.kind == Token::Text ? firstNonSpace(t.span) : t.span.begin);
        m_stack.append(m_tree.body);
        m_mode = InBody;
        process(ti, t);
    }

    void inFrameset(int ti, const Token& t) {
        if (t.kind == Token::StartTag) {
            if (t.name == u"frameset" || t.name == u"noframes")
                m_stack.append(createFrom(ti, t));
            else if (t.name == u"frame")
                createFrom(ti, t);
        } else if (t.kind == Token::EndTag) {
            if (const qsizetype i = findOnStack(t.name); i > 0)
                closeWith(i, t);
        }
    }

    void afterBody(int ti, const Token& t) {
        if (t.kind == Token::Comment || t.kind == Token::Server || t.kind == Token::Doctype ||
            t.kind == Token::CData || (t.kind == Token::Text && firstNonSpace(t.span) == t.span.end))
            return;
        if (t.kind == Token::EndTag && t.name == u"html") {
            if (const qsizetype i = findOnStack(u"html"); i >= 0)
                closeWith(i, t);
            return;
        }
        // Anything else goes back into the body in the browser.
        m_mode = InBody;
        m_afterBody = true;
        process(ti, t);
    }

    void inBody(int ti, const Token& t) {
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
            startInBody(ti, t);
            return;
        case Token::EndTag:
            endInBody(t);
            return;
        }
    }

    bool serverInContent() const {
        if (m_afterBody || current() < 0 || currentIs(u"html") || currentTakesNoText() ||
            currentIs(u"colgroup") || currentIs(u"frameset"))
            return false;
        return findOnStack(u"select") < 0;
    }

    void textInBody(const Token& t) {
        if (firstNonSpace(t.span) == t.span.end)
            return;
        if (current() < 0 || (m_afterBody && currentIs(u"html"))) {
            if (m_tree.body >= 0)
                unsettle(current(), m_tree.body);
            return;
        }
        const TableMode mode = tableMode();
        if (currentTakesNoText() && mode != TableMode::Select)
            unsettle(current(), fosterParent());
    }

    void startInBody(int ti, const Token& t) {
        const QString& n = t.name;
        if (inForeign()) {
            const int e = createFrom(ti, t);
            if (!t.selfClosing)
                m_stack.append(e);
            return;
        }
        TableMode mode = tableMode();
        if (mode == TableMode::Select) {
            startInSelect(ti, t);
            return;
        }
        if (mode != TableMode::None && startInTable(ti, t, mode))
            return;
        if (n == u"html" || n == u"body" || n == u"head" || n == u"frameset" || n == u"frame" ||
            tableStructure().contains(n))
            return;  // ignored, or merged into the existing element
        if (n == u"form" && m_form >= 0)
            return;
        if (n == u"li" || n == u"dd" || n == u"dt")
            closeListItem(n, t.span.begin);
        if (paragraphClosers().contains(n) && (n != u"table" || !m_quirks))
            closeParagraph(t.span.begin);
        if (isHeading(n) && current() >= 0 && isHeading(nameOf(current())))
            popFrom(m_stack.size() - 1, t.span.begin);
        if (n == u"a") {
            if (const qsizetype i = findOnStack(u"a"); i >= 0) {
                unsettleStackFrom(i);
                popFrom(i, t.span.begin);
            }
        }
        if (n == u"button" || n == u"nobr") {
            if (const qsizetype i = findInScope({n}, Scope::Default); i >= 0)
                popFrom(i, t.span.begin);
        }
        if ((n == u"option" || n == u"optgroup") && currentIs(u"option"))
            popFrom(m_stack.size() - 1, t.span.begin);
        const int e = createFrom(ti, t);
        if (voidElements().contains(n))
            return;
        m_stack.append(e);
        if (n == u"form")
            m_form = e;
    }

    void closeListItem(const QString& n, qsizetype at) {
        const bool li = n == u"li";
        for (qsizetype i = m_stack.size() - 1; i >= 0; --i) {
            const QString& s = nameOf(m_stack[i]);
            if (li ? s == u"li" : (s == u"dd" || s == u"dt")) {
                popFrom(i, at);
                return;
            }
            if (specialElements().contains(s) && s != u"address" && s != u"div" && s != u"p")
                return;
        }
    }

    // Table structure inside a table; true when the token was handled here.
    bool startInTable(int ti, const Token& t, TableMode mode) {
        const QString& n = t.name;
        if (mode == TableMode::Cell || mode == TableMode::Caption) {
            if (!tableStructure().contains(n))
                return false;
            const qsizetype i = mode == TableMode::Cell ? findInScope({u"td", u"th"}, Scope::Table)
                                                        : findInScope({u"caption"}, Scope::Table);
            if (i < 0)
                return false;
            popFrom(i, t.span.begin);
            mode = tableMode();
        }
        if (mode == TableMode::ColGroup) {
            if (n == u"col") {
                createFrom(ti, t);
                return true;
            }
            popFrom(findOnStack(u"colgroup"), t.span.begin);
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
                if (c == u"html")
                    return;
                popFrom(m_stack.size() - 1, t.span.begin);
            }
        };
        if (n == u"caption" || n == u"colgroup" || n == u"tbody" || n == u"thead" || n == u"tfoot") {
            clearTo({u"table"});
            m_stack.append(createFrom(ti, t));
            return true;
        }
        if (n == u"col") {
            clearTo({u"table"});
            createFrom(ti, t);
            return true;
        }
        if (n == u"tr") {
            clearTo({u"tbody", u"thead", u"tfoot", u"table"});
            m_stack.append(createFrom(ti, t));
            return true;
        }
        if (n == u"td" || n == u"th") {
            clearTo({u"tr", u"tbody", u"thead", u"tfoot", u"table"});
            m_stack.append(createFrom(ti, t));
            return true;
        }
        if (n == u"table") {
            // A table start tag inside a table closes the open one.
            popFrom(findOnStack(u"table"), t.span.begin);
            return false;
        }
        if (n == u"style" || n == u"script" || n == u"template")
            return false;
        if (n == u"form") {
            if (m_form < 0)
                m_form = createFrom(ti, t);  // inserted empty into the table
            return true;
        }
        if (n == u"input") {
            for (const Attribute& a : t.attributes)
                if (a.name == u"type" && a.value.begin >= 0 &&
                    QStringView(m_text).mid(a.value.begin, a.value.end - a.value.begin).compare(
                        u"hidden", Qt::CaseInsensitive) == 0) {
                    createFrom(ti, t);
                    return true;
                }
        }
        if (currentTakesNoText()) {
            // Moved out of the table by the browser.
            const int e = createFrom(ti, t);
            unsettle(current(), fosterParent());
            m_unsettled.insert(e);
            if (!voidElements().contains(n))
                m_stack.append(e);
            return true;
        }
        return false;
    }

    void startInSelect(int ti, const Token& t) {
        const QString& n = t.name;
        const bool inTable = findOnStack(u"table") >= 0 && findOnStack(u"table") < findOnStack(u"select");
        if (n == u"option") {
            if (currentIs(u"option"))
                popFrom(m_stack.size() - 1, t.span.begin);
            m_stack.append(createFrom(ti, t));
        } else if (n == u"optgroup" || n == u"hr") {
            if (currentIs(u"option"))
                popFrom(m_stack.size() - 1, t.span.begin);
            if (currentIs(u"optgroup"))
                popFrom(m_stack.size() - 1, t.span.begin);
            const int e = createFrom(ti, t);
            if (n == u"optgroup")
                m_stack.append(e);
        } else if (n == u"select") {
            popFrom(findOnStack(u"select"), t.span.begin);
        } else if (n == u"input" || n == u"keygen" || n == u"textarea" ||
                   (inTable && (tableStructure().contains(n) || n == u"table"))) {
            popFrom(findOnStack(u"select"), t.span.begin);
            startInBody(ti, t);
        } else if (n == u"script" || n == u"template") {
            m_stack.append(createFrom(ti, t));
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
                if (nameOf(m_stack[i]) == u"svg" || nameOf(m_stack[i]) == u"math")
                    break;
            }
        }
        if (n == u"body") {
            if (const qsizetype i = findOnStack(u"body"); i >= 0) {
                closeWith(i, t);
                m_mode = AfterBody;
            }
            return;
        }
        if (n == u"html") {
            if (const qsizetype i = findOnStack(u"html"); i >= 0) {
                ensureHeadAndBody(t.span.begin);
                closeWith(i, t);
                m_mode = AfterBody;
            }
            return;
        }
        if (findOnStack(u"select") >= 0 && tableMode() == TableMode::Select) {
            if (n == u"option" || n == u"optgroup" || n == u"select") {
                if (const qsizetype i = findOnStack(n); i >= 0 && i >= findOnStack(u"select"))
                    closeWith(i, t);
                return;
            }
            if (!tableStructure().contains(n) && n != u"table")
                return;
            popFrom(findOnStack(u"select"), t.span.begin);
        }
        if (n == u"table" || tableStructure().contains(n)) {
            if (const qsizetype i = findInScope({n}, Scope::Table); i >= 0)
                closeWith(i, t);
            return;
        }
        if (n == u"p") {
            if (const qsizetype i = findInScope({u"p"}, Scope::Button); i >= 0)
                closeWith(i, t);
            return;
        }
        if (n == u"li") {
            if (const qsizetype i = findInScope({u"li"}, Scope::ListItem); i >= 0)
                closeWith(i, t);
            return;
        }
        if (blockEndTags().contains(n)) {
            if (const qsizetype i = findInScope({n}, Scope::Default); i >= 0)
                closeWith(i, t);
            return;
        }
        if (isHeading(n)) {
            if (const qsizetype i = findInScope({u"h1", u"h2", u"h3", u"h4", u"h5", u"h6"}, Scope::Default);
                i >= 0)
                closeWith(i, t);
            return;
        }
        if (n == u"form") {
            const int form = m_form;
            m_form = -1;
            if (const qsizetype i = findInScope({u"form"}, Scope::Default); i >= 0 && m_stack[i] == form) {
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
        if (n == u"br")
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
    const Tokenized& m_in;
    SourceTree m_tree;
    QList<int> m_stack;
    QSet<int> m_unsettled;
    Mode m_mode = BeforeHtml;
    bool m_quirks = true;
    bool m_afterBody = false;
    int m_form = -1;
};

}  // namespace

SourceTree buildSourceTree(const QString& text, const Tokenized& tokenized) {
    return Builder(text, tokenized).run();
}

}  // namespace orvane::fidelity
