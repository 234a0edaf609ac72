#include "framework/core/rowkey.h"

#include "framework/core/dataset.h"

RowKey::RowKey(const ClientDataSet &dataSet, std::initializer_list<const char *> fieldNames) {
    for (const char *name : fieldNames)
        m_fields.append(dataSet.fieldByName(name));
}

QString RowKey::current() const {
    QString key;
    key.reserve(32);
    for (const Field *field : m_fields)
        field->appendAsString(key);
    return key;
}
