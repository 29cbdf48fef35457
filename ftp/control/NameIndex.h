#pragma once
// The names of a file list as a flat hash set of entry numbers: one probe of
// a flat table per look-up, no copy of the names (they stay in the list).
// Hashes are seeded per process, so names a server chose cannot be made to
// collide on purpose.

#include "FileRows.h"

#include <QStringView>

#include <vector>

namespace orvane::ftp {

class NameIndex {
public:
    void clear();
    // Makes room for count names in all.
    void reserve(qsizetype count);
    // The number of the entry named name, or -1.
    int find(QStringView name, const FileRows& entries) const;
    // Moves the entries of more whose names are new (to entries and to each
    // other) to the end of entries, in order; returns how many.
    qsizetype appendNew(FileRows& entries, FileRows&& more);
    // Forgets the entries numbered in gone (ascending) and numbers the rest
    // as they will be once those have left entries. Called while they are
    // still there (the look-up compares names there); the caller removes
    // them afterwards.
    void remove(const std::vector<int>& gone, const FileRows& entries);

private:
    struct Slot {
        quint32 hash = 0;
        qint32 entry = -1;     // -1: free
    };
    static quint32 hashOf(QStringView name);
    // The slot holding name, or the free slot where it would go.
    size_t slotOf(QStringView name, quint32 hash, const FileRows& entries) const;
    void rehash(size_t capacity);

    std::vector<Slot> m_slots;     // a power of two in size, at most half full
    qsizetype m_count = 0;
};

}  // namespace orvane::ftp
