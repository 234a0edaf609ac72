#pragma once

#include <QAnyStringView>
#include <QString>
#include <optional>

// Fast lookup of field names, which are ASCII in practice: a hash with letters folded to upper
// case, so a lookup compares integers first. Names with other characters have no hash.
std::optional<quint64> asciiNameHash(QAnyStringView name);
// Equality without regard to ASCII letter case, for names that both have a hash.
bool asciiEqualIgnoringCase(const QString &fieldName, QAnyStringView name);
