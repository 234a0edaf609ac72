#pragma once

#include "appserver/recalc/model.h"

#include <QSqlDatabase>

// A document is held open for change by an operator from DTHRINICBLOQ until DTHRFINABLOQ (seconds
// since 1970 UTC, in BLOQDOCUMENTO). True when one of the documents of `keys` is held at `now` by an
// operator other than `operatorCode` (codes compare exactly, as at sign-in); expired holds and the
// operator's own holds do not count.
bool heldByOthers(QSqlDatabase &db, const QList<InstalmentKey> &keys, const QString &company,
                  const QString &operatorCode, qint64 now);
