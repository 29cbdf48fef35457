#pragma once
// The entries of a file list, compact: their names one after another in one
// block of text, each row holding where its name is, its size and whether it
// is a folder. A folder of a million files costs no allocation per name, and
// a listing's own block of names is taken over as it is.

#include <QList>
#include <QString>
#include <QStringView>

namespace orvane::ftp {

struct FileRows {
    struct Row {
        qsizetype nameAt = 0;   // in names
        qint64 size = -1;       // shown in bytes; -1 shows none
        qint32 nameSize = 0;
        bool folder = false;
    };

    QString names;
    QList<Row> rows;

    qsizetype size() const { return rows.size(); }
    QStringView name(qsizetype i) const { return QStringView(names).sliced(rows[i].nameAt, rows[i].nameSize); }
    void append(QStringView name, qint64 size = -1, bool folder = false)
    {
        rows.append({names.size(), size, qint32(name.size()), folder});
        names.append(name);
    }
};

}  // namespace orvane::ftp
