#include "appserver/recalc/runsql.h"
#include "appserver/db/database.h"

#include <QSqlError>

namespace {

// SQLITE_BUSY and SQLITE_LOCKED with their extended codes; PostgreSQL's lock_not_available and
// deadlock_detected.
bool isLockWait(const QSqlError &error) {
    const QString code = error.nativeErrorCode();
    bool numeric = false;
    const int sqliteCode = code.toInt(&numeric) & 0xff;
    if (numeric)
        return sqliteCode == 5 || sqliteCode == 6;
    return code == QLatin1String("55P03") || code == QLatin1String("40P01");
}

[[noreturn]] void fail(const QSqlError &error) {
    if (isLockWait(error))
        throw RunBusy();
    throw DatabaseError(QStringLiteral("Erro no banco de dados: %1").arg(error.text()));
}

void execText(QSqlDatabase &db, const QString &sql) {
    QSqlQuery query(db);
    if (!query.exec(sql))
        fail(query.lastError());
}

} // namespace

RunTransaction::RunTransaction(QSqlDatabase &db)
    : m_db(db) {
    if (isPostgres(db)) {
        if (!db.transaction())
            fail(db.lastError());
        m_open = true;
        execText(db, QStringLiteral("SET LOCAL lock_timeout = '%1s'").arg(lockWaitSeconds));
    } else {
        execText(db, QStringLiteral("BEGIN IMMEDIATE"));
        m_open = true;
    }
}

RunTransaction::~RunTransaction() {
    if (m_open)
        m_db.rollback();
}

void RunTransaction::commit() {
    if (!m_db.commit())
        fail(m_db.lastError());
    m_open = false;
}

QSqlQuery prepareRun(QSqlDatabase &db, const QString &sql) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query.lastError());
    return query;
}

void execRun(QSqlQuery &query, const QVariantList &values) {
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        fail(query.lastError());
}
