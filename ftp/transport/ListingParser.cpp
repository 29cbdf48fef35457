#include "ListingParser.h"

#include "ListingFormats.h"

#include <QSet>

#include <algorithm>
#include <cstring>

namespace orvane::ftp {
namespace {

template <typename View>
bool isDotEntry(View name)
{
    return name.size() <= 2 && !name.isEmpty() && name[0] == '.' && (name.size() == 1 || name[1] == '.');
}

// A name that cannot name a file of the listed folder, or cannot be shown
// and sent back one per line. Bytes are read before decoding: "/", NUL, CR
// and LF are the same in UTF-8 and Windows-1252, and no other byte becomes one.
template <typename View>
bool refusedName(View name)
{
    for (auto c : name)
        if (c == '/' || c == '\0' || c == '\r' || c == '\n')
            return true;
    return name.isEmpty() || name.size() > RemoteEntry::kMaxNameSize;
}

bool isAscii(QByteArrayView bytes)
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; p < end; ++p)
        if (uchar(*p) >= 0x80)
            return false;
    return true;
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

// "YYYYMMDDHHMMSS[.sss]", in UTC, as milliseconds since 1970. Read with
// integers alone: a listing of a million entries pays for no calendar objects.
qint64 mlsdTime(QByteArrayView v)
{
    if (v.size() < 14)
        return RemoteEntry::kNoTime;
    int n[6] = {};
    const int width[6] = {4, 2, 2, 2, 2, 2};
    qsizetype p = 0;
    for (int i = 0; i < 6; ++i) {
        for (int k = 0; k < width[i]; ++k, ++p) {
            const char c = v[p];
            if (c < '0' || c > '9')
                return RemoteEntry::kNoTime;
            n[i] = n[i] * 10 + (c - '0');
        }
    }
    const auto [year, month, day, hour, minute, second] = n;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int monthDays[12] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    // There is no year 0; a leap second is no valid time either.
    if (year == 0 || month < 1 || month > 12 || day < 1 || day > monthDays[month - 1] || hour > 23
        || minute > 59 || second > 59)
        return RemoteEntry::kNoTime;
    return (daysSinceEpoch(year, month, day) * 86400 + hour * 3600 + minute * 60 + second) * 1000;
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

struct MlsdFacts {
    bool isFolder = false;
    bool isLink = false;
    qint64 size = -1;
    qint64 modifiedMs = RemoteEntry::kNoTime;
    QByteArrayView linkTarget;
};

enum class MlsdLine { Entry, Skip, NoFacts };

// One fact of an MLSD line. Returns false when the line names the folder
// itself or its parent ("cdir", "pdir"), which give no entry.
bool readMlsdFact(QByteArrayView key, QByteArrayView value, MlsdFacts& f)
{
    if (isFact(key, "type")) {
        if (isFact(value, "cdir") || isFact(value, "pdir"))
            return false;
        if (isFact(value, "dir")) {
            f.isFolder = true;
        } else if (startsWithNoCase(value, "OS.unix=slink") || startsWithNoCase(value, "OS.unix=symlink")) {
            f.isLink = true;
            const qsizetype colon = value.indexOf(':');
            if (colon > 0)
                f.linkTarget = value.sliced(colon + 1);
        }
    } else if (isFact(key, "size")) {
        f.size = value.toLongLong();
    } else if (isFact(key, "modify")) {
        f.modifiedMs = mlsdTime(value);
    }
    return true;
}

// Read at the byte level: facts are ASCII, and only the name becomes text.
MlsdLine readMlsdLine(QByteArrayView line, MlsdFacts& f, QByteArrayView& name)
{
    // Facts never hold a blank: the name is everything after the first blank
    // (or TAB, which some servers send instead). A million lines make a
    // million of these, so the bytes are searched, not stepped through.
    qsizetype blank = line.indexOf(' ');
    const qsizetype tab = (blank < 0 ? line : line.first(blank)).indexOf('\t');
    if (tab >= 0)
        blank = tab;
    if (blank <= 0)
        return MlsdLine::NoFacts;
    const QByteArrayView facts = line.first(blank);
    bool anyFact = false, entry = true;
    for (qsizetype key = 0; key < blank;) {
        qsizetype end = facts.indexOf(';', key);
        if (end < 0)
            end = blank;
        const QByteArrayView fact = facts.sliced(key, end - key);
        if (const qsizetype eq = fact.indexOf('='); eq >= 0) {
            anyFact = true;
            entry = readMlsdFact(fact.first(eq), fact.sliced(eq + 1), f) && entry;
        }
        key = end + 1;
    }
    if (!anyFact)
        return MlsdLine::NoFacts;
    if (!entry)
        return MlsdLine::Skip;
    name = line.sliced(blank + 1);
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
            const QString text = QString::fromUtf8(block);
            forEachLine(QStringView(text), crlf, [&](QStringView line) { listLine(line, false); });
        } else {
            forEachLine(block, crlf, [&](QByteArrayView line) {
                if (line.isValidUtf8())
                    listLine(QString::fromUtf8(line), false);
                else
                    listLine(decodeWindows1252(line), true);
            });
        }
    }

