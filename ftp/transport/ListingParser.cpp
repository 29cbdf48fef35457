#include "ListingParser.h"

#include <QSet>
#include <QStringDecoder>

namespace orvane::ftp {
namespace {

struct Token {
    qsizetype pos = 0;
    qsizetype len = 0;
};

// Splits line into at most max blank-separated tokens, remembering where each
// starts, so that the name can be taken verbatim from the line.
int tokenize(QStringView line, Token* tokens, int max)
{
    int n = 0;
    qsizetype i = 0;
    const qsizetype size = line.size();
    while (n < max) {
        while (i < size && line[i] == u' ')
            ++i;
        if (i >= size)
            break;
        const qsizetype start = i;
        while (i < size && line[i] != u' ')
            ++i;
        tokens[n++] = {start, i - start};
    }
    return n;
}

bool allDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

int number(QStringView s)
{
    int v = 0;
    for (QChar c : s)
        v = v * 10 + (c.unicode() - '0');
    return v;
}

// 1..12 for an English month abbreviation, else 0.
int month(QStringView s)
{
    if (s.size() != 3)
        return 0;
    const auto lower = [](QChar c) { return char(c.unicode() | 0x20); };
    const char a = lower(s[0]), b = lower(s[1]), c = lower(s[2]);
    static const char* const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    for (int m = 0; m < 12; ++m)
        if (names[m][0] == a && names[m][1] == b && names[m][2] == c)
            return m + 1;
    return 0;
}

// "HH:MM" -> minutes since midnight, or -1.
int clockTime(QStringView s)
{
    const qsizetype colon = s.indexOf(u':');
    if (colon < 1 || colon > 2 || s.size() - colon != 3)
        return -1;
    const QStringView h = s.left(colon), m = s.mid(colon + 1);
    if (!allDigits(h) || !allDigits(m))
        return -1;
    return number(h) * 60 + number(m);
}

QDateTime yearlessDate(int mon, int day, int minutes, QDate today)
{
    QDate d(today.year(), mon, day);
    if (!d.isValid() || d > today.addDays(1))
        d = QDate(today.year() - 1, mon, day);
    return QDateTime(d, QTime(minutes / 60, minutes % 60), Qt::UTC);
}

bool isDotEntry(QStringView name)
{
    return name == u"." || name == u"..";
}

bool unixPermissions(QStringView s)
{
    if (s.size() < 10)
        return false;
    switch (s[0].unicode()) {
    case '-': case 'd': case 'l': case 'b': case 'c': case 'p': case 's':
        break;
    default:
        return false;
    }
    for (int i = 1; i < 10; ++i) {
        switch (s[i].unicode()) {
        case 'r': case 'w': case 'x': case 's': case 'S': case 't': case 'T': case 'l': case '-':
            break;
        default:
            return false;
        }
    }
    return true;
}

// Unix "ls -l": permissions, links, owner, [group], size, date, name. The
// date is "Mon DD HH:MM", "Mon DD YYYY" or "YYYY-MM-DD HH:MM"; the name is
// everything after the single blank that follows it.
bool parseUnix(QStringView line, QDate today, RemoteEntry& e)
{
    Token t[9];
    const int n = tokenize(line, t, 9);
    if (n < 5 || !unixPermissions(line.mid(t[0].pos, t[0].len)))
        return false;
    const auto tok = [&](int i) { return line.mid(t[i].pos, t[i].len); };
    for (int i = 2; i + 2 < n && i <= 5; ++i) {
        if (!allDigits(tok(i - 1)))
            continue;
        qsizetype nameStart = -1;
        QDateTime when;
        if (const int mon = month(tok(i))) {
            const QStringView dayTok = tok(i + 1), third = tok(i + 2);
            if (!allDigits(dayTok) || dayTok.size() > 2)
                continue;
            const int day = number(dayTok);
            if (const int minutes = clockTime(third); minutes >= 0)
                when = yearlessDate(mon, day, minutes, today);
            else if (allDigits(third) && third.size() == 4)
                when = QDateTime(QDate(number(third), mon, day), QTime(0, 0), Qt::UTC);
            else
                continue;
            nameStart = t[i + 2].pos + t[i + 2].len + 1;
        } else if (tok(i).size() == 10 && tok(i)[4] == u'-' && tok(i)[7] == u'-'
                   && clockTime(tok(i + 1)) >= 0) {
            const QDate d = QDate::fromString(tok(i).toString(), Qt::ISODate);
            if (!d.isValid())
                continue;
            const int minutes = clockTime(tok(i + 1));
            when = QDateTime(d, QTime(minutes / 60, minutes % 60), Qt::UTC);
            nameStart = t[i + 1].pos + t[i + 1].len + 1;
        } else {
            continue;
        }
        if (nameStart >= line.size())
            return false;
        QStringView name = line.mid(nameStart);
        e.isLink = line[0] == u'l';
        e.isFolder = line[0] == u'd';
        if (e.isLink) {
            const qsizetype arrow = name.indexOf(u" -> ");
            if (arrow > 0) {
                e.linkTarget = name.mid(arrow + 4).toString();
                name = name.left(arrow);
            }
        }
        e.name = name.toString();
        e.size = tok(i - 1).toLongLong();
        e.modified = when;
        return true;
    }
    return false;
}

// MS-DOS / IIS: "MM-DD-YY  HH:MMAM  <DIR>  name" or "... 1234 name", with
// 2- or 4-digit years and 12- or 24-hour times.
bool parseDos(QStringView line, RemoteEntry& e)
{
    Token t[5];
    const int n = tokenize(line, t, 5);
    if (n < 4)
        return false;
    const auto tok = [&](int i) { return line.mid(t[i].pos, t[i].len); };
    const QStringView date = tok(0);
    if ((date.size() != 8 && date.size() != 10) || date[2] != u'-' || date[5] != u'-')
        return false;
    const QStringView mm = date.left(2), dd = date.mid(3, 2), yy = date.mid(6);
    if (!allDigits(mm) || !allDigits(dd) || !allDigits(yy))
        return false;
    int year = number(yy);
    if (yy.size() == 2)
        year += year < 70 ? 2000 : 1900;

    QStringView time = tok(1);
    int next = 2;
    bool pm = false, twelveHour = false;
    if (time.size() > 2 && (time.endsWith(u"AM", Qt::CaseInsensitive)
                            || time.endsWith(u"PM", Qt::CaseInsensitive))) {
        twelveHour = true;
        pm = time.endsWith(u"PM", Qt::CaseInsensitive);
        time.chop(2);
    } else if (tok(2).compare(u"AM", Qt::CaseInsensitive) == 0
               || tok(2).compare(u"PM", Qt::CaseInsensitive) == 0) {
        twelveHour = true;
        pm = tok(2).compare(u"PM", Qt::CaseInsensitive) == 0;
        next = 3;
        if (n < 5)
            return false;
    }
    int minutes = clockTime(time);
    if (minutes < 0)
        return false;
    if (twelveHour) {
        minutes %= 12 * 60;
        if (pm)
            minutes += 12 * 60;
    }
    const QStringView sizeTok = tok(next);
    qsizetype nameStart;
    if (sizeTok.compare(u"<DIR>", Qt::CaseInsensitive) == 0) {
        e.isFolder = true;
        nameStart = t[next + 1].pos;
    } else if (allDigits(sizeTok)) {
        e.size = sizeTok.toLongLong();
        nameStart = t[next].pos + t[next].len + 1;
    } else {
        return false;
    }
    if (nameStart >= line.size())
        return false;
    e.name = line.mid(nameStart).toString();
    e.modified = QDateTime(QDate(year, number(mm), number(dd)),
                           QTime(minutes / 60, minutes % 60), Qt::UTC);
    return true;
}

// EPLF: "+fact,fact,...\tname"; "/" marks a folder, "s" the size, "m" the
// modification time in seconds since 1970.
bool parseEplf(QStringView line, RemoteEntry& e)
{
    const qsizetype tab = line.indexOf(u'\t');
    if (!line.startsWith(u'+') || tab < 1 || tab + 1 >= line.size())
        return false;
    for (QStringView fact : line.mid(1, tab - 1).split(u',')) {
        if (fact == u"/")
            e.isFolder = true;
        else if (fact.startsWith(u's') && allDigits(fact.mid(1)))
            e.size = fact.mid(1).toLongLong();
        else if (fact.startsWith(u'm') && allDigits(fact.mid(1)))
            e.modified = QDateTime::fromSecsSinceEpoch(fact.mid(1).toLongLong(), Qt::UTC);
    }
    e.name = line.mid(tab + 1).toString();
    return true;
}

// "YYYYMMDDHHMMSS[.sss]", in UTC.
QDateTime mlsdTime(QStringView v)
{
    if (v.size() < 14 || !allDigits(v.left(14)))
        return {};
    const QDate d(number(v.left(4)), number(v.mid(4, 2)), number(v.mid(6, 2)));
    const QTime t(number(v.mid(8, 2)), number(v.mid(10, 2)), number(v.mid(12, 2)));
    return d.isValid() && t.isValid() ? QDateTime(d, t, Qt::UTC) : QDateTime();
}

template <typename LineFn>
void forEachLine(QStringView text, LineFn fn)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = size;
        QStringView line = text.mid(start, end - start);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.isEmpty())
            fn(line);
        start = end + 1;
    }
}

}  // namespace

