#include "ListingParser.h"

#include "ListingFormats.h"

#include <QSet>

namespace orvane::ftp {
namespace {

bool isDotEntry(QStringView name)
{
    return name == u"." || name == u"..";
}

// A name that cannot name a file of the listed folder, or cannot be shown
// and sent back one per line.
bool refusedName(QStringView name)
{
    for (QChar c : name)
        if (c == u'/' || c == u'\0' || c == u'\r' || c == u'\n')
            return true;
    return name.isEmpty();
}

// "YYYYMMDDHHMMSS[.sss]", in UTC.
QDateTime mlsdTime(QStringView v)
{
    if (v.size() < 14)
        return {};
    int n[6] = {};
    const int width[6] = {4, 2, 2, 2, 2, 2};
    qsizetype p = 0;
    for (int i = 0; i < 6; ++i) {
        for (int k = 0; k < width[i]; ++k, ++p) {
            const QChar c = v[p];
            if (c < u'0' || c > u'9')
                return {};
            n[i] = n[i] * 10 + (c.unicode() - '0');
        }
    }
    const QDate d(n[0], n[1], n[2]);
    const QTime t(n[3], n[4], n[5]);
    return d.isValid() && t.isValid() ? QDateTime(d, t, Qt::UTC) : QDateTime();
}

enum class MlsdLine { Entry, Skip, NoFacts };

MlsdLine readMlsdLine(QStringView line, RemoteEntry& e)
{
    // Facts never hold a blank: the name is everything after the first blank
    // (or TAB, which some servers send instead).
    qsizetype blank = 0;
    while (blank < line.size() && line[blank] != u' ' && line[blank] != u'\t')
        ++blank;
    if (blank == line.size())
        return MlsdLine::NoFacts;
    if (blank <= 0 || !line.left(blank).contains(u'='))
        return MlsdLine::NoFacts;
    e.name = line.mid(blank + 1).toString();
    if (e.name.contains(u'\r')) {
        static const QString crNul(QStringView(u"\r\0", 2).toString());
        e.name.replace(crNul, QStringLiteral("\r"));
    }
    for (QStringView fact : line.left(blank).split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = fact.indexOf(u'=');
        if (eq < 0)
            continue;
        const QStringView key = fact.left(eq), value = fact.mid(eq + 1);
        if (key.compare(u"type", Qt::CaseInsensitive) == 0) {
            if (value.compare(u"cdir", Qt::CaseInsensitive) == 0
                || value.compare(u"pdir", Qt::CaseInsensitive) == 0)
                return MlsdLine::Skip;
            if (value.compare(u"dir", Qt::CaseInsensitive) == 0) {
                e.isFolder = true;
            } else if (value.startsWith(u"OS.unix=slink", Qt::CaseInsensitive)
                       || value.startsWith(u"OS.unix=symlink", Qt::CaseInsensitive)) {
                e.isLink = true;
                const qsizetype colon = value.indexOf(u':');
                if (colon > 0)
                    e.linkTarget = value.mid(colon + 1).toString();
            }
        } else if (key.compare(u"size", Qt::CaseInsensitive) == 0) {
            e.size = value.toLongLong();
        } else if (key.compare(u"modify", Qt::CaseInsensitive) == 0) {
            e.modified = mlsdTime(value);
        }
    }
    return MlsdLine::Entry;
}

// Reads the lines of one reply into a Listing.
class Reader {
public:
    Reader(bool mlsd, QDate today, qsizetype lines) : m_mlsd(mlsd), m_today(today)
    {
        m_out.entries.reserve(lines);
    }

    void line(QStringView text, bool foreign)
    {
        if (!m_mlsd) {
            // A VMS entry whose details wrapped: join it to the next line.
            if (!m_wrapped.isEmpty()) {
                QString joined = std::exchange(m_wrapped, QString());
                if (text.startsWith(u' ')) {
                    joined += text;
                    return read(joined, foreign);
                }
                read(joined, foreign);
            }
            if (!text.contains(u' ') && isWrappedVmsName(text)) {
                m_wrapped = text.toString();
                return;
            }
        }
        read(text, foreign);
    }

    Listing finish()
    {
        if (!m_wrapped.isEmpty())
            read(QString(std::exchange(m_wrapped, QString())), false);
        // Not one line had a listing's shape: the reply is bare names.
        if (!m_mlsd && !m_anyRead && !m_out.unparsed.isEmpty()) {
            const QStringList names = std::exchange(m_out.unparsed, {});
            for (qsizetype i = 0; i < names.size(); ++i) {
                RemoteEntry e;
                e.name = names[i];
                if (m_bareForeign.contains(i))
                    e.rawName = encodeWindows1252(e.name);
                add(std::move(e), names[i]);
            }
        }
        return std::move(m_out);
    }

private:
    void read(QStringView text, bool foreign)
    {
        if (text.isEmpty())
            return;
        RemoteEntry e;
        if (m_mlsd) {
            switch (readMlsdLine(text, e)) {
            case MlsdLine::Skip:
                return;
            case MlsdLine::NoFacts:
                m_out.refused.append(text.toString());
                return;
            case MlsdLine::Entry:
                break;
            }
        } else {
            switch (readListLine(text, m_today, e)) {
            case LineReading::Summary:
                m_anyRead = true;
                return;
            case LineReading::Unknown:
                if (foreign)
                    m_bareForeign.insert(m_out.unparsed.size());
                m_out.unparsed.append(text.toString());
                return;
            case LineReading::Entry:
                m_anyRead = true;
                break;
            }
        }
        if (foreign)
            e.rawName = encodeWindows1252(e.name);
        add(std::move(e), text);
    }

