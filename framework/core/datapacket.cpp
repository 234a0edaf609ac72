#include "framework/core/datapacket.h"

struct DataPacket::Data : QSharedData {
    QList<FieldDef> fields;
    QList<PacketColumn> columns;
    int rows = 0;
};

DataPacket::DataPacket()
    : d(new Data) {}
DataPacket::DataPacket(QList<FieldDef> fields)
    : d(new Data) {
    d->fields = std::move(fields);
}
DataPacket::DataPacket(const DataPacket &) = default;
DataPacket::DataPacket(DataPacket &&) noexcept = default;
DataPacket &DataPacket::operator=(const DataPacket &) = default;
DataPacket &DataPacket::operator=(DataPacket &&) noexcept = default;
DataPacket::~DataPacket() = default;
bool DataPacket::isNull() const {
    return d->fields.isEmpty();
}
const QList<FieldDef> &DataPacket::fields() const {
    return d->fields;
}
int DataPacket::fieldIndex(QStringView) const {
    return -1;
}
int DataPacket::rowCount() const {
    return d->rows;
}
QVariant DataPacket::value(int, int) const {
    return {};
}
bool DataPacket::isNullAt(int, int) const {
    return true;
}
const PacketColumn &DataPacket::column(int col) const {
    return d->columns.at(col);
}
void DataPacket::appendRow(const QVariantList &) {}
DataPacket DataPacket::fromColumns(QList<FieldDef> fields, QList<PacketColumn>, int) {
    return DataPacket(fields);
}
QByteArray DataPacket::encode() const {
    return {};
}
DataPacket DataPacket::decode(QByteArrayView) {
    throw PacketError("not implemented");
}
QCborValue DataPacket::toCbor() const {
    return {};
}
DataPacket DataPacket::fromCbor(const QCborValue &) {
    throw PacketError("not implemented");
}
