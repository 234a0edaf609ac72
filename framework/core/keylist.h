#pragma once

#include "framework/core/pagcore_export.h"

#include <QList>
#include <QString>

// A set of unique keys, each with an integer value. Adding a present key keeps one entry
// (with the new value); removing an absent key does nothing.
//
// Marking every row of a long list adds a key per row, so adding costs one hash of the key and a
// probe of a compact index. The keys, their values and hashes sit in plain lists; the index has, per
// slot, a tag byte (7 bits of the hash) and the key's position. Probing reads the tags, a key's text
// only when its whole hash agrees, and growing the index reads only the stored hashes.
class PAGCORE_EXPORT TKeyList {
public:
    void Add(QString key, int value);
    void Remove(const QString &key);
    void Clear();
    int Count() const;
    bool Contains(const QString &key) const;
    int Value(const QString &key) const;
    QStringList Keys() const;

private:
    qsizetype slotOf(QStringView key, quint32 hash) const;
    qsizetype slotOfPosition(qsizetype position) const;
    qsizetype homeOf(qsizetype slot) const;
    void grow();
    void place(qsizetype position);
    void emptySlot(qsizetype slot);

    QList<QString> m_keys;
    QList<int> m_values;
    QList<quint32> m_hashes;
    // Open addressing with linear probing, at most half full; a tag of 0 marks a free slot.
    QList<quint8> m_tags;
    QList<quint32> m_positions;
};
