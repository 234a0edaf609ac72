#include "framework/core/field.h"

#include "framework/core/dataset.h"

Field::Field(ClientDataSet *dataSet, int index, const FieldDef &def)
    : m_dataSet(dataSet)
    , m_index(index)
    , m_def(def) {}
QVariant Field::value() const {
    return {};
}
bool Field::isNull() const {
    return true;
}
QString Field::asString() const {
    return {};
}
double Field::asDateTime() const {
    return 0;
}
double Field::asFloat() const {
    return 0;
}
qint64 Field::asInteger() const {
    return 0;
}
bool Field::asBoolean() const {
    return false;
}
void Field::setValue(const QVariant &) {}
void Field::setAsString(const QString &) {}
void Field::setAsDateTime(double) {}
void Field::setAsFloat(double) {}
void Field::setAsInteger(qint64) {}
void Field::clear() {}
QString Field::displayText() {
    return {};
}
void Field::setOnGetText(std::function<QString(Field &)> handler) {
    m_onGetText = std::move(handler);
}
QString Field::formatValue(const QVariant &) const {
    return {};
}
QVariant Field::normalized(const QVariant &value) const {
    return value;
}
