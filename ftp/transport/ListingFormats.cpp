#include "ListingFormats.h"

#include <limits>

namespace orvane::ftp {
namespace {

struct Token {
    qsizetype pos = 0;
    qsizetype len = 0;
};

constexpr int kMaxTokens = 14;

// The line's first blank-separated tokens, with where each starts, so that a
// name can be taken verbatim from the line.
struct Tokens {
    QStringView line;
    Token t[kMaxTokens];
    int n = 0;

    explicit Tokens(QStringView l) : line(l)
    {
        qsizetype i = 0;
        const qsizetype size = l.size();
        while (n < kMaxTokens) {
            while (i < size && (l[i] == u' ' || l[i] == u'\t'))
                ++i;
            if (i >= size)
                break;
            const qsizetype start = i;
            while (i < size && l[i] != u' ' && l[i] != u'\t')
                ++i;
            t[n++] = {start, i - start};
        }
    }
    QStringView operator[](int i) const { return i < n ? line.mid(t[i].pos, t[i].len) : QStringView(); }
    qsizetype end(int i) const { return t[i].pos + t[i].len; }
    // The rest of the line after token i and the one blank that follows it.
    QStringView after(int i) const { return end(i) + 1 < line.size() ? line.mid(end(i) + 1) : QStringView(); }
    // The rest of the line from the first non-blank after token i.
    QStringView from(int i) const { return i < n ? line.mid(t[i].pos) : QStringView(); }
};

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool allDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!isDigit(c))
            return false;
    return true;
}

// A run of digits as a number; a run too long for 64 bits stays at the largest
// value rather than overflowing.
qint64 number(QStringView s)
{
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    qint64 v = 0;
    for (QChar c : s) {
        const int digit = c.unicode() - '0';
        if (v > (kMax - digit) / 10)
            return kMax;
        v = v * 10 + digit;
    }
    return v;
}

// 1..12 for an English month name or abbreviation in any case, else 0.
int month(QStringView s)
{
    if (s.size() < 3)
        return 0;
    const auto lower = [](QChar c) { return char(c.unicode() | 0x20); };
    const char a = lower(s[0]), b = lower(s[1]), c = lower(s[2]);
    static const char* const names[] = {"january", "february", "march", "april", "may", "june",
                                        "july", "august", "september", "october", "november",
                                        "december"};
    for (int m = 0; m < 12; ++m) {
        const char* name = names[m];
        if (name[0] != a || name[1] != b || name[2] != c)
            continue;
        if (s.size() == 3)
            return m + 1;
        // A full name, or "Sept".
        for (qsizetype i = 3; i < s.size(); ++i)
            if (!name[i] || name[i] != lower(s[i]))
                return 0;
        return m + 1;
    }
    return 0;
}

// "H:MM", "HH:MM" or "HH:MM:SS" -> seconds since midnight, else -1.
int clockTime(QStringView s)
{
    const qsizetype colon = s.indexOf(u':');
    if (colon < 1 || colon > 2 || s.size() < colon + 3)
        return -1;
    const QStringView h = s.left(colon), m = s.mid(colon + 1, 2);
    int seconds = 0;
    if (s.size() == colon + 6 && s[colon + 3] == u':' && allDigits(s.mid(colon + 4)))
        seconds = int(number(s.mid(colon + 4)));
    else if (s.size() != colon + 3)
        return -1;
    if (!allDigits(h) || !allDigits(m) || number(h) > 23 || number(m) > 59 || seconds > 59)
        return -1;
    return int(number(h) * 3600 + number(m) * 60 + seconds);
}

QTime timeOf(int seconds)
{
    return seconds < 0 ? QTime(0, 0) : QTime(seconds / 3600, seconds / 60 % 60, seconds % 60);
}

int fullYear(qint64 y, qsizetype digits)
{
    if (digits == 2)
        return int(y < 70 ? 2000 + y : 1900 + y);
    return int(y);
}

QDateTime at(int year, int mon, int day, int seconds)
{
    const QDate d(year, mon, day);
    return d.isValid() ? QDateTime(d, timeOf(seconds), Qt::UTC) : QDateTime();
}

QDateTime yearless(int mon, int day, int seconds, QDate today)
{
    QDate d(today.year(), mon, day);
    if (!d.isValid() || d > today.addDays(1))
        d = QDate(today.year() - 1, mon, day);
    return d.isValid() ? QDateTime(d, timeOf(seconds), Qt::UTC) : QDateTime();
}

