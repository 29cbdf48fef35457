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
    QStringView name(qsizetype i) const
    {
        const Row& row = rows[i];
        return QStringView(names).sliced(row.nameAt, row.nameSize);
    }
    void append(QStringView name, qint64 size = -1, bool folder = false)
    {
        Q_ASSERT(name.size() <= Row::kMaxNameSize);
        Row& row = rows.emplace_back();
        row.nameAt = names.size();
        row.nameSize = quint32(name.size());
        row.size = size;
        row.isFolder = folder;
        names.append(name);
    }
};

}  // namespace orvane::ftp
