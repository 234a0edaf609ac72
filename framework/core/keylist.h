#pragma once

#include "framework/core/pagcore_export.h"

#include <QHash>
#include <QString>

// A set of unique keys, each with an integer value. Adding a present key keeps one entry
// (with the new value); removing an absent key does nothing.
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
    QHash<QString, int> m_keys;
};
