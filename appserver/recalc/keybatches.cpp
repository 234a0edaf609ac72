#include "appserver/recalc/keybatches.h"
#include "appserver/recalc/boundrows.h"

namespace {

constexpr qsizetype keysPerBatch = 5000;

const QStringList keyColumns = {QStringLiteral("CDFILIAL"), QStringLiteral("NRLANCTONF"),
                                QStringLiteral("NRSEQVENPAG"), QStringLiteral("NRPARCELAPAG")};

KeyBatch batchOf(const QSqlDatabase &db, const QList<InstalmentKey> &keys) {
    QList<QVariantList> rows;
    rows.reserve(keys.size());
    for (const InstalmentKey &key : keys)
        rows << key.values();
    const BoundRows bound = boundRows(db, QStringLiteral("K"), keyColumns, rows);
    return {QStringLiteral("WITH ") + bound.definition + u' ', bound.values, keys};
}

} // namespace

QString KeyBatch::matches(const QString &alias) {
    return QStringLiteral(" %1.CDFILIAL = K.CDFILIAL AND %1.NRLANCTONF = K.NRLANCTONF"
                          " AND %1.NRSEQVENPAG = K.NRSEQVENPAG AND %1.NRPARCELAPAG = K.NRPARCELAPAG ")
        .arg(alias);
}

QString KeyBatch::among(const QString &alias) {
    return QStringLiteral(" (%1.CDFILIAL, %1.NRLANCTONF, %1.NRSEQVENPAG, %1.NRPARCELAPAG) IN (SELECT"
                          " CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG FROM K) ")
        .arg(alias);
}

QList<KeyBatch> keyBatches(const QSqlDatabase &db, const QList<InstalmentKey> &keys) {
    QList<KeyBatch> batches;
    for (qsizetype first = 0; first < keys.size(); first += keysPerBatch)
        batches << batchOf(db, keys.mid(first, keysPerBatch));
    return batches;
}
