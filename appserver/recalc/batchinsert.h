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
// flushed first, so rows that refer to it find their parents.
class BatchInsert {
public:
    BatchInsert(QSqlDatabase &db, const QString &table, const QStringList &columns,
                BatchInsert *before = nullptr);
    ~BatchInsert();

    void add(const QVariantList &row);
    void flush();

private:
    static constexpr int maxPostgresRows = 1000;
    void flushPostgres();

    QSqlDatabase &m_db;
    QString m_table;
    QStringList m_columns;
    BatchInsert *m_before;
    std::unique_ptr<SqliteStatement> m_sqlite;
    QVariantList m_values;
    int m_rows = 0;
    QHash<QString, QSqlQuery> m_statements;
};