// A numeric date "Y-M-D", "M-D-Y" or "M/D/Y" (2- or 4-digit year), or
// "D.M.Y"; sep is the separator found.
QDate numericDate(QStringView s, QChar* sep = nullptr)
{
    qsizetype p1 = -1, p2 = -1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'-' || c == u'/' || c == u'.') {
            if (p1 < 0)
                p1 = i;
            else if (p2 < 0 && c == s[p1])
                p2 = i;
            else
                return {};
        } else if (!isDigit(c)) {
            return {};
        }
    }
    if (p1 < 1 || p2 < p1 + 2 || p2 + 1 >= s.size())
        return {};
    const QStringView a = s.left(p1), b = s.mid(p1 + 1, p2 - p1 - 1), c = s.mid(p2 + 1);
    if (sep)
        *sep = s[p1];
    if (a.size() == 4)
        return QDate(int(number(a)), int(number(b)), int(number(c)));
    if (c.size() != 2 && c.size() != 4)
        return {};
    const int year = fullYear(number(c), c.size());
    if (s[p1] == u'.')
        return QDate(year, int(number(b)), int(number(a)));
    return QDate(year, int(number(a)), int(number(b)));
}

// A size: digits, digits with thousands separators ("1,234,567"), or a
// number with a unit ("33.5k", "2M", "1.2G"). -1 when it is none of these.
qint64 sizeOf(QStringView s)
{
    if (s.isEmpty() || !isDigit(s[0]))
        return -1;
    if (allDigits(s))
        return number(s);
    const QChar unit = s.back();
    qint64 scale = 0;
    switch (unit.unicode() | 0x20) {
    case 'b': scale = 1; break;
    case 'k': scale = 1024; break;
    case 'm': scale = 1024 * 1024; break;
    case 'g': scale = 1024LL * 1024 * 1024; break;
    case 't': scale = 1024LL * 1024 * 1024 * 1024; break;
    default: break;
    }
    if (scale) {
        bool ok = false;
        const double v = s.chopped(1).toDouble(&ok);
        // Beyond 2^63 bytes is no size a listing can mean.
        return ok && v >= 0 && v * double(scale) < 9.2e18 ? qint64(v * double(scale)) : -1;
    }
    // Thousands separators: groups of exactly three digits.
    const QChar sep = s.size() > 4 ? s[s.size() - 4] : QChar();
    if (sep != u',' && sep != u'.')
        return -1;
    qint64 v = 0;
    qsizetype group = 0;
    for (QChar c : s) {
        if (c == sep) {
            if (group == 0 || (v > 0 && group != 3 && v >= 1000))
                return -1;
            group = 0;
        } else if (isDigit(c)) {
            if (v > (std::numeric_limits<qint64>::max() - 9) / 10)
                return -1;
            v = v * 10 + (c.unicode() - '0');
            ++group;
        } else {
            return -1;
        }
    }
    return group == 3 ? v : -1;
}

// --- Unix "ls -l" and its relatives -----------------------------------------------

bool unixPermissions(QStringView s)
{
    if (s.size() < 10)
        return false;
    switch (s[0].unicode()) {
    case '-': case 'd': case 'l': case 'b': case 'c': case 'p': case 's': case 'D':
        break;
    default:
        return false;
    }
    for (int i = 1; i < 10; ++i) {
        const char16_t c = s[i].unicode();
        if (c != '-' && !((c | 0x20) >= 'a' && (c | 0x20) <= 'z'))
            return false;
    }
    return true;
}

