#include "appserver/recalc/audit.h"
#include "appserver/recalc/batchinsert.h"
#include "appserver/recalc/runsql.h"

#include <QDateTime>

namespace {

qint64 insertRun(QSqlDatabase &db, const QString &operatorCode, const QString &company, qint64 started,
                 const QList<InstalmentChange> &changes) {
    qint64 before = 0, after = 0;
    for (const InstalmentChange &change : changes) {
        before += change.debitsBefore;
        after += change.debitsAfter;
    }
    QSqlQuery query = prepareRun(
        db, QStringLiteral("INSERT INTO AUDITRECALC (CDOPERADOR, CDEMPRESA, DTHRINICIO, DTHRFIM, QTCONTAS,"
                           " VRTOTANTES, VRTOTDEPOIS, DSSTATUS) VALUES (?, ?, ?, ?, ?, ?, ?, 'OK')"
                           " RETURNING NRAUDITRECALC"));
    execRun(query, {operatorCode, company, started, QDateTime::currentSecsSinceEpoch(), changes.size(),
                    before, after});
    nextRow(query);
    return query.value(0).toLongLong();
}

} // namespace

void recordRun(QSqlDatabase &db, const QString &operatorCode, const QString &company, qint64 started,
               const QList<InstalmentChange> &changes) {
    const qint64 run = insertRun(db, operatorCode, company, started, changes);
    BatchInsert items(db, QStringLiteral("AUDITRECALCITEM"),
                      {"NRAUDITRECALC", "CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG",
                       "NRLANCANTES", "NRLANCDEPOIS", "VRTOTANTES", "VRTOTDEPOIS"});
    for (const InstalmentChange &change : changes) {
        const QVariant numberBefore =
            change.numberBefore.isEmpty() ? QVariant() : QVariant(change.numberBefore);
        const QVariant numberAfter = change.numberAfter.isEmpty() ? QVariant() : QVariant(change.numberAfter);
        items.add({run, change.key.branch, change.key.entry, change.key.sequence, change.key.instalment,
                   numberBefore, numberAfter, change.debitsBefore, change.debitsAfter});
    }
    items.flush();
}
