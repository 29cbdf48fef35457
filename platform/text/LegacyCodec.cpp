#include "LegacyCodec.h"

#include "PageCodec.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace orvane::text {
namespace {

// Bytes 0x80-0x9F of windows-1252; the five bytes it leaves undefined map to
// the C1 control of the same value, as in browsers.
constexpr std::array<char16_t, 32> cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int cp1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (int i = 0; i < 32; ++i)
        if (cp1252High[size_t(i)] == cp)
            return 0x80 + i;
    return -1;
}

void appendRawByte(QString& out, unsigned char b) {
    const char32_t cp = rawByteBase + b;
    out += QChar(QChar::highSurrogate(cp));
    out += QChar(QChar::lowSurrogate(cp));
}

// Calls f(codePoint) for each code point; a lone surrogate is passed as is.
template <typename F>
void forEachCodePoint(const QString& text, F f) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            f(QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
        } else {
            f(char32_t(c));
        }
    }
}

bool hasRawByteCodePoint(const QString& text) {
    bool found = false;
    forEachCodePoint(text, [&](char32_t cp) { found = found || isRawByte(cp); });
    return found;
}

// Encodes a piece with one converter and leaves the converter's initial
// state at its end (ISO-2022-JP switches back to ASCII), so that pieces can
// be joined and each reads back on its own. False in ok when a character
// cannot be encoded.
QByteArray encodePiece(QStringView piece, const QByteArray& name, bool& ok) {
    QStringEncoder enc(name.constData());
    QByteArray out = enc(piece);
    // A converter returns to its initial state only before what comes next:
    // an ASCII letter after the piece draws out the bytes that do it.
    const QByteArray tail = enc(QStringView(u"A"));
    ok = !enc.hasError();
    if (tail.endsWith('A'))
        out += tail.left(tail.size() - 1);
    return out;
}

// Decodes a piece with a fresh decoder; true when the piece round-trips.
bool decodesExactly(const QByteArray& piece, const QByteArray& name, QString& out) {
    QStringDecoder dec(name.constData());
    out = dec(piece);
    if (dec.hasError() || hasRawByteCodePoint(out))
        return false;
    bool ok = false;
    const QByteArray back = encodePiece(out, name, ok);
    return ok && back == piece;
}

// Which bytes below 0x80 the encoding reads and writes as the ASCII
// character on their own. Not all: an escape starts a shift in ISO-2022-JP,
// and some converters swap control characters (0x1A and 0x1C in Shift_JIS).
std::array<bool, 128> asciiBytes(const QByteArray& name) {
    std::array<bool, 128> same{};
    for (int b = 0; b < 128; ++b) {
        const QByteArray one(1, char(b));
        QString text;
        same[size_t(b)] = decodesExactly(one, name, text) && text.size() == 1 && text[0].unicode() == b;
    }
    return same;
}

}  // namespace

void appendCharacterReference(QByteArray& out, char32_t cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF)
        cp = 0xFFFD;
    out += "&#";
    out += QByteArray::number(uint(cp));
    out += ';';
}

QString decodeWindows1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b < 0xA0) ? QChar(cp1252High[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray encodeWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    forEachCodePoint(text, [&](char32_t cp) {
        if (isRawByte(cp)) {
            out += char(cp - rawByteBase);
        } else if (const int b = cp1252Byte(cp); b >= 0) {
            out += char(b);
        } else {
            appendCharacterReference(out, cp);
        }
    });
    return out;
}

QString decodeNamed(const QByteArray& bytes, const QByteArray& name) {
    QString out;
    if (decodesExactly(bytes, name, out))
        return out;
    // Some bytes do not decode (or do not come back the same): decode line by
    // line, and in a line that does not round-trip keep as text only the
    // bytes that stand for their ASCII character on their own, and carry
    // every other byte as a raw byte.
    const std::array<bool, 128> ascii = asciiBytes(name);
    QString result;
    result.reserve(bytes.size());
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArray line = bytes.mid(start, end - start);
        if (decodesExactly(line, name, out)) {
            result += out;
        } else {
            for (char c : line) {
                const auto b = static_cast<unsigned char>(c);
                if (b < 0x80 && ascii[b])
                    result += QChar(b);
                else
                    appendRawByte(result, b);
            }
        }
        start = end;
    }
    return result;
}

QByteArray encodeNamed(const QString& text, const QByteArray& name) {
    QByteArray out;
    out.reserve(text.size());
    QHash<char32_t, bool> encodable;
    auto canEncode = [&](char32_t cp) {
        auto it = encodable.constFind(cp);
        if (it == encodable.cend()) {
            bool ok = false;
            encodePiece(QString::fromUcs4(&cp, 1), name, ok);
            it = encodable.insert(cp, ok);
        }
        return *it;
    };
    auto encodeRun = [&](QStringView run) {
        if (run.isEmpty())
            return;
        bool ok = false;
        const QByteArray bytes = encodePiece(run, name, ok);
        if (ok) {
            out += bytes;
            return;
        }
        // Characters the encoding lacks become references; what lies between
        // them is encoded in stretches, each ending in the initial state.
        qsizetype from = 0;
        for (qsizetype i = 0; i < run.size();) {
            const bool pair = run[i].isHighSurrogate() && i + 1 < run.size() && run[i + 1].isLowSurrogate();
            const char32_t cp = pair ? QChar::surrogateToUcs4(run[i], run[i + 1]) : char32_t(run[i].unicode());
            const qsizetype next = i + (pair ? 2 : 1);
            if (!canEncode(cp)) {
                out += encodePiece(run.mid(from, i - from), name, ok);
                appendCharacterReference(out, cp);
                from = next;
            }
            i = next;
        }
        out += encodePiece(run.mid(from), name, ok);
    };
    qsizetype runStart = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const char32_t cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate() && isRawByte(cp)) {
            encodeRun(QStringView(text).mid(runStart, i - runStart));
            out += char(cp - rawByteBase);
            runStart = i + 2;
            ++i;
        }
    }
    encodeRun(QStringView(text).mid(runStart));
    return out;
}

}  // namespace orvane::text
