#pragma once

#include "appserver/modules/packetbuilder.h"

#include <QSqlDatabase>

#include <optional>

// Runs a statement on SQLite's own connection handle, below Qt's per-cell values: each cell goes from
// SQLite's row straight into the packet's column. Nothing when the connection is not an SQLite one.
// Throws DatabaseError with SQLite's reason when the statement fails.
std::optional<DataPacket> sqlitePacket(QSqlDatabase &db, const QString &sql, const QVariantList &values,
                                       PacketBuilder &&builder);
