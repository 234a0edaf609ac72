#include "appserver/recalc/apportion.h"
#include "appserver/recalc/errorcodes.h"

#include <algorithm>
#include <numeric>

QList<qint64> splitCents(qint64 cents, const QList<int> &weights) {
    const qint64 sign = cents < 0 ? -1 : 1;
    const __int128 amount = cents < 0 ? -__int128(cents) : __int128(cents);
    const __int128 total = std::accumulate(weights.begin(), weights.end(), __int128(0));
    QList<qint64> parts;
    QList<__int128> remainders;
    qint64 given = 0;
    for (int weight : weights) {
        const __int128 exact = amount * weight;
        parts << qint64(exact / total);
        remainders << exact % total;
        given += parts.last();
    }
    QList<int> order(weights.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return remainders.at(a) > remainders.at(b); });
    for (qint64 left = qint64(amount) - given, i = 0; left > 0; --left, ++i)
        ++parts[order.at(int(i))];
    for (qint64 &part : parts)
        part *= sign;
    return parts;
}

Apportionment apportionmentOf(const Instalment &instalment, const Ledger &ledger) {
    if (instalment.rules.isEmpty()) {
        if (ledger.defaultCostCentre.isEmpty())
            return {{}, ErrorCode::NoDefaultCostCentre};
        if (!ledger.branches.contains(instalment.postingBranch))
            return {{}, ErrorCode::PostingBranchOutsideCompany};
        return {{{instalment.postingBranch, ledger.defaultCostCentre, 10000}}, nullptr};
    }
    int total = 0;
    for (const ApportionRule &rule : instalment.rules) {
        if (!ledger.branches.contains(rule.branch) || !ledger.costCentres.contains(rule.costCentre))
            return {{}, ErrorCode::RuleOutsideCompany};
        total += rule.share;
    }
    if (total != 10000)
        return {{}, ErrorCode::RulesNotWhole};
    return {instalment.rules, nullptr};
}

void apportion(Posting &posting, const Apportionment &apportionment) {
    QList<int> weights;
    for (const ApportionRule &part : apportionment.parts)
        weights << part.share;
    for (PostingLine &line : posting.lines) {
        if (weights.isEmpty())
            continue;
        const QList<qint64> amounts = splitCents(line.cents, weights);
        line.splits.reserve(amounts.size());
        for (int i = 0; i < amounts.size(); ++i)
            line.splits << Split{apportionment.parts.at(i).branch, apportionment.parts.at(i).costCentre,
                                 amounts.at(i)};
    }
}
