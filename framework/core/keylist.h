#pragma once

#include "framework/core/pagcore_export.h"

#include <QList>
#include <QString>

// A set of unique keys, each with an integer value. Adding a present key keeps one entry
// (with the new value); removing an absent key does nothing.
//
// Marking every row of a long list adds a key per row, so adding costs one hash of the key, a probe
// of a compact index and a copy of the key's characters to the end of one shared text: no
// allocation per key. Per position the key's place in that text, its hash and its value sit in
// one plain list; the index has, per slot, a tag byte (7 bits of the hash) and the key's position.
// Probing reads the tags, a key's text only when its whole hash agrees, and growing the index reads
// only the stored hashes.
class PAGCORE_EXPORT TKeyList {
public:
    void Add(const QString &key, int value);
    void Remove(const QString &key);
    void Clear();
    int Count() const;
    bool Contains(const QString &key) const;
    int Value(const QString &key) const;
    QStringList Keys() const;

private:
    QStringView keyAt(qsizetype position) const;
    qsizetype slotOf(QStringView key, quint32 hash) const;
    qsizetype slotOfPosition(qsizetype position) const;
    qsizetype homeOf(qsizetype slot) const;
    void grow();
    void place(qsizetype position);
    void emptySlot(qsizetype slot);
    void dropPosition(qsizetype position);
    void compactText();

    QString m_text; // the keys' characters, back to back; removed keys leave unused stretches
    qsizetype m_unusedText = 0;
    // Per position, in the order the keys came: where the key's characters are, its hash and value.
    struct Entry {
        quint32 start;
        quint32 length;
        quint32 hash;
        int value;
    };
    QList<Entry> m_entries;
    // Open addressing with linear probing, at most half full; a tag of 0 marks a free slot.
    QList<quint8> m_tags;
    QList<quint32> m_positions;
};
