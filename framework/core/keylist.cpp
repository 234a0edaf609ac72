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
    return QStringView(m_text).sliced(m_entries.at(position).start, m_entries.at(position).length);
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
        if (found == tag && m_entries.at(position).hash == hash && keyAt(position) == key)
            return slot;
    }
}

qsizetype TKeyList::slotOfPosition(qsizetype position) const {
    const qsizetype mask = m_tags.size() - 1;
    qsizetype slot = m_entries.at(position).hash & mask;
    while (m_tags.at(slot) == 0 || m_positions.at(slot) != position)
        slot = (slot + 1) & mask;
    return slot;
}

qsizetype TKeyList::homeOf(qsizetype slot) const {
    return m_entries.at(m_positions.at(slot)).hash & (m_tags.size() - 1);
}

void TKeyList::place(qsizetype position) {
    const qsizetype mask = m_tags.size() - 1;
    const quint32 hash = m_entries.at(position).hash;
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
    m_entries.reserve(capacity / 2);
    for (qsizetype position = 0; position < m_entries.size(); ++position)
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
    const qsizetype last = m_entries.size() - 1;
    m_unusedText += m_entries.at(position).length;
    if (position != last) {
        m_positions[slotOfPosition(last)] = quint32(position);
        m_entries[position] = m_entries.at(last);
    }
    m_entries.removeLast();
}

// Rewrites the text without the stretches of removed keys; positions, and so the index, stay.
void TKeyList::compactText() {
    QString text;
    text.reserve(m_text.size() - m_unusedText);
    for (qsizetype position = 0; position < m_entries.size(); ++position) {
        const QStringView key = keyAt(position);
        m_entries[position].start = quint32(text.size());
        text += key;
    }
    m_text = std::move(text);
    m_unusedText = 0;
}

void TKeyList::Add(const QString &key, int value) {
    if (2 * (m_entries.size() + 1) > m_tags.size())
        grow();
    const quint32 hash = hashOf(key);
    const qsizetype slot = slotOf(key, hash);
    if (m_tags.at(slot) != 0) {
        m_entries[m_positions.at(slot)].value = value;
        return;
    }
    m_tags[slot] = tagOf(hash);
    m_positions[slot] = quint32(m_entries.size());
    m_entries.append({quint32(m_text.size()), quint32(key.size()), hash, value});
    m_text += key;
}

void TKeyList::Remove(const QString &key) {
    if (m_entries.isEmpty())
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
    return int(m_entries.size());
}

bool TKeyList::Contains(const QString &key) const {
    return !m_entries.isEmpty() && m_tags.at(slotOf(key, hashOf(key))) != 0;
}

int TKeyList::Value(const QString &key) const {
    if (m_entries.isEmpty())
        return 0;
    const qsizetype slot = slotOf(key, hashOf(key));
    return m_tags.at(slot) == 0 ? 0 : m_entries.at(m_positions.at(slot)).value;
}

QStringList TKeyList::Keys() const {
    QStringList keys;
    keys.reserve(m_entries.size());
    for (qsizetype position = 0; position < m_entries.size(); ++position)
        keys.append(keyAt(position).toString());
    return keys;
}
