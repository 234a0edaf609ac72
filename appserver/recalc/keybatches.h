#pragma once

#include "appserver/recalc/model.h"

// The marked keys in batches, each with the condition that matches its instalments in one statement,
// for the steps that handle many instalments at once (counting lines, locking rows).
struct KeyBatch {
    QString condition; // "(P.CDFILIAL, P.NRLANCTONF, P.NRSEQVENPAG, P.NRPARCELAPAG) IN (VALUES (?, ?, ?, ?),
                       // ...)"
    QVariantList values;
};

// Batches of at most 250 keys (1,000 bound values), the columns qualified by `alias`.
QList<KeyBatch> keyBatches(const QList<InstalmentKey> &keys, const QString &alias);
