#include "NameIndex.h"

#include "FileListModel.h"

#include <QHash>

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

size_t NameIndex::slotOf(QStringView name, quint32 hash, const QList<FileEntry>& entries) const
{
    const size_t mask = m_slots.size() - 1;
    size_t at = hash & mask;
    while (m_slots[at].entry >= 0
           && (m_slots[at].hash != hash || entries[m_slots[at].entry].name != name))
        at = (at + 1) & mask;
    return at;
}

int NameIndex::find(QStringView name, const QList<FileEntry>& entries) const
{
    return m_slots.empty() ? -1 : m_slots[slotOf(name, hashOf(name), entries)].entry;
}

qsizetype NameIndex::appendNew(QList<FileEntry>& entries, QList<FileEntry>&& more)
{
    // The new entries join the list first (an empty list takes them over
    // whole), then the repeated names are squeezed out in place.
    const qsizetype before = entries.size();
    if (before == 0)
        entries.swap(more);
    else
        entries.append(std::move(more));
    const qsizetype end = entries.size();
    reserve(m_count + end - before);
    FileEntry* list = entries.data();
    // A table far larger than the caches costs a memory wait per name, and
    // so do a million names: the names further on and the slots of the next
    // ones are fetched while this one is placed.
    constexpr qsizetype kAhead = 8;
    const size_t mask = m_slots.size() - 1;
    quint32 ahead[kAhead];
    const auto hashAhead = [&](qsizetype i) {
        if (i + kAhead < end)
            __builtin_prefetch(list[i + kAhead].name.constData());
        const quint32 hash = hashOf(list[i].name);
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
        Slot& slot = m_slots[slotOf(list[i].name, hash, entries)];
        if (slot.entry >= 0)
            continue;
        slot = {hash, qint32(kept)};
        ++m_count;
        if (kept != i)
            list[kept] = std::move(list[i]);
        ++kept;
    }
    entries.resize(kept);
    return kept - before;
}

void NameIndex::removeAt(QStringView name, int index, const QList<FileEntry>& entries)
{
    if (m_slots.empty())
        return;
    const size_t mask = m_slots.size() - 1;
    size_t hole = slotOf(name, hashOf(name), entries);
    if (m_slots[hole].entry != index)
        return;
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
    for (Slot& slot : m_slots)
        slot.entry -= slot.entry > index ? 1 : 0;
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
