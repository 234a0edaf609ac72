#pragma once

#include "appserver/recalc/ledger.h"
#include "appserver/recalc/model.h"
#include "appserver/recalc/recalc.h"

// The answer of a run: one entries row per posting line (VRLANCCTBTEMP positive for a debit, negative
// for a credit), one apportionment row per split, one errors row per error. Rows refer to lines by
// NRSEQCTBTEMP, the line's number within the run.
RecalcResult makeAnswer(const QString &status, const QList<Posting> &postings,
                        const QList<PostingError> &errors, const Ledger &ledger);

// An answer with a status and three empty packets.
RecalcResult emptyAnswer(const QString &status);