// The date that starts at token i, if any: "Mon DD time|year", "Mon DD, YYYY",
// "DD Mon time|year", "YYYY-MM-DD time" or a numeric date with or without a
// time. Returns the index of its last token, or -1.
int unixDate(const Tokens& t, int i, QDate today, QDateTime& when)
{
    const QStringView a = t[i], b = t[i + 1], c = t[i + 2];
    const auto yearOrTime = [&](int mon, int day, QStringView s) {
        if (const int secs = clockTime(s); secs >= 0)
            when = yearless(mon, day, secs, today);
        else if (allDigits(s) && s.size() == 4)
            when = at(int(number(s)), mon, day, -1);
        return when.isValid();
    };
    if (const int mon = month(a)) {
        QStringView day = b;
        if (day.endsWith(u','))
            day.chop(1);
        if (allDigits(day) && day.size() <= 2 && yearOrTime(mon, int(number(day)), c))
            return i + 2;
        return -1;
    }
    if (allDigits(a) && a.size() <= 2) {
        if (const int mon = month(b); mon && yearOrTime(mon, int(number(a)), c))
            return i + 2;
        return -1;
    }
    if (a.size() >= 6 && isDigit(a[0])) {
        const QDate d = numericDate(a);
        if (!d.isValid())
            return -1;
        if (const int secs = clockTime(b); secs >= 0) {
            when = QDateTime(d, timeOf(secs), Qt::UTC);
            return i + 1;
        }
        when = QDateTime(d, QTime(0, 0), Qt::UTC);
        return i;
    }
    return -1;
}

// The size in the token before a date: a size, or digits glued to the end of
// the group name ("staff123456").
qint64 sizeBeforeDate(QStringView s)
{
    const qint64 size = sizeOf(s);
    if (size >= 0 || s.isEmpty() || !isDigit(s.back()))
        return size;
    qsizetype k = s.size();
    while (k > 0 && isDigit(s[k - 1]))
        --k;
    return number(s.mid(k));
}

void setUnixName(QStringView name, QChar type, LineEntry& e)
{
    e.isLink = type == u'l';
    e.isFolder = type == u'd';
    if (e.isLink) {
        const qsizetype arrow = name.indexOf(u" -> ");
        if (arrow > 0) {
            e.linkTarget = name.mid(arrow + 4);
            name = name.left(arrow);
        }
    }
    e.name = name;
}

// Type and permissions in token 0 (or NetWare's type and [rights] in tokens
// 0 and 1), then owner, group and size in any shape, a date, the name.
bool parseUnix(const Tokens& t, QDate today, LineEntry& e)
{
    const QStringView first = t[0];
    int start = 2;
    if (first.size() == 1 && (first[0] == u'd' || first[0] == u'-') && t[1].startsWith(u'[')
        && t[1].endsWith(u']'))
        start = 3;   // NetWare
    else if (!unixPermissions(first))
        return false;
    for (int i = start; i + 1 < t.n && i <= 9; ++i) {
        QDateTime when;
        const int last = unixDate(t, i, today, when);
        if (last < 0)
            continue;
        const qint64 size = sizeBeforeDate(t[i - 1]);
        if (size < 0 || last + 1 >= t.n)
            continue;
        setUnixName(t.after(last), first[0], e);
        e.size = size;
        e.modified = when;
        return !e.name.isEmpty();
    }
    // No date: "perms links owner group size name" or without the group.
    for (int i : {4, 3}) {
        if (i + 1 < t.n && allDigits(t[1]) && sizeOf(t[i]) >= 0) {
            setUnixName(t.after(i), first[0], e);
            e.size = sizeOf(t[i]);
            return !e.name.isEmpty();
        }
    }
    return false;
}

// --- MS-DOS / IIS ------------------------------------------------------------------

// "MM-DD-YY  HH:MM[AM|PM]  <DIR>|size  name", with 2- or 4-digit years or
// ISO dates, 12- or 24-hour times and sizes with thousands separators.
bool parseDos(const Tokens& t, LineEntry& e)
{
    if (t.n < 3)
        return false;
    QChar sep;
    const QDate date = numericDate(t[0], &sep);
    if (!date.isValid() || sep == u'.')
        return false;
    QStringView time = t[1];
    int next = 2;
    int half = -1;   // 0 AM, 1 PM
    const auto meridiem = [](QStringView s) {
        return s.compare(u"AM", Qt::CaseInsensitive) == 0 ? 0
             : s.compare(u"PM", Qt::CaseInsensitive) == 0 ? 1 : -1;
    };
    if (time.size() > 2 && meridiem(time.right(2)) >= 0) {
        half = meridiem(time.right(2));
        time.chop(2);
    } else if (meridiem(t[2]) >= 0) {
        half = meridiem(t[2]);
        next = 3;
    }
    int secs = clockTime(time);
    if (secs < 0 || next + 1 >= t.n)
        return false;
    if (half >= 0)
        secs = secs % (12 * 3600) + half * 12 * 3600;
    const QStringView kind = t[next];
    if (kind.compare(u"<DIR>", Qt::CaseInsensitive) == 0) {
        e.isFolder = true;
        // IIS pads "<DIR>" with ten blanks; blanks beyond them are the name's.
        qsizetype p = t.end(next);
        const qsizetype padEnd = qMin(p + 10, t.line.size());
        while (p < padEnd && t.line[p] == u' ')
            ++p;
        e.name = t.line.mid(p);
    } else {
        e.size = sizeOf(kind);
        if (e.size < 0)
            return false;
        e.name = t.after(next);
    }
    e.modified = QDateTime(date, timeOf(secs), Qt::UTC);
    return !e.name.isEmpty();
}

