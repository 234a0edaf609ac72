#pragma once

#include "appserver/recalc/model.h"

#include <QSqlDatabase>

// The marked keys in batches, for the steps that handle many instalments in one statement (counting
// lines, locking rows, reading, writing). A batch is a table K of keys bound as a few values (see
// boundrows.h) that a statement walks first ("FROM K CROSS JOIN table", which SQLite takes as the
// order of its loops), looking each key up by the table's primary key.
struct KeyBatch {
    QString with; // "WITH K (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG) AS (...) "
    QVariantList values;
    QList<InstalmentKey> keys;

    // The condition that the key columns of `alias` equal K's.
    static QString matches(const QString &alias);
    // The condition that the key columns of `alias` are among K's.
    static QString among(const QString &alias);
};

// Batches of at most 5,000 keys: a run of ordinary size is one batch, and a very large one still holds
// a bounded part of its keys in each statement.
QList<KeyBatch> keyBatches(const QSqlDatabase &db, const QList<InstalmentKey> &keys);