    Listing finish()
    {
        if (!m_wrapped.isEmpty())
            readLine(std::exchange(m_wrapped, QString()), false);
        // Not one line had a listing's shape: the reply is bare names.
        if (!m_mlsd && !m_anyRead && !m_out.unparsed.isEmpty()) {
            const QStringList names = std::exchange(m_out.unparsed, {});
            for (qsizetype i = 0; i < names.size(); ++i) {
                LineEntry e;
                e.name = names[i];
                add(e, m_bareForeign.contains(i), names[i]);
            }
        }
        return std::move(m_out);
    }

private:
    void mlsdLine(QByteArrayView bytes)
    {
        MlsdFacts f;
        QByteArrayView name;
        switch (readMlsdLine(bytes, f, name)) {
        case MlsdLine::Skip:
            return;
        case MlsdLine::NoFacts:
            m_out.refused.append(decodeName(bytes));
            return;
        case MlsdLine::Entry:
            break;
        }
        QByteArray unescaped;
        if (name.contains('\r')) {   // a CR in a name comes as CR NUL
            unescaped = name.toByteArray().replace(QByteArrayView("\r\0", 2), "\r");
            name = unescaped;
        }
        if (isDotEntry(name))
            return;
        if (refusedName(name)) {
            m_out.refused.append(decodeName(bytes));
            return;
        }
        // Most names are ASCII: they go straight into the listing's names.
        RemoteEntry* e;
        if (isAscii(name)) {
            e = &m_out.append(QLatin1StringView(name));
        } else if (name.isValidUtf8()) {
            e = &m_out.append(QString::fromUtf8(name));
        } else {
            e = &m_out.append(decodeWindows1252(name));
            m_out.setRawName(*e, name.toByteArray());
        }
        e->isFolder = f.isFolder;
        e->isLink = f.isLink;
        e->size = f.size;
        e->modifiedMs = f.modifiedMs;
        if (!f.linkTarget.isEmpty())
            m_out.setLinkTarget(*e, decodeName(f.linkTarget));
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
        LineEntry e;
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
        add(e, foreign, text);
    }