// --- EPLF --------------------------------------------------------------------------

// "+fact,fact,...\tname": "/" marks a folder, "s" the size, "m" the
// modification time in seconds since 1970.
bool parseEplf(QStringView line, LineEntry& e)
{
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 1 || tab + 1 >= line.size())
        return false;
    for (QStringView fact : line.mid(1, tab - 1).split(u',')) {
        if (fact == u"/")
            e.isFolder = true;
        else if (fact.startsWith(u's') && allDigits(fact.mid(1)))
            e.size = number(fact.mid(1));
        else if (fact.startsWith(u'm') && allDigits(fact.mid(1)))
            e.modified = QDateTime::fromSecsSinceEpoch(number(fact.mid(1)), Qt::UTC);
    }
    e.name = line.mid(tab + 1);
    return true;
}

// --- VMS ---------------------------------------------------------------------------

bool vmsName(QStringView s)
{
    const qsizetype semi = s.lastIndexOf(u';');
    return semi > 0 && allDigits(s.mid(semi + 1));
}

// "NAME.EXT;1  used[/allocated]  DD-MMM-YYYY HH:MM[:SS]  [owner]  (protection)";
// folders are NAME.DIR;1. Sizes are in 512-byte blocks.
bool parseVms(const Tokens& t, LineEntry& e)
{
    if (t.n < 4 || !vmsName(t[0]))
        return false;
    QStringView blocks = t[1];
    if (const qsizetype slash = blocks.indexOf(u'/'); slash > 0)
        blocks = blocks.left(slash);
    const QStringView date = t[2];
    const qsizetype d1 = date.indexOf(u'-'), d2 = date.lastIndexOf(u'-');
    if (!allDigits(blocks) || d1 < 1 || d2 <= d1)
        return false;
    const int mon = month(date.mid(d1 + 1, d2 - d1 - 1));
    const QStringView day = date.left(d1), year = date.mid(d2 + 1);
    const int secs = clockTime(t[3]);
    if (!mon || !allDigits(day) || !allDigits(year) || secs < 0)
        return false;
    QStringView name = t[0].left(t[0].lastIndexOf(u';'));
    if (name.endsWith(u".DIR", Qt::CaseInsensitive)) {
        e.isFolder = true;
        name.chop(4);
    }
    e.name = name;
    e.size = number(blocks) * 512;
    e.modified = at(fullYear(number(year), year.size()), mon, int(number(day)), secs);
    return true;
}

// --- OS/2 and VxWorks/Nortel (both begin with the size) -------------------------

// OS/2: "size  [attributes] [DIR]  MM-DD-YY  HH:MM  name".
bool parseOs2(const Tokens& t, LineEntry& e)
{
    for (int i = 1; i + 2 < t.n && i <= 4; ++i) {
        QChar sep;
        const QDate date = numericDate(t[i], &sep);
        if (!date.isValid())
            continue;
        const int secs = clockTime(t[i + 1]);
        if (secs < 0)
            return false;
        for (int k = 1; k < i; ++k)
            if (t[k] == u"DIR")
                e.isFolder = true;
        e.size = number(t[0]);
        e.modified = QDateTime(date, timeOf(secs), Qt::UTC);
        e.name = t.from(i + 2);
        return true;
    }
    return false;
}

// VxWorks and Nortel switches: "size  Mon DD YYYY  HH:MM:SS  name [<DIR>]".
bool parseVxWorks(const Tokens& t, LineEntry& e)
{
    const int mon = month(t[1]);
    const int secs = clockTime(t[4]);
    if (t.n < 6 || !mon || !allDigits(t[2]) || !allDigits(t[3]) || t[3].size() != 4 || secs < 0)
        return false;
    QStringView name = t.from(5);
    if (name.endsWith(u"<DIR>")) {
        e.isFolder = true;
        name = name.chopped(5).trimmed();
    }
    e.size = number(t[0]);
    e.modified = at(int(number(t[3])), mon, int(number(t[2])), secs);
    e.name = name;
    return !e.name.isEmpty();
}

