#include "appserver/recalc/keybatches.h"

namespace {

constexpr qsizetype keysPerBatch = 32;

KeyBatch batchOf(const QList<InstalmentKey> &keys) {
    KeyBatch batch;
    batch.with = QStringLiteral("WITH K (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG) AS (VALUES ") +
                 QStringList(keys.size(), QStringLiteral("(?, ?, ?, ?)")).join(QStringLiteral(", ")) +
                 QStringLiteral(") ");
    batch.values.reserve(keys.size() * 4);
    for (const InstalmentKey &key : keys)
        batch.values += key.values();
    batch.keys = keys;
    return batch;
}

} // namespace

QString KeyBatch::matches(const QString &alias) {
    return QStringLiteral(" %1.CDFILIAL = K.CDFILIAL AND %1.NRLANCTONF = K.NRLANCTONF"
                          " AND %1.NRSEQVENPAG = K.NRSEQVENPAG AND %1.NRPARCELAPAG = K.NRPARCELAPAG ")
        .arg(alias);
}

QList<KeyBatch> keyBatches(const QList<InstalmentKey> &keys) {
    QList<KeyBatch> batches;
    for (qsizetype first = 0; first < keys.size(); first += keysPerBatch)
        batches << batchOf(keys.mid(first, keysPerBatch));
    return batches;
}
