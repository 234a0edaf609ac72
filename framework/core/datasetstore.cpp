#include "framework/core/datasetstore.h"

#include <QAnyStringView>
#include <optional>

namespace {
int kindGroup(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::FixedText:
        return 0;
    case FieldKind::DateTime:
    case FieldKind::Float:
        return 1;
    case FieldKind::Integer:
        return 2;
    case FieldKind::Boolean:
        return 3;
    }
    return -1;
}

QVariant convert(const QVariant &value, FieldKind kind) {
    if (!value.isValid())
        return value;
    switch (kindGroup(kind)) {
    case 0:
        return value.toString();
    case 1:
        return value.toDouble();
    case 2:
        return value.toLongLong();
    default:
        return value.toBool();
    }
}
} // namespace

void DataSetStore::reset(const QList<FieldDef> &declared) {
    load(declared, DataPacket());
}

void DataSetStore::load(const QList<FieldDef> &declared, const DataPacket &packet) {
    m_declared = declared;
    m_packet = packet;
    m_rows = packet.rowCount();
    m_packetRows = m_rows;
    m_packetColumn.clear();
    m_sameKind.clear();
    m_textColumn.clear();
    m_realColumn.clear();
    for (const FieldDef &def : declared) {
        const int column = def.calculated ? -1 : packet.fieldIndex(def.name);
        const bool sameKind =
            column >= 0 && kindGroup(packet.fields().at(column).kind) == kindGroup(def.kind);
        m_packetColumn.append(column);
        m_sameKind.append(sameKind);
        m_textColumn.append(sameKind && kindGroup(def.kind) == 0 ? &m_packet.column(column) : nullptr);
        m_realColumn.append(sameKind && kindGroup(def.kind) == 1 ? &m_packet.column(column) : nullptr);
    }
    m_overlay = QList<CellOverlay>(declared.size());
}

QVariant DataSetStore::value(int row, int field) const {
    const CellOverlay &overlay = m_overlay.at(field);
    if (overlay.contains(row))
        return overlay.value(row);
    const int column = m_packetColumn.at(field);
    if (column < 0 || row >= m_packet.rowCount())
        return {};
    const QVariant stored = m_packet.value(row, column);
    return m_sameKind.at(field) ? stored : convert(stored, m_declared.at(field).kind);
}

// The UTF-8 bytes of a text cell read from the packet (a null reads as no bytes); nothing when the
// cell was written since or the packet holds it in another kind.
std::optional<QByteArrayView> DataSetStore::packetText(int row, int field) const {
    const PacketColumn *column = m_textColumn.at(field);
    if (!column || row >= m_packetRows || m_overlay.at(field).contains(row))
        return std::nullopt;
    return column->textAt(row);
}

std::optional<double> DataSetStore::packetReal(int row, int field) const {
    const PacketColumn *column = m_realColumn.at(field);
    if (!column || row >= m_packetRows || m_overlay.at(field).contains(row))
        return std::nullopt;
    return column->isNull(row) ? 0.0 : column->reals.at(row);
}

QString DataSetStore::textOf(int row, int field) const {
    const CellOverlay &overlay = m_overlay.at(field);
    if (overlay.contains(row))
        return overlay.text(row);
    if (const std::optional<QByteArrayView> bytes = packetText(row, field))
        return QString::fromUtf8(*bytes);
    return value(row, field).toString();
}

bool DataSetStore::textEquals(int row, int field, QStringView text, Qt::CaseSensitivity cs) const {
    const std::optional<QByteArrayView> bytes = packetText(row, field);
    if (!bytes)
        return textOf(row, field).compare(text, cs) == 0;
    if (cs == Qt::CaseSensitive && bytes->size() < text.size())
        return false;
    return QAnyStringView::compare(QUtf8StringView(*bytes), text, cs) == 0;
}

// Codes are ASCII: their bytes are widened as they are copied, and only a text with a byte past
// ASCII is decoded again as UTF-8.
void DataSetStore::appendText(int row, int field, QString &out) const {
    const std::optional<QByteArrayView> bytes = packetText(row, field);
    if (!bytes) {
        out += textOf(row, field);
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + bytes->size());
    char16_t *to = reinterpret_cast<char16_t *>(out.data()) + start;
    char high = 0;
    for (const char byte : *bytes) {
        high |= byte;
        *to++ = char16_t(uchar(byte));
    }
    if (high & 0x80) {
        out.truncate(start);
        out += QString::fromUtf8(*bytes);
    }
}

void DataSetStore::setValue(int row, int field, QVariant value) {
    m_overlay[field].set(row, std::move(value), m_rows);
}

int DataSetStore::appendRow() {
    return m_rows++;
}

PacketColumn DataSetStore::buildColumn(const FieldDef &def, int field) const {
    PacketColumn column;
    column.reserve(def.kind, m_rows);
    for (int row = 0; row < m_rows; ++row)
        column.append(def.kind, value(row, field), row);
    return column;
}

PacketColumn DataSetStore::extendColumn(int packetColumn) const {
    const FieldKind kind = m_packet.fields().at(packetColumn).kind;
    PacketColumn column = m_packet.column(packetColumn);
    for (int row = m_packet.rowCount(); row < m_rows; ++row)
        column.append(kind, QVariant(), row);
    return column;
}

DataPacket DataSetStore::toPacket() const {
    QList<FieldDef> fields;
    QList<PacketColumn> columns;
    QList<bool> declaredColumn(m_packet.fields().size(), false);
    for (int field = 0; field < m_declared.size(); ++field) {
        const FieldDef &def = m_declared.at(field);
        if (def.calculated)
            continue;
        const int packetColumn = m_packetColumn.at(field);
        const bool untouched = packetColumn >= 0 && m_overlay.at(field).isEmpty() &&
                               m_packet.fields().at(packetColumn).kind == def.kind;
        fields.append(def);
        columns.append(untouched ? extendColumn(packetColumn) : buildColumn(def, field));
        if (packetColumn >= 0)
            declaredColumn[packetColumn] = true;
    }
    for (int column = 0; column < m_packet.fields().size(); ++column) {
        if (declaredColumn.at(column))
            continue;
        fields.append(m_packet.fields().at(column));
        columns.append(extendColumn(column));
    }
    return DataPacket::fromColumns(fields, columns, m_rows);
}
