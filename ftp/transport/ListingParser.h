#pragma once
// Remote folder listings: MLSD replies and the common LIST formats (Unix
// "ls -l" with or without year and group, MS-DOS/IIS, EPLF), turned into
// entries and into the transfer control's listing text (one name per line,
// CR LF ended, folders marked by a trailing "/").

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>

namespace orvane::ftp {

struct RemoteEntry {
    QString name;
    bool isFolder = false;
    bool isLink = false;
    QString linkTarget;     // as the server shows it; empty when unknown
    qint64 size = -1;       // -1 when not given
    QDateTime modified;     // as the server gives it (marked UTC); invalid when not given
};

// Parses a LIST reply. Lines it does not recognise, "total" lines, "." and
// ".." are left out. Dates without a year take the latest year that does not
// put them more than a day after today.
QList<RemoteEntry> parseList(QStringView text, QDate today);

// Parses an MLSD reply ("fact=value;...; name" per line); "cdir" and "pdir"
// entries are left out.
QList<RemoteEntry> parseMlsd(QStringView text);

// Marks as folders the links whose target is a folder of the same listing
// (or that can only name a folder, ending in "/"). Returns the indexes of the
// links it could not settle: their target lies elsewhere.
QList<int> resolveLinks(QList<RemoteEntry>& entries);

// The listing text: one line per entry, CR LF ended, folders with a trailing
// "/". Names holding a CR or LF cannot be shown one per line and are left out.
QString renderListing(const QList<RemoteEntry>& entries);

// Decodes a listing reply: UTF-8, except lines that are not valid UTF-8,
// which are read as Latin-1.
QString decodeListing(const QByteArray& bytes);

}  // namespace orvane::ftp