// --- IBM systems -------------------------------------------------------------------

bool isUpperWord(QStringView s)
{
    if (s.size() < 2 || s[0] != u'*')
        return false;
    for (QChar c : s.mid(1))
        if (!(c >= u'A' && c <= u'Z'))
            return false;
    return true;
}

// OS/400: "owner  size  date  time  *TYPE  name", or "owner  *MEM  LIB.FILE/MBR.MBR".
bool parseOs400(const Tokens& t, LineEntry& e)
{
    int typeAt = -1;
    if (t.n >= 6 && isUpperWord(t[4]) && allDigits(t[1]))
        typeAt = 4;
    else if (t.n >= 3 && isUpperWord(t[1]))
        typeAt = 1;
    if (typeAt < 0)
        return false;
    const QStringView type = t[typeAt];
    QStringView name = t.from(typeAt + 1);
    if (typeAt == 4) {
        const QDate d = numericDate(t[2]);
        const int secs = clockTime(t[3]);
        if (!d.isValid() || secs < 0)
            return false;
        e.size = number(t[1]);
        e.modified = QDateTime(d, timeOf(secs), Qt::UTC);
    }
    e.isFolder = type == u"*DIR" || type == u"*LIB" || type == u"*FILE";
    if (name.endsWith(u'/'))
        name.chop(1);
    if (type == u"*MEM")
        name = name.mid(name.lastIndexOf(u'/') + 1);
    e.name = name;
    return !e.name.isEmpty();
}

bool isMvsDate(QStringView s)
{
    return s.size() == 10 && s[4] == u'/' && s[7] == u'/' && numericDate(s).isValid();
}

// MVS data sets: "volume unit referred ext used recfm lrecl blksize dsorg dsname";
// partitioned data sets (dsorg PO) hold members, so they are folders.
// Migrated and other non-DASD data sets show only their name at the end.
bool parseMvsDataSet(const Tokens& t, LineEntry& e)
{
    if (t.n >= 2 && (t[0] == u"Migrated" || t[0] == u"ARCIVE" || t[0] == u"Pseudo")) {
        e.name = t[t.n - 1];
        return t.n < kMaxTokens;
    }
    if (t.n != 10 || !(isMvsDate(t[2]) || t[2] == u"**NONE**"))
        return false;
    const QStringView dsorg = t[8];
    e.isFolder = dsorg == u"PO" || dsorg == u"PO-E";
    if (isMvsDate(t[2]))
        e.modified = QDateTime(numericDate(t[2]), QTime(0, 0), Qt::UTC);
    e.name = t[9];
    return true;
}

// PDS members: "name  VV.MM  created  changed  HH:MM  size  init  mod  id".
bool parseMvsMember(const Tokens& t, LineEntry& e)
{
    const QStringView vvmm = t[1];
    if (t.n < 6 || vvmm.size() != 5 || vvmm[2] != u'.' || !isMvsDate(t[2]) || !isMvsDate(t[3]))
        return false;
    const int secs = clockTime(t[4]);
    e.modified = QDateTime(numericDate(t[3]), timeOf(secs), Qt::UTC);
    e.name = t[0];
    return true;
}

// z/VM: "name type recfm lrecl records blocks date time owner"; type DIR is a folder.
bool parseZvm(const Tokens& t, LineEntry& e)
{
    if (t.n < 8)
        return false;
    const QStringView recfm = t[2];
    if (recfm != u"F" && recfm != u"V" && recfm != u"-")
        return false;
    const QDate d = numericDate(t[6]);
    const int secs = clockTime(t[7]);
    if (!d.isValid() || secs < 0)
        return false;
    e.isFolder = t[1] == u"DIR";
    if (e.isFolder) {
        e.name = t[0];
    } else {
        e.built = t[0].toString() + u'.' + t[1].toString();
        e.name = e.built;
    }
    e.modified = QDateTime(d, timeOf(secs), Qt::UTC);
    return true;
}

// --- HP NonStop and OS-9 -------------------------------------------------------------

