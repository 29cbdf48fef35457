#include "ListingParser.h"

#include "ListingFormats.h"

#include <QSet>

#include <algorithm>

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

// Days from 1970-01-01 to the date y-m-d of the proleptic Gregorian calendar.
qint64 daysSinceEpoch(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;   // from March 1st
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return qint64(era) * 146097 + dayOfEra - 719468;
}

// "YYYYMMDDHHMMSS[.sss]", in UTC. Read with integers alone: a listing of a
// million entries pays for no calendar objects.
QDateTime mlsdTime(QByteArrayView v)
{
    if (v.size() < 14)
        return {};
    int n[6] = {};
    const int width[6] = {4, 2, 2, 2, 2, 2};
    qsizetype p = 0;
    for (int i = 0; i < 6; ++i) {
        for (int k = 0; k < width[i]; ++k, ++p) {
            const char c = v[p];
            if (c < '0' || c > '9')
                return {};
            n[i] = n[i] * 10 + (c - '0');
        }
    }
    const auto [year, month, day, hour, minute, second] = n;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int monthDays[12] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    // There is no year 0; a leap second is no valid time either.
    if (year == 0 || month < 1 || month > 12 || day < 1 || day > monthDays[month - 1] || hour > 23
        || minute > 59 || second > 59)
        return {};
    const qint64 seconds = daysSinceEpoch(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return QDateTime::fromMSecsSinceEpoch(seconds * 1000, Qt::UTC);
}

// Fact names and values compared without regard to ASCII letter case (name
// is ASCII; a byte differing only in bit 0x20 is the same letter in the
// other case only when it is a letter).
bool isFact(QByteArrayView key, QByteArrayView name)
{
    if (key.size() != name.size())
        return false;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char a = key[i], b = name[i];
        if (a != b && ((a ^ b) != 0x20 || (a | 0x20) < 'a' || (a | 0x20) > 'z'))
            return false;
    }
    return true;
}

bool startsWithNoCase(QByteArrayView value, QByteArrayView prefix)
{
    return value.size() >= prefix.size() && isFact(value.first(prefix.size()), prefix);
}

// A name's bytes as shown: UTF-8, or Windows-1252 when they are not UTF-8.
QString decodeName(QByteArrayView bytes)
{
    return bytes.isValidUtf8() ? QString::fromUtf8(bytes) : decodeWindows1252(bytes);
}

enum class MlsdLine { Entry, Skip, NoFacts };

// One fact of an MLSD line. Returns false when the line names the folder
// itself or its parent ("cdir", "pdir"), which give no entry.
bool readMlsdFact(QByteArrayView key, QByteArrayView value, RemoteEntry& e)
{
    if (isFact(key, "type")) {
        if (isFact(value, "cdir") || isFact(value, "pdir"))
            return false;
        if (isFact(value, "dir")) {
            e.isFolder = true;
        } else if (startsWithNoCase(value, "OS.unix=slink") || startsWithNoCase(value, "OS.unix=symlink")) {
            e.isLink = true;
            const qsizetype colon = value.indexOf(':');
            if (colon > 0)
                e.setLinkTarget(decodeName(value.sliced(colon + 1)));
        }
    } else if (isFact(key, "size")) {
        e.size = value.toLongLong();
    } else if (isFact(key, "modify")) {
        e.modified = mlsdTime(value);
    }
    return true;
}

// Read at the byte level: facts are ASCII, and only the name becomes text.
MlsdLine readMlsdLine(QByteArrayView line, RemoteEntry& e)
{
    // Facts never hold a blank: the name is everything after the first blank
    // (or TAB, which some servers send instead). One pass over the facts
    // finds it and reads them: a million lines make a million of these.
    const char* const p = line.data();
    qsizetype blank = 0, key = 0, eq = -1;
    bool anyFact = false, entry = true;
    for (;; ++blank) {
        if (blank == line.size())
            return MlsdLine::NoFacts;
        const char c = p[blank];
        if (c == '=') {
            if (eq < 0)
                eq = blank;
            continue;
        }
        if (c != ';' && c != ' ' && c != '\t')
            continue;
        if (eq >= 0) {
            anyFact = true;
            entry = readMlsdFact(line.sliced(key, eq - key), line.sliced(eq + 1, blank - eq - 1), e) && entry;
        }
        if (c != ';')
            break;
        key = blank + 1;
        eq = -1;
    }
    if (!anyFact || blank == 0)
        return MlsdLine::NoFacts;
    if (!entry)
        return MlsdLine::Skip;
    QByteArrayView name = line.sliced(blank + 1);
    QByteArray unescaped;
    if (name.contains('\r')) {   // a CR in a name comes as CR NUL
        unescaped = name.toByteArray().replace(QByteArrayView("\r\0", 2), "\r");
        name = unescaped;
    }
    if (name.isValidUtf8()) {
        e.name = QString::fromUtf8(name);
    } else {
        e.name = decodeWindows1252(name);
        e.setRawName(name.toByteArray());
    }
    return MlsdLine::Entry;
}

