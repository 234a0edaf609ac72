#pragma once

#include "appserver/recalc/sqlitestatement.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <memory>

// Inserts rows into a table. SQLite, in the process, inserts each row as it comes through one prepared
// statement (sqlitestatement.h). PostgreSQL saves a round trip per row: rows wait until a batch of
// 1,000 is full or flush() runs, and go in one statement with each column bound as one array that the
// statement unnests, so a batch binds a value per column, not per cell; a batch that `before` names is
// flushed first, so rows that refer to it find their parents. `onConflict` ("ON CONFLICT ...") is
// appended to the statement, for rows that replace the rows of the same key.
class BatchInsert {
public:
    BatchInsert(QSqlDatabase &db, const QString &table, const QStringList &columns,
                BatchInsert *before = nullptr, const QString &onConflict = {});
    ~BatchInsert();

    void add(const QVariantList &row);
    void flush();
    // The rows added, and those the database inserted or changed: fewer when a conflict's condition
    // left a row as it was. Complete after flush().
    qint64 added() const { return m_added; }
    qint64 written() const { return m_written; }

private:
    static constexpr int maxPostgresRows = 1000;
    void flushPostgres();

    QSqlDatabase &m_db;
    QString m_table;
    QStringList m_columns;
    BatchInsert *m_before;
    QString m_onConflict;
    std::unique_ptr<SqliteStatement> m_sqlite;
    QVariantList m_values;
    int m_rows = 0;
    qint64 m_added = 0, m_written = 0;
    QHash<QString, QSqlQuery> m_statements;
};
