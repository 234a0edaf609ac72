#include "appserver/modules/packetbuilder.h"

#include "appserver/db/database.h"

#include <QLocale>
#include <QSqlRecord>

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
    const int count = columnCount();
    while (query.next()) {
        for (int col = 0; col < count; ++col)
            addValue(col, query.value(col));
        endRow();
    }
}

// Converts as Qt's values do: a number read as text gives its shortest form, a text read as a number
// gives 0 unless it is one.
void PacketBuilder::addValue(int col, const QVariant &value) {
    if (value.isNull())
        addNull(col);
    else if (m_sources.at(col) == Source::Text)
        addText(col, value.toString().toUtf8());
    else if (m_sources.at(col) == Source::Number)
        addReal(col, value.toDouble());
    else
        addWholeNumber(col, value.toLongLong());
}

void PacketBuilder::addNull(int col) {
    PacketColumn &column = m_columns[col];
    column.nulls.resize(m_rows / 8 + 1, '\0');
    column.nulls[m_rows >> 3] = char(quint8(column.nulls.at(m_rows >> 3)) | (1u << (m_rows & 7)));
    if (m_sources.at(col) == Source::Text)
        column.ends << quint32(column.text.size());
    else
        column.reals << 0.0;
}

void PacketBuilder::addWholeNumber(int col, qint64 value) {
    m_columns[col].reals << (m_sources.at(col) == Source::Cents ? double(value) / 100.0 : double(value));
}

void PacketBuilder::addInteger(int col, qint64 value) {
    if (m_sources.at(col) == Source::Text)
        addText(col, QByteArray::number(value));
    else
        addWholeNumber(col, value);
}

void PacketBuilder::addReal(int col, double value) {
    if (m_sources.at(col) == Source::Text)
        addText(col, QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
    else if (m_sources.at(col) == Source::Number)
        m_columns[col].reals << value;
    else
        addWholeNumber(col, qRound64(value));
}

void PacketBuilder::addText(int col, QByteArrayView utf8) {
    PacketColumn &column = m_columns[col];
    switch (m_sources.at(col)) {
    case Source::Text:
        column.text.append(utf8);
        column.ends << quint32(column.text.size());
        break;
    case Source::Number:
        addReal(col, QString::fromUtf8(utf8).toDouble());
        break;
    default:
        addWholeNumber(col, QString::fromUtf8(utf8).toLongLong());
        break;
    }
}

DataPacket PacketBuilder::packet() && {
    for (PacketColumn &column : m_columns)
        if (!column.nulls.isEmpty())
            column.nulls.resize((m_rows + 7) / 8, '\0');
    return DataPacket::fromColumns(std::move(m_fields), std::move(m_columns), m_rows);
}

DataPacket packetFromQuery(QSqlQuery &query, const QList<FieldDef> &fields, const QStringList &moneyFields) {
    if (query.record().count() != fields.size())
        throw DatabaseError(
            QStringLiteral("Erro no banco de dados: a consulta não tem as colunas do pacote."));
    PacketBuilder builder(fields, moneyFields);
    builder.addRows(query);
    return std::move(builder).packet();
}
