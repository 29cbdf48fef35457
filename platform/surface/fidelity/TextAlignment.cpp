#include "TextAlignment.h"

#include <algorithm>

namespace orvane::fidelity {
namespace {

bool isAsciiAlnum(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// The value of a hexadecimal digit, -1 for any other character.
int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The end of the reference that begins at i ('&'), or i + 1 when none does.
// code: its code point when numeric, else -1.
qsizetype referenceEnd(QStringView s, qsizetype i, qint64& code) {
    qsizetype k = i + 1;
    code = -1;
    if (k < s.size() && s[k] == u'#') {
        ++k;
        const bool hex = k < s.size() && (s[k] == u'x' || s[k] == u'X');
        if (hex)
            ++k;
        const qsizetype digits = k;
        qint64 value = 0;
        while (k < s.size() && hexValue(s[k]) >= 0 && (hex || hexValue(s[k]) < 10)) {
            value = std::min<qint64>(value * (hex ? 16 : 10) + hexValue(s[k]), 0x110000);
            ++k;
        }
        if (k == digits)
            return i + 1;
        code = value;
    } else {
        while (k < s.size() && isAsciiAlnum(s[k]))
            ++k;
        if (k == i + 1)
            return i + 1;
    }
    if (k < s.size() && s[k] == u';')
        ++k;
    return k;
}

}  // namespace

QList<TextCut> alignSourceText(QStringView s, QStringView t) {
    QList<TextCut> cuts{{0, 0}};
    qsizetype i = 0, j = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c == u'\r') {
            if (j >= t.size() || t[j] != u'\n')
                return {};
            i += i + 1 < n && s[i + 1] == u'\n' ? 2 : 1;
            ++j;
        } else if (c == QChar(0)) {
            ++i;  // dropped from text
        } else if (c == u'<' && (j >= t.size() || t[j] != u'<')) {
            // A tag that made nothing (a stray end tag, a second body).
            const qsizetype close = s.indexOf(u'>', i);
            if (close < 0)
                return {};
            i = close + 1;
        } else if (c == u'&') {
            qint64 code = -1;
            const qsizetype end = referenceEnd(s, i, code);
            const QStringView written = s.mid(i, end - i);
            if (end == i + 1 || t.mid(j).startsWith(written)) {
                // Not a reference, or one the browser kept as written.
                if (j >= t.size() || t[j] != u'&')
                    return {};
                ++i, ++j;
                cuts.append({i, j});
                continue;
            }
            qsizetype units = 1;
            if (code >= 0x10000 && code <= 0x10FFFF) {
                units = 2;
            } else if (code < 0 && end < n && s[end] != u'&' && s[end] != QChar(0) && s[end] != u'<') {
                // A named reference makes one or two code points: it ends
                // where the text goes on with the source's next character.
                const QChar next = s[end] == u'\r' ? QChar(u'\n') : s[end];
                units = 0;
                for (qsizetype u = 1; u <= 4 && !units; ++u)
                    if (j + u < t.size() && t[j + u] == next)
                        units = u;
                if (!units)
                    return {};
            } else if (code < 0 && end == n) {
                units = std::clamp<qsizetype>(t.size() - j, 1, 4);
            }
            if (j + units > t.size())
                return {};
            i = end;
            j += units;
        } else {
            if (j >= t.size() || t[j] != c)
                return {};
            ++i, ++j;
        }
        cuts.append({i, j});
    }
    return cuts;
}

}  // namespace orvane::fidelity