    // line is the whole line, kept when the name is refused.
    void add(const LineEntry& e, bool foreign, QStringView line)
    {
        if (isDotEntry(e.name))
            return;
        if (refusedName(e.name)) {
            m_out.refused.append(line.toString());
            return;
        }
        RemoteEntry& r = m_out.append(e.name);
        r.isFolder = e.isFolder;
        r.isLink = e.isLink;
        r.size = e.size;
        r.modifiedMs = e.modified.isValid() ? e.modified.toMSecsSinceEpoch() : RemoteEntry::kNoTime;
        if (!e.linkTarget.isEmpty())
            m_out.setLinkTarget(r, e.linkTarget);
        if (foreign)
            m_out.setRawName(r, encodeWindows1252(e.name));
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

    // Whether lines end with CR LF, from the first part of the reply;
    // false while that part is still to come.
    bool learnLineEnds(bool atEnd)
    {
        if (crlf >= 0)
            return true;
        // Only what came since the last look (and the CR it may end with).
        const qsizetype end = qMin(pending.size(), kLineEndProbe);
        const qsizetype from = qMax<qsizetype>(0, probed - 1);
        if (QByteArrayView(pending).sliced(from, end - from).contains("\r\n"))
            crlf = 1;
        else if (atEnd || pending.size() >= kLineEndProbe)
            crlf = 0;
        probed = end;
        return crlf >= 0;
    }

    // Just past the last line end of text, or 0 when it ends no line.
    qsizetype afterLastLine(QByteArrayView text) const
    {
        qsizetype last = text.size();
        do
            last = text.first(last).lastIndexOf('\n');
        while (last >= 0 && crlf && (last == 0 || text[last - 1] != '\r'));
        return last + 1;
    }

    // Reads the complete lines of bytes, straight from them; the unfinished
    // last one waits in pending. Only bytes not searched before are searched:
    // a line that never ends costs time in proportion to its length.
    void feed(QByteArrayView bytes)
    {
        if (crlf < 0) {
            pending.append(bytes);
            if (!learnLineEnds(false))
                return;
            const qsizetype end = afterLastLine(pending);
            reader.lines(QByteArrayView(pending).first(end), crlf);
            pending.remove(0, end);
            return;
        }
        if (!pending.isEmpty()) {
            // The line begun in earlier pieces ends in this one, or not yet.
            qsizetype end = -1;
            if (crlf && pending.endsWith('\r') && bytes.startsWith('\n'))
                end = 1;
            else if (const qsizetype at = lineEndFrom(bytes, 0, crlf); at >= 0)
                end = at + (crlf ? 2 : 1);
            if (end < 0) {
                pending.append(bytes);
                return;
            }
            pending.append(bytes.first(end));
            reader.lines(pending, crlf);
            pending.resize(0);
            bytes = bytes.sliced(end);
        }
        const qsizetype end = afterLastLine(bytes);
        reader.lines(bytes.first(end), crlf);
        pending.append(bytes.sliced(end));
    }

    Listing finish()
    {
        learnLineEnds(true);
        reader.lines(pending, crlf);
        return reader.finish();
    }

    Reader reader;
    QByteArray pending;     // the reply's unfinished last line
    int crlf = -1;          // whether lines end with CR LF; -1 until known
    qsizetype probed = 0;   // of pending, looked at for CR LF while crlf is unknown
    qsizetype total = 0;
};

ListingReader::ListingReader(bool mlsd, QDate today) : d(new Private(mlsd, today)) {}
ListingReader::~ListingReader() = default;

void ListingReader::feed(QByteArrayView bytes)
{
    d->total += bytes.size();
    d->feed(bytes);
}

qsizetype ListingReader::size() const { return d->total; }

Listing ListingReader::finish() { return d->finish(); }

Listing parseListing(QByteArrayView reply, bool mlsd, QDate today)
{
    ListingReader reader(mlsd, today);
    reader.feed(reply);
    return reader.finish();
}

static_assert(sizeof(RemoteEntry) == 32);

QDateTime RemoteEntry::modified() const
{
    return modifiedMs == kNoTime ? QDateTime() : QDateTime::fromMSecsSinceEpoch(modifiedMs, Qt::UTC);
}

template <typename Name>
static RemoteEntry& appendNamed(QString& names, QList<RemoteEntry>& entries, Name name)
{
    Q_ASSERT(name.size() <= RemoteEntry::kMaxNameSize);
    RemoteEntry& e = entries.emplace_back();
    e.nameAt = names.size();
    e.nameSize = quint32(name.size());
    names.append(name);
    return e;
}

RemoteEntry& appendEntry(QString& names, QList<RemoteEntry>& entries, QStringView name)
{
    return appendNamed(names, entries, name);
}

RemoteEntry& appendEntry(QString& names, QList<RemoteEntry>& entries, QLatin1StringView name)
{
    return appendNamed(names, entries, name);
}

Listing::Rare& Listing::rareOf(RemoteEntry& e)
{
    if (e.rare < 0) {
        e.rare = qint32(m_rare.size());
        m_rare.emplace_back();
    }
    return m_rare[e.rare];
}

QStringView Listing::linkTarget(const RemoteEntry& e) const
{
    if (e.rare < 0)
        return {};
    const Rare& r = m_rare[e.rare];
    return QStringView(names).sliced(r.targetAt, r.targetSize);
}

QByteArray Listing::rawName(const RemoteEntry& e) const
{
    return e.rare < 0 ? QByteArray() : m_rare[e.rare].rawName;
}

void Listing::setLinkTarget(RemoteEntry& e, QStringView target)
{
    Rare& r = rareOf(e);
    r.targetAt = names.size();
    r.targetSize = target.size();
    names.append(target);
}

void Listing::setRawName(RemoteEntry& e, const QByteArray& bytes) { rareOf(e).rawName = bytes; }

QList<int> resolveLinks(Listing& listing)
{
    QList<RemoteEntry>& entries = listing.entries;
    if (std::none_of(entries.cbegin(), entries.cend(), [](const RemoteEntry& e) { return e.isLink; }))
        return {};
    QSet<QStringView> folders;
    for (const RemoteEntry& e : std::as_const(entries))
        if (e.isFolder && !e.isLink)
            folders.insert(listing.name(e));
    QList<int> unresolved;
    for (int i = 0; i < entries.size(); ++i) {
        RemoteEntry& e = entries[i];
        if (!e.isLink || e.isFolder)
            continue;
        QStringView target = listing.linkTarget(e);
        if (target.endsWith(u'/') && target.size() > 1) {
            e.isFolder = true;
            continue;
        }
        if (target.startsWith(u"./"))
            target = target.mid(2);
        if (target.isEmpty() || target.contains(u'/'))
            unresolved.append(i);
        else if (folders.contains(target))
            e.isFolder = true;
        // A target without "/" that is not listed as a folder here is a file
        // of this folder (or missing): the entry stays a file.
    }
    return unresolved;
}

QString renderListing(const Listing& listing)
{
    // Names holding a CR or LF cannot be shown one per line: left out.
    const auto shown = [&](const RemoteEntry& e) {
        const QStringView name = listing.name(e);
        return !name.isEmpty() && !name.contains(u'\r') && !name.contains(u'\n');
    };
    qsizetype length = 0;
    for (const RemoteEntry& e : listing.entries)
        length += e.nameSize + 3;
    QString out;
    out.reserve(length);
    for (const RemoteEntry& e : listing.entries) {
        if (!shown(e))
            continue;
        out += listing.name(e);
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
