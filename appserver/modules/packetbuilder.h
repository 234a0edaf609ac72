#pragma once

#include "framework/core/datapacket.h"

#include <QSqlQuery>
#include <QStringList>

// Builds a data packet straight from a query's rows, column by column: the query's column i fills
// field i. Texts are taken as they are, dates come as day counts, money columns (named at
// construction) come as whole cents and leave as double, other numbers as double. Cells are given
// either as Qt values or, by a reader below Qt's values, one typed cell at a time; both convert alike.
class PacketBuilder {
public:
    PacketBuilder(const QList<FieldDef> &fields, const QStringList &moneyFields = {});

    int columnCount() const { return int(m_fields.size()); }
    int rowCount() const { return m_rows; }

    // Appends every remaining row of an executed query.
    void addRows(QSqlQuery &query);

    // The cells of the row being built, each column once and in order, then endRow().
    void addNull(int col);
    void addInteger(int col, qint64 value);
    void addReal(int col, double value);
    void addText(int col, QByteArrayView utf8);
    void endRow() { ++m_rows; }

    DataPacket packet() &&;

private:
    enum class Source { Text, Days, Cents, Number };
    void addValue(int col, const QVariant &value);
    void addWholeNumber(int col, qint64 value);

    QList<FieldDef> m_fields;
    QList<Source> m_sources;
    QList<PacketColumn> m_columns;
    int m_rows = 0;
};

// The packet of an executed query read whole. Throws DatabaseError when its columns are not the packet's.
DataPacket packetFromQuery(QSqlQuery &query, const QList<FieldDef> &fields,
                           const QStringList &moneyFields = {});