// "name  code  EOF  D-Mon-YY  HH:MM:SS  group,user  "rwep"".
bool parseNonStop(const Tokens& t, LineEntry& e)
{
    if (t.n < 6 || !allDigits(t[1]) || !allDigits(t[2]) || !t[5].contains(u','))
        return false;
    const QStringView date = t[3];
    const qsizetype d1 = date.indexOf(u'-'), d2 = date.lastIndexOf(u'-');
    if (d1 < 1 || d2 <= d1)
        return false;
    const int mon = month(date.mid(d1 + 1, d2 - d1 - 1));
    const int secs = clockTime(t[4]);
    if (!mon || secs < 0 || !allDigits(date.left(d1)) || !allDigits(date.mid(d2 + 1)))
        return false;
    e.name = t[0];
    e.size = number(t[2]);
    e.modified = at(fullYear(number(date.mid(d2 + 1)), date.size() - d2 - 1), mon,
                    int(number(date.left(d1))), secs);
    return true;
}

// "group.user  YY/MM/DD HHMM  attributes  sector  bytecount  name"; sector
// and byte count are hexadecimal.
bool parseOs9(const Tokens& t, LineEntry& e)
{
    const QStringView owner = t[0], date = t[1], time = t[2], attrs = t[3];
    const qsizetype dot = owner.indexOf(u'.');
    if (t.n < 7 || dot < 1 || !allDigits(owner.left(dot)) || !allDigits(owner.mid(dot + 1))
        || date.size() != 8 || date[2] != u'/' || date[5] != u'/' || time.size() != 4
        || !allDigits(time) || attrs.isEmpty() || (attrs[0] != u'd' && attrs[0] != u'-'))
        return false;
    bool ok = false;
    e.size = t[5].toLongLong(&ok, 16);
    if (!ok)
        return false;
    e.isFolder = attrs[0] == u'd';
    e.modified = at(fullYear(number(date.left(2)), 2), int(number(date.mid(3, 2))),
                    int(number(date.mid(6, 2))),
                    int(number(time.left(2)) * 3600 + number(time.mid(2)) * 60));
    e.name = t.from(6);
    return true;
}

bool isSummary(const Tokens& t)
{
    const QStringView a = t[0];
    if (t.n == 2 && a.compare(u"total", Qt::CaseInsensitive) == 0 && sizeOf(t[1]) >= 0)
        return true;
    // VMS heading and total, MVS, NonStop and OS-9 column headings.
    if (a == u"Directory" && t.n == 2)
        return true;
    if (a == u"Total" && t[1] == u"of")
        return true;
    if ((a == u"Volume" && t[1] == u"Unit") || (a == u"Name" && t[1] == u"VV.MM")
        || (a == u"File" && t[1] == u"Code") || (a == u"Owner" && t[1] == u"Last"))
        return true;
    // A row of dashes under column headings.
    for (int i = 0; i < t.n; ++i)
        if (t[i].count(u'-') != t[i].size())
            return false;
    return true;
}

}  // namespace

bool isWrappedVmsName(QStringView line)
{
    const Tokens t(line);
    return t.n == 1 && t.t[0].pos == 0 && vmsName(t[0]);
}

LineReading readListLine(QStringView line, QDate today, LineEntry& e)
{
    const Tokens t(line);
    if (t.n == 0)
        return LineReading::Summary;
    const QChar c = line[0];
    bool ok = false;
    if (c == u'+')
        ok = parseEplf(line, e);
    else if (unixPermissions(t[0]) || t[0].size() == 1)
        ok = parseUnix(t, today, e);
    if (!ok && isDigit(t[0][0])) {
        e = LineEntry();
        const bool sizeFirst = allDigits(t[0]);
        ok = (!sizeFirst && parseDos(t, e)) || (sizeFirst && (parseVxWorks(t, e) || parseOs2(t, e)))
             || parseOs9(t, e);
    }
    if (!ok && isSummary(t))
        return LineReading::Summary;
    if (!ok) {
        e = LineEntry();
        ok = parseVms(t, e) || parseOs400(t, e) || parseMvsDataSet(t, e) || parseMvsMember(t, e)
             || parseZvm(t, e) || parseNonStop(t, e);
    }
    if (!ok)
        e = LineEntry();
    return ok ? LineReading::Entry : LineReading::Unknown;
}

}  // namespace orvane::ftp
