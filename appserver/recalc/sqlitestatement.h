#pragma once

#include <QSqlDatabase>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// A statement prepared on the SQLite connection of `db` through SQLite's own interface, for the
// inserts a run repeats by the ten thousand: binding a row there costs a fraction of what the SQL
// module's per-value bookkeeping does, and SQLite, in the process, needs no batching to save round
// trips. Shares the connection's transaction. A failed step throws RunBusy for a lock wait that ran
// out, DatabaseError otherwise.
class SqliteStatement {
public:
    SqliteStatement(const QSqlDatabase &db, const QString &sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // Binds the values in order (integers as integers, null as null, anything else as text) and runs it;
    // returns the rows it inserted, changed or deleted.
    int run(const QVariantList &values);

private:
    [[noreturn]] static void fail(int result, const QString &message);

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_statement = nullptr;
};
