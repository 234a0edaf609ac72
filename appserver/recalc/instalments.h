#pragma once

#include "appserver/recalc/ledger.h"
#include "appserver/recalc/model.h"

#include <QSqlDatabase>

class RunTransaction;

// PostgreSQL: locks the rows of the marked instalments for the run (SELECT ... FOR UPDATE, in key order,
// a batch at a time), each batch waiting at most what is left of the run's wait; a lock held longer by
// another transaction throws RunBusy. SQLite: nothing to do, the run holds the write lock.
void lockInstalments(QSqlDatabase &db, RunTransaction &transaction, const QList<InstalmentKey> &keys);

// Reads the marked instalments with their document, supplier, adjustments and apportionment rules,
// in key order, and whether an earlier posting of each lies outside the ledger's open period.
// Throws ServerFailure when an instalment does not exist or belongs to another company.
QList<Instalment> readInstalments(QSqlDatabase &db, const QList<InstalmentKey> &keys, const Ledger &ledger);

// The most posting lines the marked instalments can give (two per posting of an instalment that is not
// cancelled and of each of its adjustments), read before the run takes any lock.
qint64 countLines(QSqlDatabase &db, const QList<InstalmentKey> &keys);
