#pragma once

#include "appserver/recalc/model.h"

#include <QSqlDatabase>

// Reads the marked instalments with their document, supplier, adjustments and apportionment rules,
// in key order; on PostgreSQL each instalment row is locked for the run (SELECT ... FOR UPDATE), so
// two runs over overlapping instalments take their locks in the same order and one waits.
// Throws ServerFailure when an instalment does not exist or belongs to another company.
QList<Instalment> readInstalments(QSqlDatabase &db, const QList<InstalmentKey> &keys, const QString &company);
