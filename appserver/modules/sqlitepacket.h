#pragma once

#include "appserver/modules/packetbuilder.h"

#include <QHash>
#include <QSqlDatabase>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// SQLite's own connection handle below a Qt connection; nullptr when the connection is not an SQLite one.
sqlite3 *sqliteHandle(const QSqlDatabase &db);

// Runs a statement on SQLite's own connection handle, below Qt's per-cell values: each cell goes from
// SQLite's row straight into the packet's column. Nothing when the connection is not an SQLite one.
// Throws DatabaseError with SQLite's reason when the statement fails.
std::optional<DataPacket> sqlitePacket(QSqlDatabase &db, const QString &sql, const QVariantList &values,
                                       PacketBuilder &&builder);

// The statements of one SQLite connection, each prepared on first use and kept: a small statement run
// many times costs its preparation only once. Each is reset after its rows are read, so none holds a
// read transaction between uses. Must be destroyed before the connection closes. Methods throw
// DatabaseError with SQLite's reason.
class SqliteStatements {
public:
    explicit SqliteStatements(sqlite3 *handle)
        : m_handle(handle) {}
    ~SqliteStatements();
    SqliteStatements(const SqliteStatements &) = delete;
    SqliteStatements &operator=(const SqliteStatements &) = delete;

    sqlite3 *handle() const { return m_handle; }
    // The rows of `sql` with `values` bound in order, as a packet.
    DataPacket packet(const QString &sql, const QVariantList &values, PacketBuilder &&builder);
    // The first row of `sql`, each cell as Qt's driver gives it; empty when there is none.
    QVariantList firstRow(const QString &sql, const QVariantList &values);

private:
    sqlite3_stmt *prepared(const QString &sql, const QVariantList &values);

    sqlite3 *m_handle;
    QHash<QString, sqlite3_stmt *> m_statements;
};
