#pragma once

#include "framework/core/datapacket.h"

#include <QSqlDatabase>
#include <QStringList>

// Runs a statement with these values bound in order and answers its rows as a packet, as
// packetFromQuery converts them. On SQLite the rows are read below Qt's per-cell values, which a
// large fetch would otherwise spend most of its time building and freeing. Throws DatabaseError.
DataPacket selectPacket(QSqlDatabase &db, const QString &sql, const QVariantList &values,
                        const QList<FieldDef> &fields, const QStringList &moneyFields = {});
