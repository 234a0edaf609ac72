#include "framework/core/dataset.h"

#include "framework/core/datasetstore.h"

ClientDataSet::ClientDataSet(QObject *parent)
    : QObject(parent) {}
ClientDataSet::~ClientDataSet() = default;
Field *ClientDataSet::addField(const FieldDef &def) {
    m_fields.push_back(std::make_unique<Field>(this, int(m_fields.size()), def));
    return m_fields.back().get();
}
QList<FieldDef> ClientDataSet::fieldDefs() const {
    return {};
}
void ClientDataSet::clearFields() {}
int ClientDataSet::fieldCount() const {
    return int(m_fields.size());
}
Field *ClientDataSet::field(int index) const {
    return m_fields.at(index).get();
}
Field *ClientDataSet::fieldByName(QStringView) const {
    return nullptr;
}
Field *ClientDataSet::findField(QStringView) const {
    return nullptr;
}
void ClientDataSet::createDataSet() {}
void ClientDataSet::open() {}
void ClientDataSet::close() {}
bool ClientDataSet::active() const {
    return false;
}
DataSetState ClientDataSet::savedState() const {
    return m_state;
}
bool ClientDataSet::isEmpty() const {
    return true;
}
int ClientDataSet::recordCount() const {
    return 0;
}
void ClientDataSet::first() {}
void ClientDataSet::next() {}
void ClientDataSet::prior() {}
void ClientDataSet::last() {}
void ClientDataSet::setRecNo(int) {}
void ClientDataSet::edit() {}
void ClientDataSet::append() {}
void ClientDataSet::post() {}
void ClientDataSet::cancel() {}
void ClientDataSet::disableControls() {
    ++m_disableCount;
}
void ClientDataSet::enableControls() {
    --m_disableCount;
}
bool ClientDataSet::locate(const QString &, const QVariantList &, LocateOptions) {
    return false;
}
void ClientDataSet::setFilter(const QString &expression) {
    m_filterText = expression;
}
void ClientDataSet::setFiltered(bool on) {
    m_filtered = on;
}
void ClientDataSet::setData(const DataPacket &) {}
DataPacket ClientDataSet::data() const {
    return {};
}
void ClientDataSet::emptyDataSet() {}
QVariant ClientDataSet::valueAt(int, int) {
    return {};
}
QString ClientDataSet::displayTextAt(int, int) {
    return {};
}
