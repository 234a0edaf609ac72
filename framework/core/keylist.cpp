#include "framework/core/keylist.h"

#include <QStringList>

void TKeyList::Add(const QString &key, int value) {
    m_keys.insert(key, value);
}

void TKeyList::Remove(const QString &key) {
    m_keys.remove(key);
}

void TKeyList::Clear() {
    m_keys.clear();
}

int TKeyList::Count() const {
    return int(m_keys.size());
}

bool TKeyList::Contains(const QString &key) const {
    return m_keys.contains(key);
}

int TKeyList::Value(const QString &key) const {
    return m_keys.value(key);
}

QStringList TKeyList::Keys() const {
    return m_keys.keys();
}
