#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

// Inserts rows into a table many at a time, which saves a round trip per row on PostgreSQL. Rows wait
// until the batch is full or flush() runs; a batch that `before` names is flushed first, so rows that
// refer to it find their parents.
//
// SQLite: one multi-row INSERT of a few rows per statement. PostgreSQL: thousands of rows per
// statement, each column bound as one array that the statement unnests, so a batch binds a value per
// column, not per cell.
class BatchInsert {
public:
    BatchInsert(QSqlDatabase &db, const QString &table, const QStringList &columns,
                BatchInsert *before = nullptr);

    void add(const QVariantList &row);
    void flush();

private:
    // SQLite binds per value, and its statements slow with the number of parameters (per value, not
    // only per statement), so its batches stay small and still save most of the statements.
    static constexpr int maxSqliteValues = 128;
    static constexpr int maxPostgresRows = 5000;
    void flushSqlite();
    void flushPostgres();
    QSqlQuery &statement(const QString &key, const QString &sql);

    QSqlDatabase &m_db;
    bool m_postgres;
    QString m_table;
    QStringList m_columns;
    BatchInsert *m_before;
    QVariantList m_values;
    int m_rows = 0;
    int m_maxRows;
    QHash<QString, QSqlQuery> m_statements;
};
