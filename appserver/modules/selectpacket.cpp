#include "appserver/modules/selectpacket.h"
#include "appserver/db/sqlutil.h"
#include "appserver/modules/sqlitepacket.h"

DataPacket selectPacket(QSqlDatabase &db, const QString &sql, const QVariantList &values,
                        const QList<FieldDef> &fields, const QStringList &moneyFields) {
    if (std::optional<DataPacket> packet = sqlitePacket(db, sql, values, PacketBuilder(fields, moneyFields)))
        return *std::move(packet);
    QSqlQuery query = runSql(db, sql, values);
    return packetFromQuery(query, fields, moneyFields);
}