qsizetype findLf(QByteArrayView text, qsizetype from) { return text.indexOf('\n', from); }
qsizetype findLf(QStringView text, qsizetype from) { return text.indexOf(u'\n', from); }

// Where the first line end at or after from begins (CR LF, or LF alone when
// not crlf), or -1. A lone LF in a CR LF reply belongs to its line.
template <typename View>
qsizetype lineEndFrom(View text, qsizetype from, bool crlf)
{
    for (qsizetype lf = findLf(text, from); lf >= 0; lf = findLf(text, lf + 1)) {
        if (!crlf)
            return lf;
        if (lf > from && text[lf - 1] == u'\r')
            return lf - 1;
    }
    return -1;
}

// Calls fn(line) for each line of text; the last may lack its line end.
template <typename View, typename Fn>
void forEachLine(View text, bool crlf, Fn fn)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype stop = lineEndFrom(text, start, crlf);
        if (stop < 0)
            stop = text.size();
        fn(text.sliced(start, stop - start));
        start = stop + (crlf ? 2 : 1);
    }
}

// Reads the lines of one reply into a Listing.
class Reader {
public:
    Reader(bool mlsd, QDate today) : m_mlsd(mlsd), m_today(today) {}

    // The complete lines of block, each ended by CR LF (crlf) or LF; the
    // last one may lack it.
    void lines(QByteArrayView block, bool crlf)
    {
        if (m_mlsd) {
            forEachLine(block, crlf, [&](QByteArrayView line) {
                if (!line.isEmpty())
                    mlsdLine(line);
            });
        } else if (block.isValidUtf8()) {
            // One conversion for the whole block (line ends are ASCII).
            textLines(QString::fromUtf8(block), crlf);
        } else {
            forEachLine(block, crlf, [&](QByteArrayView line) {
                if (line.isValidUtf8())
                    listLine(QString::fromUtf8(line), false);
                else
                    listLine(decodeWindows1252(line), true);
            });
        }
    }

    // LIST lines already decoded.
    void textLines(QStringView text, bool crlf)
    {
        forEachLine(text, crlf, [&](QStringView line) { listLine(line, false); });
    }

    Listing finish()
    {
        if (!m_wrapped.isEmpty())
            readLine(std::exchange(m_wrapped, QString()), false);
        // Not one line had a listing's shape: the reply is bare names.
        if (!m_mlsd && !m_anyRead && !m_out.unparsed.isEmpty()) {
            const QStringList names = std::exchange(m_out.unparsed, {});
            for (qsizetype i = 0; i < names.size(); ++i) {
                RemoteEntry e;
                e.name = names[i];
                if (m_bareForeign.contains(i))
                    e.setRawName(encodeWindows1252(e.name));
                add(std::move(e), [&] { return names[i]; });
            }
        }
        return std::move(m_out);
    }

private:
    void mlsdLine(QByteArrayView bytes)
    {
        RemoteEntry e;
        switch (readMlsdLine(bytes, e)) {
        case MlsdLine::Skip:
            return;
        case MlsdLine::NoFacts:
            m_out.refused.append(decodeName(bytes));
            return;
        case MlsdLine::Entry:
            add(std::move(e), [&] { return decodeName(bytes); });
            return;
        }
    }

    void listLine(QStringView text, bool foreign)
    {
        // A VMS entry whose details wrapped: join it to the next line.
        if (!m_wrapped.isEmpty()) {
            QString joined = std::exchange(m_wrapped, QString());
            if (text.startsWith(u' ')) {
                joined += text;
                return readLine(joined, foreign);
            }
            readLine(joined, foreign);
        }
        if (!text.contains(u' ') && isWrappedVmsName(text)) {
            m_wrapped = text.toString();
            return;
        }
        readLine(text, foreign);
    }

