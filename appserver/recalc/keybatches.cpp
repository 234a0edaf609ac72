#include "appserver/recalc/keybatches.h"

namespace {

constexpr qsizetype keysPerBatch = 250;

KeyBatch batchOf(const QList<InstalmentKey> &keys, const QString &alias) {
    KeyBatch batch;
    batch.condition =
        QStringLiteral("(%1.CDFILIAL, %1.NRLANCTONF, %1.NRSEQVENPAG, %1.NRPARCELAPAG) IN (VALUES ")
            .arg(alias) +
        QStringList(keys.size(), QStringLiteral("(?, ?, ?, ?)")).join(QStringLiteral(", ")) + u')';
    batch.values.reserve(keys.size() * 4);
    for (const InstalmentKey &key : keys)
        batch.values += key.values();
    return batch;
}

} // namespace

QList<KeyBatch> keyBatches(const QList<InstalmentKey> &keys, const QString &alias) {
    QList<KeyBatch> batches;
    for (qsizetype first = 0; first < keys.size(); first += keysPerBatch)
        batches << batchOf(keys.mid(first, keysPerBatch), alias);
    return batches;
}
