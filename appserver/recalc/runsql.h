#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

// Another run holds the instalments (or, on SQLite, the database) longer than the run will wait.
struct RunBusy {};

// The run's one transaction. SQLite takes the write lock at once (BEGIN IMMEDIATE, waiting up to the
// connection's busy timeout); PostgreSQL waits at most lockWaitSeconds for each row lock. Rolls back
// unless committed, so an exception or a refused run leaves the database as it was.
class RunTransaction {
public:
    static constexpr int lockWaitSeconds = 10;

    explicit RunTransaction(QSqlDatabase &db);
    ~RunTransaction();
    RunTransaction(const RunTransaction &) = delete;
    RunTransaction &operator=(const RunTransaction &) = delete;

    void commit();

private:
    QSqlDatabase &m_db;
    bool m_open = false;
};

// Statements of a run: a failed statement throws RunBusy for a lock wait that ran out, DatabaseError
// otherwise.
QSqlQuery prepareRun(QSqlDatabase &db, const QString &sql);
void execRun(QSqlQuery &query, const QVariantList &values);
