#pragma once
// A small HTML tokenizer that keeps source positions: tags with their
// attributes under any quoting, comments, doctype, CDATA, the raw text of
// script, style, textarea, title and their kind, and server blocks
// (<% ... %>) wherever they stand, which it steps over as opaque text.
// Tokens come one at a time, so a page is never held as a list of tokens.

#include <QList>
#include <QString>
#include <QStringView>
#include <cstddef>

namespace orvane::fidelity {

// A literal to compare names with, its length known when compiled (a QString
// compared with a bare u"..." measures the literal on every comparison).
constexpr QStringView operator""_sv(const char16_t* s, std::size_t n)
{
    return QStringView(s, qsizetype(n));
}

// HTML's white space (tab, line feed, form feed, carriage return, space).
inline bool isHtmlSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f';
}

struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// Server blocks in text order, as the server reads them: "<%" to the first
// "%>"; "<%--" to the first "--%>", or, when no "--%>" follows, to the first
// "%>" after it, or else to the end of the text. A "<%" that is never closed
// is not a block.
QList<Span> findServerBlocks(const QString& text);

struct Attribute {
    QString name;  // ASCII lower case
    Span nameSpan;
    Span value{-1, -1};  // without its quotes; begin -1 when there is no value
};

struct Token {
    enum Kind { Text, StartTag, EndTag, Comment, Doctype, CData, Server };
    Kind kind = Text;
    Span span;
    QString name;            // tags: ASCII lower case
    qsizetype nameEnd = 0;   // tags: just after the name
    bool selfClosing = false;
    QList<Attribute> attributes;  // start tags
    int server = -1;         // Server: index into the server blocks
    bool makesNothing = false;  // Comment: "</>", which the parser drops without a node
};

class HtmlTokenizer {
public:
    // blocks: findServerBlocks(text). Both must outlive the tokenizer.
    // Reading starts at `from`, which must lie between tokens.
    HtmlTokenizer(const QString& text, const QList<Span>& blocks, qsizetype from = 0);

    // The next token; false at the end of the text.
    bool next(Token& t);

    // For each server block passed so far: true when it stands inside a tag,
    // a comment, a doctype or raw text rather than as a token of its own.
    const QList<bool>& serverInline() const { return m_serverInline; }

    // The start tag that begins at `at`, read on its own.
    static Token startTagAt(const QString& text, const QList<Span>& blocks, qsizetype at);

private:
    bool atServer() const;
    void skipServer(bool isInline);
    void advance();
    bool at(QLatin1StringView s, bool noCase = false) const;
    bool startsMarkup() const;
    void pushText(qsizetype begin, qsizetype end);
    void scanPast(QLatin1StringView terminator);
    void markup();
    void scanComment();
    void tag(Token& t);
    void attribute(Token& t);
    void rawText(const QString& name);

    const QString& m_text;
    const QList<Span>& m_blocks;
    const qsizetype m_n;
    qsizetype m_pos = 0;
    int m_nextServer = 0;
    QList<bool> m_serverInline;
    // Tokens read but not yet handed out (a markup step makes up to three).
    Token m_pending[3];
    int m_pendingCount = 0;
    int m_pendingNext = 0;
};

// True for elements whose content the tokenizer reads as raw text.
bool isRawTextElement(const QString& name);

}  // namespace orvane::fidelity
