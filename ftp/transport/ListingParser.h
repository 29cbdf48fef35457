#pragma once
// Remote folder listings: MLSD replies and LIST replies of every common
// family (see ListingFormats.h), turned into entries and into the transfer
// control's listing text (one name per line, CR LF ended, folders marked by a
// trailing "/"). No line is dropped without a trace: lines no format reads
// are kept whole, and names that cannot name a file of the folder are kept
// apart as refused.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <limits>
#include <memory>

namespace orvane::ftp {

// One entry of a listing. Its name, and the facts few entries have, live in
// the listing (see Listing): a listing of a million entries makes no
// allocation per entry.
struct RemoteEntry {
    static constexpr qint64 kNoTime = std::numeric_limits<qint64>::min();
    static constexpr qsizetype kMaxNameSize = (qsizetype(1) << 30) - 1;

    qsizetype nameAt = 0;          // in Listing::names
    quint32 nameSize : 30 = 0;
    quint32 isFolder : 1 = 0;
    quint32 isLink : 1 = 0;
    qint32 rare = -1;              // its rarer facts in the listing, or -1
    qint64 size = -1;              // -1 when not given
    qint64 modifiedMs = kNoTime;   // as the server gives it, read as UTC

    // Invalid when not given.
    QDateTime modified() const;
    // Its name in the block of names it was appended to.
    QStringView nameIn(const QString& names) const { return QStringView(names).sliced(nameAt, nameSize); }
};

// A new last entry of entries named name (at most kMaxNameSize characters),
// the name appended to the block names.
RemoteEntry& appendEntry(QString& names, QList<RemoteEntry>& entries, QStringView name);
RemoteEntry& appendEntry(QString& names, QList<RemoteEntry>& entries, QLatin1StringView name);

struct Listing {
    QString names;                 // the entries' names (and link targets), one after another
    QList<RemoteEntry> entries;
    QStringList unparsed;          // lines no listing format reads, whole
    QStringList refused;           // lines whose name holds "/", NUL, CR or LF, or has no facts (MLSD)

    QStringView name(const RemoteEntry& e) const { return e.nameIn(names); }
    // A link's target as the server shows it; empty when unknown.
    QStringView linkTarget(const RemoteEntry& e) const;
    // The name's bytes when they are not UTF-8; empty otherwise.
    QByteArray rawName(const RemoteEntry& e) const;

    RemoteEntry& append(QStringView name) { return appendEntry(names, entries, name); }
    RemoteEntry& append(QLatin1StringView name) { return appendEntry(names, entries, name); }
    void setLinkTarget(RemoteEntry& e, QStringView target);
    void setRawName(RemoteEntry& e, const QByteArray& bytes);

private:
    struct Rare {
        qsizetype targetAt = 0;    // in names
        qsizetype targetSize = 0;
        QByteArray rawName;
    };
    Rare& rareOf(RemoteEntry& e);
    QList<Rare> m_rare;
};

// A reply as the server sent it: split at its own line ends (CR LF when its
// first 64 KB hold one, else LF), each line read as UTF-8, or as Windows-1252
// when it is not valid UTF-8 (the entry then keeps the name's bytes in rawName).
// An MLSD reply ("fact=value;...; name" per line) leaves out its "cdir" and
// "pdir" entries.
// In a LIST reply, headings and totals ("total 12", VMS "Directory ...") and
// the entries "." and ".." give no entry; a reply in which no line has any
// known format is a list of bare names (NLST-like): each line is a file.
// Dates without a year take the latest year that does not put them more than
// a day after today.
Listing parseListing(QByteArrayView reply, bool mlsd, QDate today);

// The same reading, done while the reply arrives: each complete line is read
// as soon as it is fed, so a long listing is parsed during its transfer.
class ListingReader {
public:
    ListingReader(bool mlsd, QDate today);
    ~ListingReader();
    ListingReader(const ListingReader&) = delete;
    ListingReader& operator=(const ListingReader&) = delete;

    void feed(QByteArrayView bytes);
    qsizetype size() const;     // bytes fed so far
    Listing finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Marks as folders the links whose target is a folder of the same listing
// (or that can only name a folder, ending in "/"). Returns the indexes of the
// links it could not settle: their target lies elsewhere.
QList<int> resolveLinks(Listing& listing);

// The listing text: one line per entry, folders with a trailing "/", each
// ended by CR LF. Names holding a CR or LF cannot be shown one per line and
// are left out.
QString renderListing(const Listing& listing);

// Windows-1252, with its five unassigned bytes read as the C1 controls of the
// same value so that every byte comes back from encodeWindows1252.
QString decodeWindows1252(QByteArrayView bytes);
QByteArray encodeWindows1252(QStringView text);

}  // namespace orvane::ftp
