#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

// Inserts rows into a table many at a time (one multi-row INSERT per batch), which saves a round trip
// per row on PostgreSQL. Rows wait until the batch is full or flush() runs; a batch that `before`
// names is flushed first, so rows that refer to it find their parents.
class BatchInsert {
public:
    BatchInsert(QSqlDatabase &db, const QString &table, const QStringList &columns,
                BatchInsert *before = nullptr);

    void add(const QVariantList &row);
    void flush();

private:
    // Values bound per statement: binding slows with the number of parameters of the statement (per
    // value, not only per statement), so batches stay small and still save most round trips.
    static constexpr int maxValues = 128;
    QSqlQuery &statement(int rows);

    QSqlDatabase &m_db;
    QString m_head;
    QString m_rowMarks;
    BatchInsert *m_before;
    QVariantList m_values;
    int m_rows = 0;
    int m_maxRows;
    QHash<int, QSqlQuery> m_statements;
};
