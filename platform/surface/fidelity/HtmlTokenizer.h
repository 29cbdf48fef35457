#pragma once
// A small HTML tokenizer that keeps source positions: tags with their
// attributes under any quoting, comments, doctype, CDATA, the raw text of
// script, style, textarea, title and their kind, and server blocks
// (<% ... %>) wherever they stand, which it steps over as opaque text.

#include <QList>
#include <QString>

namespace orvane::fidelity {

struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// Server blocks in text order: "<%" to the first "%>" ("<%--" to "--%>").
// A "<%" that is never closed is not a block.
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
};

struct Tokenized {
    QList<Token> tokens;
    QList<Span> serverBlocks;
    // For each server block: true when it stands inside a tag, a comment,
    // a doctype or raw text rather than as a token of its own.
    QList<bool> serverInline;
};

Tokenized tokenize(const QString& text);

// True for elements whose content the tokenizer reads as raw text.
bool isRawTextElement(const QString& name);

}  // namespace orvane::fidelity
