#include "PageCodec.h"

#include "CharsetSniff.h"
#include "LegacyCodec.h"

namespace orvane {
namespace {

void appendCodePoint(QString& out, char32_t cp) {
    if (cp < 0x10000) {
        out += QChar(char16_t(cp));
    } else {
        out += QChar(QChar::highSurrogate(cp));
        out += QChar(QChar::lowSurrogate(cp));
    }
}

void appendRawBytes(QString& out, const char* p, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        appendCodePoint(out, rawByteBase + static_cast<unsigned char>(p[i]));
}

// Length of the valid UTF-8 sequence at p (at most `left` bytes), with its
// code point; 0 when the bytes there are not a valid sequence.
int utf8Sequence(const unsigned char* p, qsizetype left, char32_t& cp) {
    const unsigned char b = p[0];
    int len;
    char32_t min;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
        len = 2; cp = b & 0x1F; min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3; cp = b & 0x0F; min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4; cp = b & 0x07; min = 0x10000;
    } else {
        return 0;
    }
    if (left < len)
        return 0;
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

struct Utf8Census {
    qsizetype multiByte = 0;  // valid sequences of two or more bytes
    qsizetype invalid = 0;    // bytes that start no valid sequence
};

Utf8Census utf8Census(const QByteArray& bytes) {
    Utf8Census c;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t cp;
        const int len = utf8Sequence(p + i, n - i, cp);
        if (len == 0) {
            ++c.invalid;
            ++i;
        } else {
            ++c.multiByte;
            i += len;
        }
    }
    return c;
}

// A valid sequence that decodes to a raw-byte code point is carried as raw
// bytes too, so it is written back as the same bytes.
QString decodeUtf8(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype ascii = i;
        while (ascii < n && p[ascii] < 0x80)
            ++ascii;
        if (ascii > i) {
            out += QLatin1StringView(bytes.constData() + i, ascii - i);
            i = ascii;
            continue;
        }
        char32_t cp;
        const int len = utf8Sequence(p + i, n - i, cp);
        if (len == 0) {
            appendRawBytes(out, bytes.constData() + i, 1);
            i += 1;
        } else if (isRawByte(cp)) {
            appendRawBytes(out, bytes.constData() + i, len);
            i += len;
        } else {
            appendCodePoint(out, cp);
            i += len;
        }
    }
    return out;
}

QByteArray encodeUtf8(const QString& text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 8);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t cp = text[i].unicode();
        if (cp < 0x80) {
            out += char(cp);
            continue;
        }
        if (QChar::isHighSurrogate(cp) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(char16_t(cp), text[i + 1].unicode());
            ++i;
            if (isRawByte(cp)) {
                out += char(cp - rawByteBase);
                continue;
            }
        }
        // A lone surrogate is written in the three-byte form; read back it is
        // three raw bytes, which keeps the text stable from then on.
        if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
        }
        out += char(0x80 | (cp & 0x3F));
    }
    return out;
}

char16_t utf16Unit(const char* p, bool bigEndian) {
    const auto a = static_cast<unsigned char>(p[0]);
    const auto b = static_cast<unsigned char>(p[1]);
    return bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
}

// Units are copied as they are, unpaired surrogates included; an odd last
// byte is a raw byte.
QString decodeUtf16(const QByteArray& bytes, bool bigEndian) {
    QString out;
    out.reserve(bytes.size() / 2 + 1);
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 1 < n; i += 2) {
        const char16_t u = utf16Unit(bytes.constData() + i, bigEndian);
        if (QChar::isHighSurrogate(u) && i + 3 < n) {
            const char16_t v = utf16Unit(bytes.constData() + i + 2, bigEndian);
            if (QChar::isLowSurrogate(v) && isRawByte(QChar::surrogateToUcs4(u, v))) {
                appendRawBytes(out, bytes.constData() + i, 4);
                i += 2;
                continue;
            }
        }
        out += QChar(u);
    }
    if (i < n)
        appendRawBytes(out, bytes.constData() + i, 1);
    return out;
}

QByteArray encodeUtf16(const QString& text, bool bigEndian) {
    QByteArray out;
    out.reserve(text.size() * 2);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            const char32_t cp = QChar::surrogateToUcs4(u, text[i + 1].unicode());
            if (isRawByte(cp)) {
                out += char(cp - rawByteBase);
                ++i;
                continue;
            }
        }
        if (bigEndian) {
            out += char(u >> 8);
            out += char(u & 0xFF);
        } else {
            out += char(u & 0xFF);
            out += char(u >> 8);
        }
    }
    return out;
}

QString decodeAs(const QByteArray& bytes, const QByteArray& name) {
    if (name == "UTF-8")
        return decodeUtf8(bytes);
    if (name == "windows-1252")
        return text::decodeWindows1252(bytes);
    if (name == "UTF-16LE" || name == "UTF-16BE")
        return decodeUtf16(bytes, name == "UTF-16BE");
    return text::decodeNamed(bytes, name);
}

}  // namespace

DecodedPage decodePage(const QByteArray& bytes) {
    DecodedPage page;
    QByteArray body = bytes;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        page.encoding = {"UTF-8", true};
        body = bytes.mid(3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        page.encoding = {"UTF-16LE", true};
        body = bytes.mid(2);
    } else if (bytes.startsWith("\xFE\xFF")) {
        page.encoding = {"UTF-16BE", true};
        body = bytes.mid(2);
    } else if (QByteArray declared = text::declaredEncoding(bytes); !declared.isEmpty()) {
        page.encoding.name = declared;
    } else {
        // Nothing declared: UTF-8, unless the bytes are plainly a legacy
        // page (more bytes that are not UTF-8 than UTF-8 sequences), which
        // browsers read as windows-1252.
        const Utf8Census c = utf8Census(bytes);
        page.encoding.name = c.invalid > c.multiByte ? "windows-1252" : "UTF-8";
    }
    page.text = decodeAs(body, page.encoding.name);
    return page;
}

QByteArray encodePage(const QString& text, const PageEncoding& encoding) {
    const QByteArray name = text::canonicalEncoding(encoding.name);
    QByteArray out;
    if (name == "UTF-16LE" || name == "UTF-16BE") {
        const bool be = name == "UTF-16BE";
        if (encoding.bom)
            out = be ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
        return out + encodeUtf16(text, be);
    }
    if (encoding.bom)
        out = "\xEF\xBB\xBF";
    if (name == "windows-1252")
        out += text::encodeWindows1252(text);
    else if (name.isEmpty() || name == "UTF-8")
        out += encodeUtf8(text);
    else
        out += text::encodeNamed(text, name);
    return out;
}

}  // namespace orvane
