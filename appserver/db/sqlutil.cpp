#include "appserver/db/sqlutil.h"
#include "appserver/db/database.h"

#include <QSqlError>

namespace {

[[noreturn]] void fail(const QSqlError &error) {
    throw DatabaseError(QStringLiteral("Erro no banco de dados: %1").arg(error.text()));
}

} // namespace

void execSql(QSqlDatabase &db, const QString &sql) {
    QSqlQuery query(db);
    if (!query.exec(sql))
        fail(query.lastError());
}

QSqlQuery prepareSql(QSqlDatabase &db, const QString &sql) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query.lastError());
    return query;
}

void execPrepared(QSqlQuery &query) {
    if (!query.exec())
        fail(query.lastError());
}

QSqlQuery runSql(QSqlDatabase &db, const QString &sql, const QVariantList &values) {
    QSqlQuery query = prepareSql(db, sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    execPrepared(query);
    return query;
}

QVariant selectValue(QSqlDatabase &db, const QString &sql, const QVariantList &values) {
    QSqlQuery query = runSql(db, sql, values);
    return query.next() ? query.value(0) : QVariant();
}

void beginExclusive(QSqlDatabase &db, const QString &table) {
    if (isPostgres(db)) {
        if (!db.transaction())
            fail(db.lastError());
        execSql(db, QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(table));
    } else {
        execSql(db, QStringLiteral("BEGIN IMMEDIATE"));
    }
}
