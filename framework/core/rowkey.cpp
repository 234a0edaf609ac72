#include "framework/core/rowkey.h"

#include "framework/core/dataset.h"

RowKey::RowKey(ClientDataSet &dataSet, std::initializer_list<const char *> fieldNames)
    : m_dataSet(&dataSet) {
    for (const char *name : fieldNames)
        m_fields.append(dataSet.fieldByName(name));
}

QString RowKey::current() const {
    QString key;
    key.reserve(32);
    appendCurrent(key);
    return key;
}

void RowKey::appendCurrent(QString &out) const {
    m_dataSet->appendCurrentTexts(m_fields, out);
}