    void readLine(QStringView text, bool foreign)
    {
        if (text.isEmpty())
            return;
        RemoteEntry e;
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
        if (foreign)
            e.setRawName(encodeWindows1252(e.name));
        add(std::move(e), [&] { return text.toString(); });
    }

    // lineText gives the whole line, wanted only when the name is refused.
    template <typename LineText>
    void add(RemoteEntry&& e, LineText lineText)
    {
        if (isDotEntry(e.name))
            return;
        if (refusedName(e.name)) {
            m_out.refused.append(lineText());
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

// The 32 characters of Windows-1252's bytes 0x80 to 0x9F.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// A reply without a CR LF in its first part ends its lines with LF alone.
constexpr qsizetype kLineEndProbe = 64 * 1024;

}  // namespace

struct ListingReader::Private {
    Private(bool mlsd, QDate today) : reader(mlsd, today) {}

    // Reads the complete lines of pending; at the end also the last one.
    void readLines(bool atEnd)
    {
        if (crlf < 0) {
            const QByteArrayView probe = QByteArrayView(pending).first(qMin(pending.size(), kLineEndProbe));
            if (probe.contains("\r\n"))
                crlf = 1;
            else if (atEnd || pending.size() >= kLineEndProbe)
                crlf = 0;
            else
                return;
        }
        qsizetype start = pending.size();
        if (!atEnd) {
            // Only the bytes fed since the last look can end a line: a line
            // that never ends is not searched again with every piece of it.
            const qsizetype from = std::exchange(searched, pending.size());
            const QByteArrayView fresh = QByteArrayView(pending).sliced(from);
            qsizetype last = fresh.size();
            do
                last = fresh.first(last).lastIndexOf('\n');
            while (last >= 0 && crlf && (from + last == 0 || pending[from + last - 1] != '\r'));
            if (last < 0)
                return;
            start = from + last + 1;
        }
        reader.lines(QByteArrayView(pending).first(start), crlf);
        pending.remove(0, start);
        searched = pending.size();
    }

    Reader reader;
    QByteArray pending;     // bytes after the last complete line
    qsizetype searched = 0; // of pending, known to end no line
    int crlf = -1;          // whether lines end with CR LF; -1 until known
    qsizetype total = 0;
};

ListingReader::ListingReader(bool mlsd, QDate today) : d(new Private(mlsd, today)) {}
ListingReader::~ListingReader() = default;

void ListingReader::feed(QByteArrayView bytes)
{
    d->total += bytes.size();
    d->pending.append(bytes);
    d->readLines(false);
}

qsizetype ListingReader::size() const { return d->total; }

Listing ListingReader::finish()
{
    d->readLines(true);
    return d->reader.finish();
}

Listing parseListing(QByteArrayView reply, bool mlsd, QDate today)
{
    ListingReader reader(mlsd, today);
    reader.feed(reply);
    return reader.finish();
}

QList<int> resolveLinks(QList<RemoteEntry>& entries)
{
    if (std::none_of(entries.cbegin(), entries.cend(), [](const RemoteEntry& e) { return e.isLink; }))
        return {};
    QSet<QString> folders;
    for (const RemoteEntry& e : entries)
        if (e.isFolder && !e.isLink)
            folders.insert(e.name);
    QList<int> unresolved;
    for (int i = 0; i < entries.size(); ++i) {
        RemoteEntry& e = entries[i];
        if (!e.isLink || e.isFolder)
            continue;
        const QString linkTarget = e.linkTarget();
        QStringView target = linkTarget;
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

namespace {

// One line per entry, folders with a trailing "/"; names holding a CR or LF
// cannot be shown one per line and are left out.
QStringList listingLines(const QList<RemoteEntry>& entries)
{
    QStringList lines;
    lines.reserve(entries.size());
    for (const RemoteEntry& e : entries) {
        if (e.name.isEmpty() || e.name.contains(u'\r') || e.name.contains(u'\n'))
            continue;
        lines.append(e.isFolder ? e.name + u'/' : e.name);
    }
    return lines;
}

}  // namespace

QString renderListing(const QList<RemoteEntry>& entries)
{
    const QStringList lines = listingLines(entries);
    qsizetype length = 0;
    for (const QString& line : lines)
        length += line.size() + 2;
    QString out;
    out.reserve(length);
    for (const QString& line : lines) {
        out += line;
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
