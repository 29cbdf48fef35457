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
#include <QSharedData>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>

namespace orvane::ftp {

struct RemoteEntry {
    QString name;
    bool isFolder = false;
    bool isLink = false;
    qint64 size = -1;       // -1 when not given
    QDateTime modified;     // as the server gives it (marked UTC); invalid when not given

    // A link's target as the server shows it; empty when unknown.
    QString linkTarget() const { return rare ? rare->linkTarget : QString(); }
    void setLinkTarget(const QString& target) { rareFacts().linkTarget = target; }
    // The name's bytes when they are not UTF-8; empty otherwise.
    QByteArray rawName() const { return rare ? rare->rawName : QByteArray(); }
    void setRawName(const QByteArray& bytes) { rareFacts().rawName = bytes; }

private:
    // Facts few entries have, kept apart: a listing of a million entries
    // then costs little more than its names.
    struct Rare : QSharedData {
        QString linkTarget;
        QByteArray rawName;
    };
    Rare& rareFacts()
    {
        if (!rare)
            rare = new Rare;
        return *rare;
    }
    QSharedDataPointer<Rare> rare;
};

struct Listing {
    QList<RemoteEntry> entries;
    QStringList unparsed;   // lines no listing format reads, whole
    QStringList refused;    // lines whose name holds "/", NUL, CR or LF, or has no facts (MLSD)
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
QList<int> resolveLinks(QList<RemoteEntry>& entries);

// The listing text: one line per entry, folders with a trailing "/", each
// ended by CR LF. Names holding a CR or LF cannot be shown one per line and
// are left out.
QString renderListing(const QList<RemoteEntry>& entries);

// Windows-1252, with its five unassigned bytes read as the C1 controls of the
// same value so that every byte comes back from encodeWindows1252.
QString decodeWindows1252(QByteArrayView bytes);
QByteArray encodeWindows1252(QStringView text);

}  // namespace orvane::ftp

Q_DECLARE_TYPEINFO(orvane::ftp::RemoteEntry, Q_RELOCATABLE_TYPE);
