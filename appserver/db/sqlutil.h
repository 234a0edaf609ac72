#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

// Small helpers that turn a failed statement into a DatabaseError naming the driver's reason.

// Runs a statement without parameters.
void execSql(QSqlDatabase &db, const QString &sql);

// A forward-only query prepared on the connection.
QSqlQuery prepareSql(QSqlDatabase &db, const QString &sql);

// Runs a prepared query with the values bound so far.
void execPrepared(QSqlQuery &query);

// Runs a prepared query with these values bound in order and returns it positioned before its first row.
QSqlQuery runSql(QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

// The first column of the first row, or an invalid variant when there is no row.
QVariant selectValue(QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

// Starts a transaction that no other writer can share until it ends: BEGIN IMMEDIATE on SQLite, an
// exclusive lock of `table` on PostgreSQL. What the transaction reads first stays true until commit.
void beginExclusive(QSqlDatabase &db, const QString &table);
