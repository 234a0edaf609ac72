#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

// Many rows handed to one statement as a few bound values, so that a statement over thousands of rows
// costs one round trip and binds a handful of values instead of one per cell.

// A PostgreSQL array literal of the values ("{"a","b",NULL}"), each quoted as text; a null value is
// NULL. The statement casts it to the array type it needs.
QString postgresArray(const QVariantList &values);

// A JSON array of one array per row, for SQLite's json_each: numbers stay numbers, null is null and
// anything else is text.
QString jsonRows(const QList<QVariantList> &rows);

// A common table expression NAME (COLUMNS) over rows of text bound as values(): on SQLite one JSON
// array read through json_each, on PostgreSQL one text array per column read through unnest.
struct BoundRows {
    QString definition; // "NAME (C1, C2) AS (SELECT ...)"
    QVariantList values;
};
BoundRows boundRows(const QSqlDatabase &db, const QString &name, const QStringList &columns,
                    const QList<QVariantList> &rows);
