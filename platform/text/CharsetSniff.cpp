#include "CharsetSniff.h"

#include "EncodingLabels.h"

#include <QStringDecoder>

#include <string_view>

namespace orvane::text {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

// True when bytes[at..] starts with the lower-case ASCII word, ignoring case.
bool startsWithNoCase(const QByteArray& bytes, qsizetype at, std::string_view word) {
    if (at + qsizetype(word.size()) > bytes.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (lower(bytes[at + qsizetype(i)]) != word[i])
            return false;
    return true;
}

// A small attribute reader over a start tag, after its name.
class AttributeReader {
public:
    AttributeReader(const QByteArray& b, qsizetype pos) : m_b(b), m_pos(pos) {}
    qsizetype pos() const { return m_pos; }

    // Reads the next attribute; false at the end of the tag (pos is then past '>').
    bool next(QByteArray& name, QByteArray& value) {
        name.clear();
        value.clear();
        while (m_pos < m_b.size() && (isSpace(m_b[m_pos]) || m_b[m_pos] == '/'))
            ++m_pos;
        if (m_pos >= m_b.size())
            return false;
        if (m_b[m_pos] == '>') {
            ++m_pos;
            return false;
        }
        while (m_pos < m_b.size() && !isSpace(m_b[m_pos]) && m_b[m_pos] != '=' &&
               m_b[m_pos] != '>' && !(m_b[m_pos] == '/' && !name.isEmpty()))
            name += lower(m_b[m_pos++]);
        while (m_pos < m_b.size() && isSpace(m_b[m_pos]))
            ++m_pos;
        if (m_pos >= m_b.size() || m_b[m_pos] != '=')
            return true;
        ++m_pos;
        while (m_pos < m_b.size() && isSpace(m_b[m_pos]))
            ++m_pos;
        if (m_pos < m_b.size() && (m_b[m_pos] == '"' || m_b[m_pos] == '\'')) {
            const char quote = m_b[m_pos++];
            while (m_pos < m_b.size() && m_b[m_pos] != quote)
                value += m_b[m_pos++];
            ++m_pos;
        } else {
            while (m_pos < m_b.size() && !isSpace(m_b[m_pos]) && m_b[m_pos] != '>')
                value += m_b[m_pos++];
        }
        return true;
    }

private:
    const QByteArray& m_b;
    qsizetype m_pos;
};

// The charset parameter of a Content-Type value ("text/html; charset=x").
QByteArray charsetFromContentType(const QByteArray& content) {
    const QByteArray low = content.toLower();
    qsizetype at = low.indexOf("charset");
    while (at >= 0) {
        qsizetype p = at + 7;
        while (p < low.size() && isSpace(low[p]))
            ++p;
        if (p < low.size() && low[p] == '=') {
            ++p;
            while (p < low.size() && isSpace(low[p]))
                ++p;
            qsizetype end = p;
            if (p < low.size() && (low[p] == '"' || low[p] == '\'')) {
                const char q = low[p++];
                end = low.indexOf(q, p);
                if (end < 0)
                    return {};
            } else {
                while (end < low.size() && !isSpace(low[end]) && low[end] != ';')
                    ++end;
            }
            return content.mid(p, end - p);
        }
        at = low.indexOf("charset", at + 7);
    }
    return {};
}

QByteArray fromMetaLabel(const QByteArray& label) {
    QByteArray name = canonicalEncoding(label);
    if (name.startsWith("UTF-16"))
        name = "UTF-8";
    return name;
}

QByteArray xmlDeclarationEncoding(const QByteArray& bytes) {
    if (!bytes.startsWith("<?xml"))
        return {};
    const qsizetype end = bytes.indexOf("?>");
    if (end < 0)
        return {};
    AttributeReader reader(bytes, 5);
    QByteArray name, value;
    while (reader.pos() < end && reader.next(name, value))
        if (name == "encoding")
            return fromMetaLabel(value);
    return {};
}

// Bytes examined for a <meta> declaration: the head rarely comes near this.
constexpr qsizetype metaScanLimit = 64 * 1024;

}  // namespace

QByteArray canonicalEncoding(const QByteArray& label) {
    const QByteArray name = encodingForLabel(label);
    // The encodings browsers refuse to decode are read as if the page named
    // none: an editor keeps the bytes rather than showing a blank page.
    if (name.isEmpty() || name == "replacement")
        return {};
    // Browsers read a declared x-user-defined as windows-1252.
    if (name == "x-user-defined")
        return "windows-1252";
    if (name == "UTF-8" || name == "windows-1252" || name.startsWith("UTF-16"))
        return name;
    // An encoding the converters here do not have counts as unknown too.
    return QStringDecoder(name.constData()).isValid() ? name : QByteArray();
}

QByteArray declaredEncoding(const QByteArray& bytes) {
    if (QByteArray xml = xmlDeclarationEncoding(bytes); !xml.isEmpty())
        return xml;
    const qsizetype limit = std::min(bytes.size(), metaScanLimit);
    qsizetype pos = 0;
    while (pos < limit) {
        pos = bytes.indexOf('<', pos);
        if (pos < 0 || pos >= limit)
            return {};
        if (bytes.mid(pos, 4) == "<!--") {
            const qsizetype end = bytes.indexOf("-->", pos + 4);
            if (end < 0)
                return {};
            pos = end + 3;
        } else if (bytes.mid(pos, 2) == "<%") {
            const qsizetype end = bytes.indexOf("%>", pos + 2);
            if (end < 0)
                return {};
            pos = end + 2;
        } else if (startsWithNoCase(bytes, pos, "<meta") && pos + 5 < bytes.size() &&
                   (isSpace(bytes[pos + 5]) || bytes[pos + 5] == '/')) {
            AttributeReader reader(bytes, pos + 5);
            QByteArray name, value, charset, content;
            bool contentType = false;
            while (reader.next(name, value)) {
                if (name == "charset" && charset.isEmpty())
                    charset = value;
                else if (name == "content" && content.isEmpty())
                    content = value;
                else if (name == "http-equiv")
                    contentType = value.trimmed().toLower() == "content-type";
            }
            pos = reader.pos();
            QByteArray found;
            if (!charset.isEmpty())
                found = fromMetaLabel(charset);
            else if (contentType)
                found = fromMetaLabel(charsetFromContentType(content));
            if (!found.isEmpty())
                return found;
        } else if (startsWithNoCase(bytes, pos, "<body") || startsWithNoCase(bytes, pos, "</head")) {
            return {};
        } else {
            const qsizetype end = bytes.indexOf('>', pos + 1);
            if (end < 0)
                return {};
            pos = end + 1;
        }
    }
    return {};
}

}  // namespace orvane::text
