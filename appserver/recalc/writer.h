#pragma once

#include "appserver/recalc/model.h"

#include <QSqlDatabase>

// What one instalment's recalculation changed, for the audit trail.
struct InstalmentChange {
    InstalmentKey key;
    QString numberBefore;
    QString numberAfter;
    qint64 debitsBefore = 0; // total debits of its postings before and after, in cents
    qint64 debitsAfter = 0;
};

// Replaces the postings of every instalment by the new ones (postings are grouped by instalment, in
// the order of `instalments`), stores their apportionment and numbers, and marks the instalments
// accounted. Runs inside the caller's transaction.
QList<InstalmentChange> writePostings(QSqlDatabase &db, const QString &company, const QString &operatorCode,
                                      const QList<Instalment> &instalments, const QList<Posting> &postings,
                                      qint64 now);
