#pragma once
// Single- and multi-byte encodings other than UTF-8 and UTF-16, with raw-byte
// code points (see PageCodec.h) for bytes the encoding cannot decode.

#include <QByteArray>
#include <QString>

namespace orvane::text {

QString decodeWindows1252(const QByteArray& bytes);
QByteArray encodeWindows1252(const QString& text);

// Any other encoding Qt's converters know by name.
QString decodeNamed(const QByteArray& bytes, const QByteArray& name);
QByteArray encodeNamed(const QString& text, const QByteArray& name);

// Appends "&#N;" for a code point the encoding cannot represent.
void appendCharacterReference(QByteArray& out, char32_t cp);

}  // namespace orvane::text
