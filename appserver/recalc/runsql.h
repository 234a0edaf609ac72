#pragma once

#include <QDeadlineTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

#include <chrono>

// A lock that another transaction holds on a marked instalment (another user changing the document)
// was not released within what was left of the run's wait.
struct RunBusy {};

// Another run (on SQLite: any run, of any company; on PostgreSQL: a run of the same company) did not
// end within the run's wait.
struct RunQueueFull {};

// The run's one transaction, with one bound on all its waits for locks. SQLite takes the write lock at
// once (BEGIN IMMEDIATE): a run in progress makes it queue here. PostgreSQL locks rows as the run goes
// on, each lock waiting at most what is left of the bound (limitLockWait). Rolls back unless committed,
// so an exception or a refused run leaves the database as it was.
class RunTransaction {
public:
    RunTransaction(QSqlDatabase &db, std::chrono::milliseconds maxWait);
    ~RunTransaction();
    RunTransaction(const RunTransaction &) = delete;
    RunTransaction &operator=(const RunTransaction &) = delete;

    // PostgreSQL: the next statements wait for each lock at most what is left of the run's wait.
    // Throws RunBusy when nothing is left.
    void limitLockWait();
    void commit();

private:
    void beginSqlite(std::chrono::milliseconds maxWait);

    QSqlDatabase &m_db;
    QDeadlineTimer m_deadline;
    bool m_open = false;
};

// Runs a step that waits for other runs rather than for documents: a lock wait that runs out there
// throws RunQueueFull instead of RunBusy.
template <typename Step> auto behindOtherRuns(Step step) {
    try {
        return step();
    } catch (const RunBusy &) {
        throw RunQueueFull();
    }
}

// Statements of a run: a failed statement throws RunBusy for a lock wait that ran out, DatabaseError
// otherwise.
QSqlQuery prepareRun(QSqlDatabase &db, const QString &sql);
void execRun(QSqlQuery &query, const QVariantList &values);
// Prepares and runs a statement once; positioned before its first row.
QSqlQuery selectRun(QSqlDatabase &db, const QString &sql, const QVariantList &values = {});
// Moves to the next row; false at the end of the rows. A failed read throws like a failed statement, so
// it is never taken for the end of the rows.
bool nextRow(QSqlQuery &query);
