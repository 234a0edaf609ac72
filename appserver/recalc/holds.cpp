#include "appserver/recalc/holds.h"
#include "appserver/recalc/runsql.h"

#include <QSet>

bool heldByOthers(QSqlDatabase &db, const QList<InstalmentKey> &keys, const QString &company,
                  const QString &operatorCode, qint64 now) {
    QSqlQuery query = prepareRun(db, QStringLiteral("SELECT B.CDFILIAL, B.NRLANCTONF FROM BLOQDOCUMENTO B"
                                                    " JOIN FILIAL F ON F.CDFILIAL = B.CDFILIAL"
                                                    " WHERE F.CDEMPRESA = ? AND B.CDOPERADOR <> ?"
                                                    " AND B.DTHRINICBLOQ <= ? AND B.DTHRFINABLOQ > ?"));
    execRun(query, {company, operatorCode, now, now});
    QSet<std::pair<QString, QString>> held;
    while (nextRow(query))
        held.insert({query.value(0).toString(), query.value(1).toString()});
    if (held.isEmpty())
        return false;
    for (const InstalmentKey &key : keys)
        if (held.contains({key.branch, key.entry}))
            return true;
    return false;
}
