#pragma once
// The entries of a file list, compact: their names one after another in one
// block of text, each row holding where its name is, its size and whether it
// is a folder. A row is a listing's own entry, so a listing of a million
// files is shown with its entries and block of names taken over as they are.

#include "ListingParser.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace orvane::ftp {

struct FileRows {
    using Row = RemoteEntry;

    QString names;
    QList<Row> rows;

    qsizetype size() const { return rows.size(); }
    QStringView name(qsizetype i) const { return rows[i].nameIn(names); }
    void append(QStringView name, qint64 size = -1, bool folder = false)
    {
        Row& row = appendEntry(names, rows, name);
        row.size = size;
        row.isFolder = folder;
    }
};

}  // namespace orvane::ftp
