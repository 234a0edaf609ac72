#pragma once

#include "appserver/recalc/writer.h"

// Records a completed run in AUDITRECALC (who, for which company, when it started and ended, how many
// instalments, total debits before and after) with one AUDITRECALCITEM per instalment.
void recordRun(QSqlDatabase &db, const QString &operatorCode, const QString &company, qint64 started,
               const QList<InstalmentChange> &changes);
