#include "HtmlTokenizer.h"

namespace orvane::fidelity {
namespace {

bool isSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f';
}

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

QChar asciiLower(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') ? QChar(u + 32) : c;
}

class Tokenizer {
public:
    explicit Tokenizer(const QString& text) : m_text(text), m_n(text.size()) {
        m_out.serverBlocks = findServerBlocks(text);
        m_out.serverInline.resize(m_out.serverBlocks.size());
    }

    Tokenized run() {
        qsizetype textStart = 0;
        while (m_pos < m_n) {
            if (atServer()) {
                flushText(textStart, m_pos);
                Token t;
                t.kind = Token::Server;
                t.server = m_nextServer;
                t.span = m_out.serverBlocks[m_nextServer];
                skipServer(false);
                m_out.tokens.append(t);
                textStart = m_pos;
                continue;
            }
            if (m_text[m_pos] != u'<' || !startsMarkup()) {
                ++m_pos;
                continue;
            }
            flushText(textStart, m_pos);
            markup();
            textStart = m_pos;
        }
        flushText(textStart, m_n);
        return std::move(m_out);
    }

private:
    bool atServer() const {
        return m_nextServer < m_out.serverBlocks.size() && m_out.serverBlocks[m_nextServer].begin == m_pos;
    }

    // Steps over the server block at m_pos.
    void skipServer(bool isInline) {
        m_out.serverInline[m_nextServer] = isInline;
        m_pos = m_out.serverBlocks[m_nextServer].end;
        ++m_nextServer;
    }

    // Advances one position inside markup, stepping over server blocks whole.
    void advance() {
        if (atServer())
            skipServer(true);
        else
            ++m_pos;
    }

    bool at(QLatin1StringView s, bool noCase = false) const {
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

    bool startsMarkup() const {
        if (m_pos + 1 >= m_n)
            return false;
        const QChar c = m_text[m_pos + 1];
        return isAsciiLetter(c) || c == u'!' || c == u'/' || c == u'?';
    }

    void flushText(qsizetype begin, qsizetype end) {
        if (end <= begin)
            return;
        Token t;
        t.kind = Token::Text;
        t.span = {begin, end};
        m_out.tokens.append(t);
    }

    // Scans to just after `terminator`, stepping over server blocks; to the
    // end of the text when it never comes.
    void scanPast(QLatin1StringView terminator) {
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

    void markup() {
        Token t;
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
        m_out.tokens.append(t);
        if (t.kind == Token::StartTag && isRawTextElement(t.name) && !t.selfClosing)
            rawText(t.name);
        else if (t.kind == Token::StartTag && t.name == u"plaintext")
            rawText(QString());
    }

    void scanComment() {
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

    void tag(Token& t) {
        while (m_pos < m_n && !isSpace(m_text[m_pos]) && m_text[m_pos] != u'/' && m_text[m_pos] != u'>') {
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
            } else if (isSpace(c)) {
                ++m_pos;
            } else {
                attribute(t);
            }
        }
    }

    void attribute(Token& t) {
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
            if (isSpace(c) || c == u'/' || c == u'>' || (c == u'=' && !first))
                break;
            a.name += asciiLower(c);
            ++m_pos;
            first = false;
        }
        a.nameSpan.end = m_pos;
        qsizetype p = m_pos;
        while (p < m_n && isSpace(m_text[p]))
            ++p;
        if (p < m_n && m_text[p] == u'=') {
            m_pos = p + 1;
            while (m_pos < m_n && isSpace(m_text[m_pos]))
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
                while (m_pos < m_n && (atServer() || (!isSpace(m_text[m_pos]) && m_text[m_pos] != u'>')))
                    advance();
                a.value.end = m_pos;
            }
        }
        t.attributes.append(a);
    }

    // Raw text up to "</name" followed by space, '/' or '>' (to the end of
    // the text when name is empty).
    void rawText(const QString& name) {
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
                if (match && (after == m_n || isSpace(m_text[after]) || m_text[after] == u'/' ||
                              m_text[after] == u'>'))
                    break;
            }
            ++m_pos;
        }
        flushText(begin, m_pos);
    }

    // Stands for a server block inside a tag name.
    static constexpr char16_t serverNameMark = 0xFDD0;

    const QString& m_text;
    const qsizetype m_n;
    qsizetype m_pos = 0;
    int m_nextServer = 0;
    Tokenized m_out;
};

}  // namespace

QList<Span> findServerBlocks(const QString& text) {
    QList<Span> blocks;
    qsizetype pos = 0;
    while (true) {
        const qsizetype begin = text.indexOf(QLatin1StringView("<%"), pos);
        if (begin < 0)
            break;
        const bool serverComment = QStringView(text).mid(begin, 4) == u"<%--";
        const QLatin1StringView close(serverComment ? "--%>" : "%>");
        const qsizetype closeAt = text.indexOf(close, begin + (serverComment ? 4 : 2));
        if (closeAt < 0)
            break;
        blocks.append({begin, closeAt + close.size()});
        pos = closeAt + close.size();
    }
    return blocks;
}

bool isRawTextElement(const QString& name) {
    return name == u"script" || name == u"style" || name == u"textarea" || name == u"title" ||
           name == u"xmp" || name == u"iframe" || name == u"noembed" || name == u"noframes";
}

Tokenized tokenize(const QString& text) {
    return Tokenizer(text).run();
}

}  // namespace orvane::fidelity
