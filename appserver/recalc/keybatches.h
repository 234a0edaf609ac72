#pragma once

#include "appserver/recalc/model.h"

// The marked keys in batches, for the steps that handle many instalments in one statement (counting
// lines, locking rows, reading). A batch is a table K of keys that a statement walks first ("FROM K
// CROSS JOIN table", which SQLite takes as the order of its loops), looking each key up by the table's
// primary key.
struct KeyBatch {
    QString with; // "WITH K (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG) AS (VALUES (?, ?, ?, ?), ...) "
    QVariantList values;
    QList<InstalmentKey> keys;

    // The condition that the key columns of `alias` equal K's.
    static QString matches(const QString &alias);
};

// Batches of at most 32 keys (128 bound values).
QList<KeyBatch> keyBatches(const QList<InstalmentKey> &keys);
