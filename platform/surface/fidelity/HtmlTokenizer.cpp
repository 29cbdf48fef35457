#include "HtmlTokenizer.h"

#include <algorithm>

namespace orvane::fidelity {
namespace {

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

QChar asciiLower(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') ? QChar(u + 32) : c;
}

// Stands for a server block inside a tag name.
constexpr char16_t serverNameMark = 0xFDD0;

}  // namespace

HtmlTokenizer::HtmlTokenizer(const QString& text, const QList<Span>& blocks, qsizetype from)
    : m_text(text), m_blocks(blocks), m_n(text.size()), m_pos(from),
      m_nextServer(int(std::lower_bound(blocks.begin(), blocks.end(), from,
                                        [](const Span& b, qsizetype p) { return b.begin < p; }) -
                       blocks.begin())),
      m_serverInline(blocks.size(), false) {}

bool HtmlTokenizer::next(Token& t) {
    if (m_pendingNext < m_pendingCount) {
        t = std::move(m_pending[m_pendingNext++]);
        return true;
    }
    m_pendingCount = m_pendingNext = 0;
    const qsizetype textStart = m_pos;
    while (m_pos < m_n) {
        // Markup and server blocks both begin with '<'.
        const qsizetype lt = m_text.indexOf(u'<', m_pos);
        if (lt < 0) {
            m_pos = m_n;
            break;
        }
        m_pos = lt;
        if (atServer()) {
            pushText(textStart, m_pos);
            Token& s = m_pending[m_pendingCount++];
            s = Token();
            s.kind = Token::Server;
            s.server = m_nextServer;
            s.span = m_blocks[m_nextServer];
            skipServer(false);
            return next(t);
        }
        if (!startsMarkup()) {
            ++m_pos;
            continue;
        }
        pushText(textStart, m_pos);
        markup();
        return next(t);
    }
    pushText(textStart, m_n);
    if (m_pendingCount == 0)
        return false;
    return next(t);
}

Token HtmlTokenizer::startTagAt(const QString& text, const QList<Span>& blocks, qsizetype at) {
    HtmlTokenizer tokenizer(text, blocks, at);
    Token t;
    t.kind = Token::StartTag;
    t.span.begin = at;
    tokenizer.m_pos = at + 1;
    tokenizer.tag(t);
    t.span.end = tokenizer.m_pos;
    return t;
}

bool HtmlTokenizer::atServer() const {
    return m_nextServer < m_blocks.size() && m_blocks[m_nextServer].begin == m_pos;
}

// Steps over the server block at m_pos.
void HtmlTokenizer::skipServer(bool isInline) {
    m_serverInline[m_nextServer] = isInline;
    m_pos = m_blocks[m_nextServer].end;
    ++m_nextServer;
}

// Advances one position inside markup, stepping over server blocks whole.
void HtmlTokenizer::advance() {
    if (atServer())
        skipServer(true);
    else
        ++m_pos;
}

bool HtmlTokenizer::at(QLatin1StringView s, bool noCase) const {
    if (m_pos + s.size() > m_n)
        return false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        QChar c = m_text[m_pos + i];
        if (noCase)
            c = asciiLower(c);
        if (c != QLatin1Char(s[i]))
            return false;
    }
    return true;
}

bool HtmlTokenizer::startsMarkup() const {
    if (m_pos + 1 >= m_n)
        return false;
    const QChar c = m_text[m_pos + 1];
    return isAsciiLetter(c) || c == u'!' || c == u'/' || c == u'?';
}

void HtmlTokenizer::pushText(qsizetype begin, qsizetype end) {
    if (end <= begin)
        return;
    Token& t = m_pending[m_pendingCount++];
    t = Token();
    t.kind = Token::Text;
    t.span = {begin, end};
}

// Scans to just after `terminator`, stepping over server blocks; to the
// end of the text when it never comes.
void HtmlTokenizer::scanPast(QLatin1StringView terminator) {
    while (m_pos < m_n) {
        if (atServer()) {
            skipServer(true);
            continue;
        }
        if (at(terminator)) {
            m_pos += terminator.size();
            return;
        }
        ++m_pos;
    }
}

void HtmlTokenizer::markup() {
    Token& t = m_pending[m_pendingCount++];
    t = Token();
    t.span.begin = m_pos;
    if (at(QLatin1StringView("<!--"))) {
        t.kind = Token::Comment;
        m_pos += 4;
        // "<!-->" and "<!--->" are complete (empty) comments.
        if (at(QLatin1StringView(">")))
            ++m_pos;
        else if (at(QLatin1StringView("->")))
            m_pos += 2;
        else
            scanComment();
    } else if (at(QLatin1StringView("<!doctype"), true)) {
        t.kind = Token::Doctype;
        scanPast(QLatin1StringView(">"));
    } else if (at(QLatin1StringView("<![CDATA["))) {
        t.kind = Token::CData;
        scanPast(QLatin1StringView("]]>"));
    } else if (at(QLatin1StringView("</"))) {
        if (m_pos + 2 < m_n && isAsciiLetter(m_text[m_pos + 2])) {
            t.kind = Token::EndTag;
            m_pos += 2;
            tag(t);
        } else {
            t.kind = Token::Comment;  // "</>" or a bogus comment
            t.makesNothing = m_pos + 2 < m_n && m_text[m_pos + 2] == u'>';
            scanPast(QLatin1StringView(">"));
        }
    } else if (m_text[m_pos + 1] == u'!' || m_text[m_pos + 1] == u'?') {
        t.kind = Token::Comment;  // bogus comment
        scanPast(QLatin1StringView(">"));
    } else {
        t.kind = Token::StartTag;
        m_pos += 1;
        tag(t);
    }
    t.span.end = m_pos;
    // Browsers ignore the slash of "<script/>": what follows is still its text.
    if (t.kind == Token::StartTag && isRawTextElement(t.name))
        rawText(t.name);
    else if (t.kind == Token::StartTag && t.name == u"plaintext"_sv)
        rawText(QString());
}

