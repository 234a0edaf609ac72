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

QStringView TKeyList::keyAt(qsizetype position) const {
    return QStringView(m_text).sliced(m_starts.at(position), m_lengths.at(position));
}

// The slot holding key, or the free slot where it belongs.
qsizetype TKeyList::slotOf(QStringView key, quint32 hash) const {
    const qsizetype mask = m_tags.size() - 1;
    const quint8 tag = tagOf(hash);
    for (qsizetype slot = hash & mask;; slot = (slot + 1) & mask) {
        const quint8 found = m_tags.at(slot);
        if (found == 0)
            return slot;
        const qsizetype position = m_positions.at(slot);
        if (found == tag && m_hashes.at(position) == hash && keyAt(position) == key)
            return slot;
    }
}

qsizetype TKeyList::slotOfPosition(qsizetype position) const {
    const qsizetype mask = m_tags.size() - 1;
    qsizetype slot = m_hashes.at(position) & mask;
    while (m_tags.at(slot) == 0 || m_positions.at(slot) != position)
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
    // The lists per position hold up to half the slots before the next growth: no copy in between.
    m_starts.reserve(capacity / 2);
    m_lengths.reserve(capacity / 2);
    m_hashes.reserve(capacity / 2);
    m_values.reserve(capacity / 2);
    for (qsizetype position = 0; position < m_hashes.size(); ++position)
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

// The last position moves into the dropped one, so the lists stay packed.
void TKeyList::dropPosition(qsizetype position) {
    const qsizetype last = m_hashes.size() - 1;
    m_unusedText += m_lengths.at(position);
    if (position != last) {
        m_positions[slotOfPosition(last)] = quint32(position);
        m_starts[position] = m_starts.at(last);
        m_lengths[position] = m_lengths.at(last);
        m_hashes[position] = m_hashes.at(last);
        m_values[position] = m_values.at(last);
    }
    m_starts.removeLast();
    m_lengths.removeLast();
    m_hashes.removeLast();
    m_values.removeLast();
}

// Rewrites the text without the stretches of removed keys; positions, and so the index, stay.
void TKeyList::compactText() {
    QString text;
    text.reserve(m_text.size() - m_unusedText);
    for (qsizetype position = 0; position < m_starts.size(); ++position) {
        const QStringView key = keyAt(position);
        m_starts[position] = quint32(text.size());
        text += key;
    }
    m_text = std::move(text);
    m_unusedText = 0;
}

void TKeyList::Add(const QString &key, int value) {
    if (2 * (m_hashes.size() + 1) > m_tags.size())
        grow();
    const quint32 hash = hashOf(key);
    const qsizetype slot = slotOf(key, hash);
    if (m_tags.at(slot) != 0) {
        m_values[m_positions.at(slot)] = value;
        return;
    }
    m_tags[slot] = tagOf(hash);
    m_positions[slot] = quint32(m_hashes.size());
    m_starts.append(quint32(m_text.size()));
    m_lengths.append(quint32(key.size()));
    m_hashes.append(hash);
    m_values.append(value);
    m_text += key;
}

void TKeyList::Remove(const QString &key) {
    if (m_hashes.isEmpty())
        return;
    const qsizetype slot = slotOf(key, hashOf(key));
    if (m_tags.at(slot) == 0)
        return;
    const qsizetype position = m_positions.at(slot);
    emptySlot(slot);
    dropPosition(position);
    if (2 * m_unusedText > m_text.size())
        compactText();
}

void TKeyList::Clear() {
    *this = TKeyList();
}

int TKeyList::Count() const {
    return int(m_hashes.size());
}

bool TKeyList::Contains(const QString &key) const {
    return !m_hashes.isEmpty() && m_tags.at(slotOf(key, hashOf(key))) != 0;
}

int TKeyList::Value(const QString &key) const {
    if (m_hashes.isEmpty())
        return 0;
    const qsizetype slot = slotOf(key, hashOf(key));
    return m_tags.at(slot) == 0 ? 0 : m_values.at(m_positions.at(slot));
}

QStringList TKeyList::Keys() const {
    QStringList keys;
    keys.reserve(m_hashes.size());
    for (qsizetype position = 0; position < m_hashes.size(); ++position)
        keys.append(keyAt(position).toString());
    return keys;
}
