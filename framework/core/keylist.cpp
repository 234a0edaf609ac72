#include "framework/core/keylist.h"

#include <QHashFunctions>
#include <QStringList>

namespace {
constexpr qsizetype firstCapacity = 64;

quint32 hashOf(QStringView key) {
    const size_t hash = qHash(key, QHashSeed::globalSeed());
    return quint32(hash) ^ quint32(quint64(hash) >> 32);
}

// The high bits of the hash, so that keys sharing a home slot seldom share a tag.
quint8 tagOf(quint32 hash) {
    return quint8(0x80 | hash >> 25);
}
} // namespace

// The slot holding key, or the free slot where it belongs.
qsizetype TKeyList::slotOf(QStringView key, quint32 hash) const {
    const qsizetype mask = m_tags.size() - 1;
    const quint8 tag = tagOf(hash);
    for (qsizetype slot = hash & mask;; slot = (slot + 1) & mask) {
        const quint8 found = m_tags.at(slot);
        if (found == 0)
            return slot;
        const qsizetype position = m_positions.at(slot);
        if (found == tag && m_hashes.at(position) == hash && m_keys.at(position) == key)
            return slot;
    }
}

qsizetype TKeyList::slotOfPosition(qsizetype position) const {
    const qsizetype mask = m_tags.size() - 1;
    qsizetype slot = m_hashes.at(position) & mask;
    while (m_positions.at(slot) != position || m_tags.at(slot) == 0)
        slot = (slot + 1) & mask;
    return slot;
}

qsizetype TKeyList::homeOf(qsizetype slot) const {
    return m_hashes.at(m_positions.at(slot)) & (m_tags.size() - 1);
}

void TKeyList::place(qsizetype position) {
    const qsizetype mask = m_tags.size() - 1;
    const quint32 hash = m_hashes.at(position);
    qsizetype slot = hash & mask;
    while (m_tags.at(slot) != 0)
        slot = (slot + 1) & mask;
    m_tags[slot] = tagOf(hash);
    m_positions[slot] = quint32(position);
}

void TKeyList::grow() {
    const qsizetype capacity = qMax(firstCapacity, 2 * m_tags.size());
    m_tags = QList<quint8>(capacity, 0);
    m_positions = QList<quint32>(capacity);
    for (qsizetype position = 0; position < m_keys.size(); ++position)
        place(position);
}

// Frees a slot and shifts back the entries after it that probing would no longer reach.
void TKeyList::emptySlot(qsizetype slot) {
    const qsizetype mask = m_tags.size() - 1;
    for (qsizetype next = (slot + 1) & mask; m_tags.at(next) != 0; next = (next + 1) & mask) {
        const bool homeAtOrBeforeSlot = ((next - homeOf(next)) & mask) >= ((next - slot) & mask);
        if (homeAtOrBeforeSlot) {
            m_tags[slot] = m_tags.at(next);
            m_positions[slot] = m_positions.at(next);
            slot = next;
        }
    }
    m_tags[slot] = 0;
}

void TKeyList::Add(QString key, int value) {
    if (2 * (m_keys.size() + 1) > m_tags.size())
        grow();
    const quint32 hash = hashOf(key);
    const qsizetype slot = slotOf(key, hash);
    if (m_tags.at(slot) != 0) {
        m_values[m_positions.at(slot)] = value;
        return;
    }
    m_tags[slot] = tagOf(hash);
    m_positions[slot] = quint32(m_keys.size());
    m_keys.append(std::move(key));
    m_values.append(value);
    m_hashes.append(hash);
}

// The last key moves into the place of the removed one, so the lists stay packed.
void TKeyList::Remove(const QString &key) {
    if (m_keys.isEmpty())
        return;
    const qsizetype slot = slotOf(key, hashOf(key));
    if (m_tags.at(slot) == 0)
        return;
    const qsizetype position = m_positions.at(slot);
    const qsizetype last = m_keys.size() - 1;
    emptySlot(slot);
    if (position != last) {
        m_positions[slotOfPosition(last)] = quint32(position);
        m_keys[position] = std::move(m_keys[last]);
        m_values[position] = m_values.at(last);
        m_hashes[position] = m_hashes.at(last);
    }
    m_keys.removeLast();
    m_values.removeLast();
    m_hashes.removeLast();
}

void TKeyList::Clear() {
    m_keys.clear();
    m_values.clear();
    m_hashes.clear();
    m_tags.clear();
    m_positions.clear();
}

int TKeyList::Count() const {
    return int(m_keys.size());
}

bool TKeyList::Contains(const QString &key) const {
    return !m_keys.isEmpty() && m_tags.at(slotOf(key, hashOf(key))) != 0;
}

int TKeyList::Value(const QString &key) const {
    if (m_keys.isEmpty())
        return 0;
    const qsizetype slot = slotOf(key, hashOf(key));
    return m_tags.at(slot) == 0 ? 0 : m_values.at(m_positions.at(slot));
}

QStringList TKeyList::Keys() const {
    return m_keys;
}