    void add(RemoteEntry&& e, QStringView text)
    {
        if (isDotEntry(e.name))
            return;
        if (refusedName(e.name)) {
            m_out.refused.append(text.toString());
            return;
        }
        m_out.entries.append(std::move(e));
    }

    const bool m_mlsd;
    const QDate m_today;
    Listing m_out;
    bool m_anyRead = false;
    QString m_wrapped;
    QSet<qsizetype> m_bareForeign;
};

// Calls fn(line) for each line of text ended by end (the last one may lack it).
template <typename Text, typename End, typename Fn>
void forEachLine(const Text& text, End end, qsizetype endLength, Fn fn)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype stop = text.indexOf(end, start);
        if (stop < 0)
            stop = size;
        fn(start, stop - start);
        start = stop + endLength;
    }
}

Listing parseText(QStringView text, bool mlsd, QDate today)
{
    Reader reader(mlsd, today, text.count(u'\n') + 1);
    const auto each = [&](qsizetype from, qsizetype length) {
        reader.line(text.mid(from, length), false);
    };
    if (text.contains(u"\r\n"))
        forEachLine(text, u"\r\n", 2, each);
    else
        forEachLine(text, u'\n', 1, each);
    return reader.finish();
}

// The 32 characters of Windows-1252's bytes 0x80 to 0x9F.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

Listing parseList(QStringView text, QDate today)
{
    return parseText(text, false, today);
}

Listing parseMlsd(QStringView text)
{
    return parseText(text, true, QDate());
}

Listing parseListing(const QByteArray& reply, bool mlsd, QDate today)
{
    if (QByteArrayView(reply).isValidUtf8())
        return parseText(QString::fromUtf8(reply), mlsd, today);
    Reader reader(mlsd, today, reply.count('\n') + 1);
    const auto each = [&](qsizetype from, qsizetype length) {
        const QByteArrayView line(reply.constData() + from, length);
        if (line.isValidUtf8())
            reader.line(QString::fromUtf8(line), false);
        else
            reader.line(decodeWindows1252(line), true);
    };
    if (reply.contains("\r\n"))
        forEachLine(reply, "\r\n", 2, each);
    else
        forEachLine(reply, '\n', 1, each);
    return reader.finish();
}

QList<int> resolveLinks(QList<RemoteEntry>& entries)
{
    QSet<QString> folders;
    folders.reserve(entries.size());
    for (const RemoteEntry& e : entries)
        if (e.isFolder && !e.isLink)
            folders.insert(e.name);
    QList<int> unresolved;
    for (int i = 0; i < entries.size(); ++i) {
        RemoteEntry& e = entries[i];
        if (!e.isLink || e.isFolder)
            continue;
        QStringView target = e.linkTarget;
        if (target.endsWith(u'/') && target.size() > 1) {
            e.isFolder = true;
            continue;
        }
        if (target.startsWith(u"./"))
            target = target.mid(2);
        if (target.isEmpty() || target.contains(u'/'))
            unresolved.append(i);
        else if (folders.contains(target.toString()))
            e.isFolder = true;
        // A target without "/" that is not listed as a folder here is a file
        // of this folder (or missing): the entry stays a file.
    }
    return unresolved;
}

QString renderListing(const QList<RemoteEntry>& entries)
{
    QString out;
    qsizetype length = 0;
    for (const RemoteEntry& e : entries)
        length += e.name.size() + 3;
    out.reserve(length);
    for (const RemoteEntry& e : entries) {
        if (e.name.isEmpty() || e.name.contains(u'\r') || e.name.contains(u'\n'))
            continue;
        out += e.name;
        if (e.isFolder)
            out += u'/';
        out += u"\r\n";
    }
    return out;
}

QString decodeWindows1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* p = out.data();
    for (char b : bytes) {
        const uchar c = uchar(b);
        *p++ = c >= 0x80 && c < 0xA0 ? QChar(kHigh[c - 0x80]) : QChar(c);
    }
    return out;
}

QByteArray encodeWindows1252(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            out += char(c);
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] == c)
                byte = char(0x80 + i);
        out += byte;
    }
    return out;
}

}  // namespace orvane::ftp
