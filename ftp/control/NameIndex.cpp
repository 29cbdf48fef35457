#include "NameIndex.h"

#include <QHash>

#include <algorithm>

namespace orvane::ftp {

void NameIndex::clear()
{
    m_slots.clear();
    m_count = 0;
}

void NameIndex::reserve(qsizetype count)
{
    size_t capacity = m_slots.empty() ? 16 : m_slots.size();
    while (capacity < size_t(count) * 2)
        capacity *= 2;
    if (capacity != m_slots.size())
        rehash(capacity);
}

quint32 NameIndex::hashOf(QStringView name)
{
    return quint32(qHash(name, QHashSeed::globalSeed()));
}

size_t NameIndex::slotOf(QStringView name, quint32 hash, const FileRows& entries) const
{
    const size_t mask = m_slots.size() - 1;
    size_t at = hash & mask;
    while (m_slots[at].entry >= 0
           && (m_slots[at].hash != hash || entries.name(m_slots[at].entry) != name))
        at = (at + 1) & mask;
    return at;
}

int NameIndex::find(QStringView name, const FileRows& entries) const
{
    return m_slots.empty() ? -1 : m_slots[slotOf(name, hashOf(name), entries)].entry;
}

qsizetype NameIndex::appendNew(FileRows& entries, FileRows&& more)
{
    // The new entries join the list first (an empty list takes them and
    // their block of names over whole), then the repeated names are
    // squeezed out in place.
    const qsizetype before = entries.size();
    if (before == 0) {
        std::swap(entries, more);
    } else {
        const qsizetype shift = entries.names.size();
        entries.names.append(more.names);
        entries.rows.reserve(before + more.size());
        for (FileRows::Row row : std::as_const(more.rows)) {
            row.nameAt += shift;
            entries.rows.append(row);
        }
    }
    const qsizetype end = entries.size();
    reserve(m_count + end - before);
    // Rows shared with a listing are copied only when a repeat is found.
    const FileRows::Row* rows = entries.rows.constData();
    FileRows::Row* out = nullptr;
    const QChar* names = entries.names.constData();
    // A table far larger than the caches costs a memory wait per name: the
    // slots of the next names are fetched while this one is placed.
    constexpr qsizetype kAhead = 8;
    const size_t mask = m_slots.size() - 1;
    quint32 ahead[kAhead];
    const auto hashAhead = [&](qsizetype i) {
        const quint32 hash = hashOf(QStringView(names + rows[i].nameAt, rows[i].nameSize));
        __builtin_prefetch(&m_slots[hash & mask]);
        ahead[i % kAhead] = hash;
    };
    for (qsizetype i = before; i < qMin(before + kAhead, end); ++i)
        hashAhead(i);
    qsizetype kept = before;
    for (qsizetype i = before; i < end; ++i) {
        const quint32 hash = ahead[i % kAhead];
        if (i + kAhead < end)
            hashAhead(i + kAhead);
        Slot& slot = m_slots[slotOf(QStringView(names + rows[i].nameAt, rows[i].nameSize), hash, entries)];
        if (slot.entry >= 0) {
            if (!out)
                rows = out = entries.rows.data();
            continue;
        }
        slot = {hash, qint32(kept)};
        ++m_count;
        if (kept != i)
            out[kept] = rows[i];
        ++kept;
    }
    if (kept != end)
        entries.rows.resize(kept);
    return kept - before;
}

void NameIndex::remove(const std::vector<int>& gone, const FileRows& entries)
{
    if (m_slots.empty() || gone.empty())
        return;
    const size_t mask = m_slots.size() - 1;
    for (const int index : gone) {
        const QStringView name = entries.name(index);
        size_t hole = slotOf(name, hashOf(name), entries);
        if (m_slots[hole].entry != index)
            continue;
        // Linear probing without tombstones: later slots of the same run move
        // back into the hole unless that would put them before their home slot.
        for (size_t next = (hole + 1) & mask; m_slots[next].entry >= 0; next = (next + 1) & mask) {
            const size_t home = m_slots[next].hash & mask;
            const bool homeAfterHole = hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
            if (!homeAfterHole) {
                m_slots[hole] = m_slots[next];
                hole = next;
            }
        }
        m_slots[hole].entry = -1;
        --m_count;
    }
    // One pass renumbers the rest: an entry moves down by the number of
    // gone entries before it.
    for (Slot& slot : m_slots) {
        if (slot.entry >= 0)
            slot.entry -= qint32(std::lower_bound(gone.begin(), gone.end(), slot.entry) - gone.begin());
    }
}

void NameIndex::rehash(size_t capacity)
{
    std::vector<Slot> old(capacity);
    old.swap(m_slots);
    const size_t mask = capacity - 1;
    for (const Slot& slot : old) {
        if (slot.entry < 0)
            continue;
        size_t at = slot.hash & mask;
        while (m_slots[at].entry >= 0)
            at = (at + 1) & mask;
        m_slots[at] = slot;
    }
}

}  // namespace orvane::ftp
