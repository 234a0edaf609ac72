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

RunTransaction::RunTransaction(QSqlDatabase &db, std::chrono::milliseconds maxWait)
    : m_db(db)
    , m_deadline(maxWait) {
    if (isPostgres(db)) {
        if (!db.transaction())
            fail(db.lastError());
        m_open = true;
    } else {
        behindOtherRuns([&] { beginSqlite(maxWait); });
    }
}

// The connection's busy timeout becomes the run's wait for BEGIN IMMEDIATE, then goes back to what it
// was for the statements of the run and those after it.
void RunTransaction::beginSqlite(std::chrono::milliseconds maxWait) {
    QSqlQuery timeout = selectRun(m_db, QStringLiteral("PRAGMA busy_timeout"));
    const qint64 usual = nextRow(timeout) ? timeout.value(0).toLongLong() : 0;
    timeout.finish();
    execText(m_db, QStringLiteral("PRAGMA busy_timeout = %1").arg(maxWait.count()));
    try {
        execText(m_db, QStringLiteral("BEGIN IMMEDIATE"));
    } catch (...) {
        execText(m_db, QStringLiteral("PRAGMA busy_timeout = %1").arg(usual));
        throw;
    }
    m_open = true;
    execText(m_db, QStringLiteral("PRAGMA busy_timeout = %1").arg(usual));
}

RunTransaction::~RunTransaction() {
    if (m_open)
        m_db.rollback();
}

void RunTransaction::limitLockWait() {
    if (!isPostgres(m_db))
        return;
    const qint64 left = m_deadline.remainingTime();
    if (left <= 0)
        throw RunBusy();
    // SET takes no bound values; the number is the server's own.
    execText(m_db, QStringLiteral("SET LOCAL lock_timeout = %1").arg(left));
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

QSqlQuery selectRun(QSqlDatabase &db, const QString &sql, const QVariantList &values) {
    QSqlQuery query = prepareRun(db, sql);
    execRun(query, values);
    return query;
}

bool nextRow(QSqlQuery &query) {
    if (query.next())
        return true;
    if (query.lastError().isValid())
        fail(query.lastError());
    return false;
}
