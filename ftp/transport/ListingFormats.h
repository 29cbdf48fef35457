#pragma once
// The line formats of LIST replies, one reader per family: Unix "ls -l" and
// its relatives (NetWare, VShell, Connect:Enterprise), MS-DOS/IIS, EPLF, VMS,
// OS/2, OS/400, MVS data sets and PDS members, z/VM, HP NonStop, OS-9 and
// VxWorks/Nortel.

#include "ListingParser.h"

namespace orvane::ftp {

// One entry as a line reader finds it: its name and link target are pieces
// of the line, or of built when the reader had to make the name.
struct LineEntry {
    QStringView name;
    QStringView linkTarget;
    QString built;
    bool isFolder = false;
    bool isLink = false;
    qint64 size = -1;
    QDateTime modified;
};

enum class LineReading {
    Entry,      // e holds the entry
    Summary,    // a heading or total of the listing: no entry, nothing lost
    Unknown,    // no family reads it
};

// Reads one LIST line (without its line end). Dates without a year take the
// latest year that does not put them more than a day after today.
LineReading readListLine(QStringView line, QDate today, LineEntry& e);

// True for the first line of a VMS entry whose details wrapped onto the next
// line: a name with a version ("LONG_FILE_NAME.HTML;1") and nothing else.
bool isWrappedVmsName(QStringView line);

}  // namespace orvane::ftp
