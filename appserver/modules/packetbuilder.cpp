#include "appserver/modules/packetbuilder.h"

PacketBuilder::PacketBuilder(const QList<FieldDef> &fields, const QStringList &moneyFields)
    : m_fields(fields)
    , m_columns(fields.size()) {
    for (const FieldDef &def : fields) {
        if (def.kind == FieldKind::Text || def.kind == FieldKind::FixedText)
            m_sources << Source::Text;
        else if (def.kind == FieldKind::DateTime)
            m_sources << Source::Days;
        else
            m_sources << (moneyFields.contains(def.name) ? Source::Cents : Source::Number);
    }
}

void PacketBuilder::addRows(QSqlQuery &query) {
    const int count = int(m_fields.size());
    while (query.next()) {
        for (int col = 0; col < count; ++col)
            addValue(col, query.value(col));
        ++m_rows;
    }
}

void PacketBuilder::addValue(int col, const QVariant &value) {
    PacketColumn &column = m_columns[col];
    const bool null = value.isNull();
    if (null) {
        column.nulls.resize(m_rows / 8 + 1, '\0');
        column.nulls[m_rows >> 3] = char(quint8(column.nulls.at(m_rows >> 3)) | (1u << (m_rows & 7)));
    }
    switch (m_sources.at(col)) {
    case Source::Text:
        if (!null)
            column.text += value.toString().toUtf8();
        column.ends << quint32(column.text.size());
        break;
    case Source::Days:
        column.reals << (null ? 0.0 : double(value.toLongLong()));
        break;
    case Source::Cents:
        column.reals << (null ? 0.0 : double(value.toLongLong()) / 100.0);
        break;
    case Source::Number:
        column.reals << (null ? 0.0 : value.toDouble());
        break;
    }
}

DataPacket PacketBuilder::packet() const {
    QList<PacketColumn> columns = m_columns;
    for (PacketColumn &column : columns)
        if (!column.nulls.isEmpty())
            column.nulls.resize((m_rows + 7) / 8, '\0');
    return DataPacket::fromColumns(m_fields, columns, m_rows);
}

DataPacket packetFromQuery(QSqlQuery &query, const QList<FieldDef> &fields, const QStringList &moneyFields) {
    PacketBuilder builder(fields, moneyFields);
    builder.addRows(query);
    return builder.packet();
}
