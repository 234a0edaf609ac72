#pragma once

#include "framework/core/datapacket.h"

#include <QSqlQuery>
#include <QStringList>

// Builds a data packet straight from a query's rows, column by column: the query's column i fills
// field i. Texts are taken as they are, dates come as day counts, money columns (named at
// construction) come as whole cents and leave as double, other numbers as double.
class PacketBuilder {
public:
    PacketBuilder(const QList<FieldDef> &fields, const QStringList &moneyFields = {});

    // Appends every remaining row of an executed query.
    void addRows(QSqlQuery &query);
    DataPacket packet() const;

private:
    enum class Source { Text, Days, Cents, Number };
    void addValue(int col, const QVariant &value);

    QList<FieldDef> m_fields;
    QList<Source> m_sources;
    QList<PacketColumn> m_columns;
    int m_rows = 0;
};

// The packet of an executed query read whole.
DataPacket packetFromQuery(QSqlQuery &query, const QList<FieldDef> &fields,
                           const QStringList &moneyFields = {});