void HtmlTokenizer::scanComment() {
    while (m_pos < m_n) {
        if (atServer()) {
            skipServer(true);
            continue;
        }
        if (at(QLatin1StringView("-->"))) {
            m_pos += 3;
            return;
        }
        if (at(QLatin1StringView("--!>"))) {
            m_pos += 4;
            return;
        }
        ++m_pos;
    }
}

void HtmlTokenizer::tag(Token& t) {
    while (m_pos < m_n && !isHtmlSpace(m_text[m_pos]) && m_text[m_pos] != u'/' && m_text[m_pos] != u'>') {
        if (atServer()) {
            t.name += QChar(serverNameMark);
            skipServer(true);
        } else {
            t.name += asciiLower(m_text[m_pos++]);
        }
    }
    t.nameEnd = m_pos;
    while (m_pos < m_n) {
        const QChar c = m_text[m_pos];
        if (atServer()) {
            skipServer(true);
        } else if (c == u'>') {
            ++m_pos;
            return;
        } else if (c == u'/') {
            ++m_pos;
            if (m_pos < m_n && m_text[m_pos] == u'>') {
                t.selfClosing = true;
                ++m_pos;
                return;
            }
        } else if (isHtmlSpace(c)) {
            ++m_pos;
        } else {
            attribute(t);
        }
    }
}

void HtmlTokenizer::attribute(Token& t) {
    Attribute a;
    a.nameSpan.begin = m_pos;
    // The first character may be '='; the name runs to space, '/', '>' or '='.
    bool first = true;
    while (m_pos < m_n) {
        const QChar c = m_text[m_pos];
        if (atServer()) {
            skipServer(true);
            first = false;
            continue;
        }
        if (isHtmlSpace(c) || c == u'/' || c == u'>' || (c == u'=' && !first))
            break;
        a.name += asciiLower(c);
        ++m_pos;
        first = false;
    }
    a.nameSpan.end = m_pos;
    qsizetype p = m_pos;
    while (p < m_n && isHtmlSpace(m_text[p]))
        ++p;
    if (p < m_n && m_text[p] == u'=') {
        m_pos = p + 1;
        while (m_pos < m_n && isHtmlSpace(m_text[m_pos]))
            ++m_pos;
        if (m_pos < m_n && (m_text[m_pos] == u'"' || m_text[m_pos] == u'\'')) {
            const QChar quote = m_text[m_pos++];
            a.value.begin = m_pos;
            while (m_pos < m_n && (atServer() || m_text[m_pos] != quote))
                advance();
            a.value.end = m_pos;
            if (m_pos < m_n)
                ++m_pos;
        } else {
            a.value.begin = m_pos;
            while (m_pos < m_n && (atServer() || (!isHtmlSpace(m_text[m_pos]) && m_text[m_pos] != u'>')))
                advance();
            a.value.end = m_pos;
        }
    }
    t.attributes.append(a);
}

// Raw text up to "</name" followed by space, '/' or '>' (to the end of
// the text when name is empty).
void HtmlTokenizer::rawText(const QString& name) {
    const qsizetype begin = m_pos;
    while (m_pos < m_n) {
        if (atServer()) {
            skipServer(true);
            continue;
        }
        if (!name.isEmpty() && m_text[m_pos] == u'<' && m_pos + 2 + name.size() <= m_n &&
            m_text[m_pos + 1] == u'/') {
            bool match = true;
            for (qsizetype i = 0; i < name.size() && match; ++i)
                match = asciiLower(m_text[m_pos + 2 + i]) == name[i];
            const qsizetype after = m_pos + 2 + name.size();
            if (match && (after == m_n || isHtmlSpace(m_text[after]) || m_text[after] == u'/' ||
                          m_text[after] == u'>'))
                break;
        }
        ++m_pos;
    }
    pushText(begin, m_pos);
}

QList<Span> findServerBlocks(const QString& text) {
    QList<Span> blocks;
    qsizetype pos = 0;
    bool commentCloseAhead = true;  // false once no "--%>" is left
    while (true) {
        const qsizetype begin = text.indexOf(QLatin1StringView("<%"), pos);
        if (begin < 0)
            break;
        qsizetype end = -1;
        if (QStringView(text).mid(begin, 4) == u"<%--"_sv) {
            // The server reads an unclosed comment block up to the next "%>",
            // or, when there is none, to the end of the page.
            const qsizetype close = commentCloseAhead ? text.indexOf(QLatin1StringView("--%>"), begin + 4) : -1;
            commentCloseAhead = close >= 0;
            if (close >= 0)
                end = close + 4;
            else if (const qsizetype plain = text.indexOf(QLatin1StringView("%>"), begin + 4); plain >= 0)
                end = plain + 2;
            else
                end = text.size();
        } else if (const qsizetype close = text.indexOf(QLatin1StringView("%>"), begin + 2); close >= 0) {
            end = close + 2;
        }
        if (end < 0)
            break;
        blocks.append({begin, end});
        pos = end;
    }
    return blocks;
}

bool isRawTextElement(const QString& name) {
    return name == u"script"_sv || name == u"style"_sv || name == u"textarea"_sv || name == u"title"_sv ||
           name == u"xmp"_sv || name == u"iframe"_sv || name == u"noembed"_sv || name == u"noframes"_sv;
}

}  // namespace orvane::fidelity
