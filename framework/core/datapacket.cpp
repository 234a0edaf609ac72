#include "framework/core/datapacket.h"

#include <QSet>

struct DataPacket::Data : QSharedData {
    QList<FieldDef> fields;
    QList<PacketColumn> columns;
    int rows = 0;
};

namespace {
bool isText(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::FixedText;
}

bool isReal(FieldKind kind) {
    return kind == FieldKind::DateTime || kind == FieldKind::Float;
}

// Packets of one method repeat their field definitions: each thread remembers the last ones it found
// sound, so only new definitions have their names checked.
void checkNames(const QList<FieldDef> &fields) {
    thread_local QList<FieldDef> lastSound;
    if (!fields.isEmpty() && fields == lastSound)
        return;
    QSet<QString> names;
    for (const FieldDef &def : fields) {
        const QString folded = def.name.toCaseFolded();
        if (folded.isEmpty() || names.contains(folded))
            throw PacketError("field without a name or with a duplicate name");
        names.insert(folded);
    }
    lastSound = fields;
}

void setNullBit(QByteArray &nulls, int row, int rowCount) {
    const qsizetype needed = (qsizetype(rowCount) + 7) / 8;
    if (nulls.size() < needed)
        nulls.append(needed - nulls.size(), '\0');
    nulls[row >> 3] = char(quint8(nulls.at(row >> 3)) | (1u << (row & 7)));
}
} // namespace

QVariant PacketColumn::value(FieldKind kind, int row) const {
    if (isNull(row))
        return {};
    if (isText(kind))
        return QString::fromUtf8(textAt(row));
    if (isReal(kind))
        return reals.at(row);
    if (kind == FieldKind::Integer)
        return integers.at(row);
    return flags.at(row) != 0;
}

void PacketColumn::append(FieldKind kind, const QVariant &value, int rowCount) {
    const bool null = !value.isValid() || value.isNull();
    if (null)
        setNullBit(nulls, rowCount, rowCount + 1);
    else if (!nulls.isEmpty() && nulls.size() < (qsizetype(rowCount) + 8) / 8)
        nulls.append('\0');
    if (isText(kind)) {
        if (!null)
            text.append(value.toString().toUtf8());
        ends.append(quint32(text.size()));
    } else if (isReal(kind)) {
        reals.append(null ? 0.0 : value.toDouble());
    } else if (kind == FieldKind::Integer) {
        integers.append(null ? 0 : value.toLongLong());
    } else {
        flags.append(char(!null && value.toBool()));
    }
}

void PacketColumn::reserve(FieldKind kind, int rowCount) {
    if (isText(kind))
        ends.reserve(rowCount);
    else if (isReal(kind))
        reals.reserve(rowCount);
    else if (kind == FieldKind::Integer)
        integers.reserve(rowCount);
    else
        flags.reserve(rowCount);
}

void PacketColumn::check(FieldKind kind, int rowCount) const {
    if (!nulls.isEmpty() && nulls.size() != (qsizetype(rowCount) + 7) / 8)
        throw PacketError("null bitmap does not match the row count");
    const bool textSized = isText(kind) ? ends.size() == rowCount : text.isEmpty() && ends.isEmpty();
    const bool realSized = isReal(kind) ? reals.size() == rowCount : reals.isEmpty();
    const bool intSized = kind == FieldKind::Integer ? integers.size() == rowCount : integers.isEmpty();
    const bool flagSized = kind == FieldKind::Boolean ? flags.size() == rowCount : flags.isEmpty();
    if (!textSized || !realSized || !intSized || !flagSized)
        throw PacketError("column size does not match the row count");
    if (!isText(kind))
        return;
    quint32 previous = 0;
    for (quint32 end : ends) {
        if (end < previous)
            throw PacketError("text offsets out of order");
        previous = end;
    }
    if (previous != quint32(text.size()) || text.size() > DataPacket::maxBytes)
        throw PacketError("text offsets do not match the text size");
}

DataPacket::DataPacket()
    : d(new Data) {}

DataPacket::DataPacket(QList<FieldDef> fields)
    : d(new Data) {
    d->fields = std::move(fields);
    d->columns.resize(d->fields.size());
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

int DataPacket::fieldIndex(QAnyStringView name) const {
    for (int i = 0; i < d->fields.size(); ++i) {
        if (QAnyStringView::compare(d->fields.at(i).name, name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int DataPacket::rowCount() const {
    return d->rows;
}

QVariant DataPacket::value(int row, int col) const {
    return d->columns.at(col).value(d->fields.at(col).kind, row);
}

bool DataPacket::isNullAt(int row, int col) const {
    return d->columns.at(col).isNull(row);
}

const PacketColumn &DataPacket::column(int col) const {
    return d->columns.at(col);
}

bool DataPacket::heldElsewhere() const {
    return d->ref.loadRelaxed() != 1;
}

void DataPacket::releaseColumn(int col) {
    d->columns[col] = PacketColumn();
}

void DataPacket::appendRow(const QVariantList &values) {
    if (d->rows >= maxRows)
        throw PacketError("too many rows");
    for (int col = 0; col < d->fields.size(); ++col)
        d->columns[col].append(d->fields.at(col).kind, values.value(col), d->rows);
    ++d->rows;
}

DataPacket DataPacket::fromColumns(QList<FieldDef> fields, QList<PacketColumn> columns, int rowCount) {
    if (fields.size() != columns.size() || fields.size() > maxFields)
        throw PacketError("field and column counts differ");
    if (rowCount < 0 || rowCount > maxRows || (rowCount > 0 && fields.isEmpty()))
        throw PacketError("row count out of range");
    checkNames(fields);
    for (int col = 0; col < fields.size(); ++col)
        columns.at(col).check(fields.at(col).kind, rowCount);
    DataPacket packet;
    packet.d->fields = std::move(fields);
    packet.d->columns = std::move(columns);
    packet.d->rows = rowCount;
    return packet;
}