QList<RemoteEntry> parseList(QStringView text, QDate today)
{
    QList<RemoteEntry> entries;
    entries.reserve(text.count(u'\n') + 1);
    forEachLine(text, [&](QStringView line) {
        RemoteEntry e;
        bool ok;
        const QChar c = line[0];
        if (c == u'+')
            ok = parseEplf(line, e);
        else if (c >= u'0' && c <= u'9')
            ok = parseDos(line, e);
        else
            ok = parseUnix(line, today, e);
        if (ok && !e.name.isEmpty() && !isDotEntry(e.name))
            entries.append(std::move(e));
    });
    return entries;
}

QList<RemoteEntry> parseMlsd(QStringView text)
{
    QList<RemoteEntry> entries;
    forEachLine(text, [&](QStringView line) {
        // Facts never hold a blank: the name is everything after the first one.
        const qsizetype blank = line.indexOf(u' ');
        if (blank < 0 || blank + 1 >= line.size())
            return;
        RemoteEntry e;
        e.name = line.mid(blank + 1).toString();
        bool skip = false;
        for (QStringView fact : line.left(blank).split(u';', Qt::SkipEmptyParts)) {
            const qsizetype eq = fact.indexOf(u'=');
            if (eq < 0)
                continue;
            const QStringView key = fact.left(eq), value = fact.mid(eq + 1);
            if (key.compare(u"type", Qt::CaseInsensitive) == 0) {
                if (value.compare(u"cdir", Qt::CaseInsensitive) == 0
                    || value.compare(u"pdir", Qt::CaseInsensitive) == 0)
                    skip = true;
                else if (value.compare(u"dir", Qt::CaseInsensitive) == 0)
                    e.isFolder = true;
                else if (value.startsWith(u"OS.unix=slink", Qt::CaseInsensitive)
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
        if (!skip && !isDotEntry(e.name))
            entries.append(std::move(e));
    });
    return entries;
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

QString decodeListing(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line(bytes.constData() + start, end - start);
        QStringDecoder lineDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString decoded = lineDecoder.decode(line);
        if (lineDecoder.hasError())
            decoded = QString::fromLatin1(line);
        text += decoded;
        text += u'\n';
        start = end + 1;
    }
    return text;
}

}  // namespace orvane::ftp
