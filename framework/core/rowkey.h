#pragma once

#include "framework/core/pagcore_export.h"

#include <QList>
#include <QString>
#include <initializer_list>

class ClientDataSet;
class Field;

// The key of a dataset's current row: the texts of its key fields back to back. The fields are
// looked up once, so building a key for every posted row costs no search by name.
class PAGCORE_EXPORT RowKey {
public:
    // Throws std::invalid_argument when the dataset lacks one of the fields.
    RowKey(ClientDataSet &dataSet, std::initializer_list<const char *> fieldNames);

    QString current() const;
    // Appends the current row's key to out: a caller that keeps one buffer builds keys without
    // allocating.
    void appendCurrent(QString &out) const;

private:
    ClientDataSet *m_dataSet;
    QList<Field *> m_fields;
};
