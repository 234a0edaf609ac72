#pragma once

#include "appserver/recalc/ledger.h"
#include "appserver/recalc/model.h"

// Splits `cents` in proportion to `weights` so that the parts add up to `cents` exactly: each part
// gets its floor share, and the cents left over go one each to the parts with the largest remainders
// (the earlier part first on equal remainders). A negative amount is split as its absolute value and
// every part negated. Weights must be positive.
QList<qint64> splitCents(qint64 cents, const QList<int> &weights);

// The apportionment of an instalment's postings: its own rules when it has any (their shares must
// total 100.00%, over branches of the company and known cost centres), otherwise the whole value to
// the posting branch, which must be the company's, and the company's default cost centre. `error` is the code
// that prevents it, or null.
struct Apportionment {
    QList<ApportionRule> parts;
    const char *error = nullptr;
};
Apportionment apportionmentOf(const Instalment &instalment, const Ledger &ledger);

// Fills the splits of every line of the posting.
void apportion(Posting &posting, const Apportionment &apportionment);
