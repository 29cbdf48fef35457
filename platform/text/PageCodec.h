#pragma once
// Page files as text. decodePage reads the bytes in the encoding the page
// declares (byte order mark, XML declaration, <meta charset> or http-equiv
// Content-Type; UTF-8 otherwise) and encodePage writes text back in that
// encoding, so that decodePage followed by encodePage returns the very same
// bytes, even bytes that are not valid in the encoding: each such byte is
// carried through the text as a reserved code point (see isRawByte).

#include <QByteArray>
#include <QString>

namespace orvane {

struct PageEncoding {
    QByteArray name;   // e.g. "UTF-8", "windows-1252"
    bool bom = false;  // the file starts with a byte order mark
};

struct DecodedPage {
    QString text;
    PageEncoding encoding;
};

DecodedPage decodePage(const QByteArray& bytes);

// Characters the encoding cannot represent are written as numeric character
// references (&#NNNN;).
QByteArray encodePage(const QString& text, const PageEncoding& encoding);

// Raw bytes carried through the text: byte b is the code point
// rawByteBase + b, in the private use area of plane 16.
constexpr char32_t rawByteBase = 0x10FD00;
constexpr bool isRawByte(char32_t cp) { return cp >= rawByteBase && cp <= rawByteBase + 0xFF; }

}  // namespace orvane
