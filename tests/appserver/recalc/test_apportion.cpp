#include "appserver/recalc/apportion.h"
#include "framework/core/money.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"

#include <numeric>

namespace {

qint64 sum(const QList<qint64> &parts) {
    return std::accumulate(parts.begin(), parts.end(), qint64(0));
}

} // namespace

TEST(SplitCents, PartsAddUpAndLeftoverCentsGoToLargestRemainders) {
    EXPECT_EQ(splitCents(10000, {1, 1, 1}), QList<qint64>({3334, 3333, 3333}));
    EXPECT_EQ(splitCents(-10000, {1, 1, 1}), QList<qint64>({-3334, -3333, -3333}));
    EXPECT_EQ(splitCents(100, {3334, 3333, 3333}), QList<qint64>({34, 33, 33}));
    // 2 cents over 1:2:2 leave remainders .4, .8, .8: the later two take them.
    EXPECT_EQ(splitCents(2, {1, 2, 2}), QList<qint64>({0, 1, 1}));
    EXPECT_EQ(splitCents(Q_INT64_C(900000000000000000), {3333, 3333, 3334}),
              QList<qint64>({Q_INT64_C(299970000000000000), Q_INT64_C(299970000000000000),
                             Q_INT64_C(300060000000000000)}));

    const QList<QList<int>> weightSets = {
        {1}, {1, 1, 1}, {3334, 3333, 3333}, {1, 2, 3, 4, 5, 6, 7}, {9999, 1}};
    for (const QList<int> &weights : weightSets) {
        const int total = std::accumulate(weights.begin(), weights.end(), 0);
        for (qint64 cents : {0LL, 1LL, 2LL, 99LL, 10000LL, 10001LL, 123457LL, -7LL}) {
            const QList<qint64> parts = splitCents(cents, weights);
            EXPECT_EQ(sum(parts), cents);
            for (int i = 0; i < weights.size(); ++i) // each part within a cent of its exact share
                EXPECT_LE(qAbs(parts.at(i) * total - cents * weights.at(i)), total);
        }
    }
}

// Through a whole run: every line's splits add up to the line, for values that do not divide evenly.
class RecalcApportion : public RecalcFixture {};

TEST_P(RecalcApportion, EverySplitAddsUpToItsLineToTheCent) {
    QList<Key> keys;
    int entry = 0;
    for (qint64 cents : {10000, 10001, 10002, 1, 33333}) {
        const Key key = addInstalment("0101", QString::number(++entry), cents);
        addRule(key, 1, "0101", "0001", 3333);
        addRule(key, 2, "0102", "0002", 3333);
        addRule(key, 3, "0103", "0003", 3334);
        addAdjustment(key, 1, "0002", cents / 3 + 1);
        keys << key;
    }
    const RecalcResult result = recalc(keys);
    ASSERT_EQ(result.status, RecConPag::StatusOk);

    QHash<QString, qint64> lines;
    const DataPacket &entries = result.entries;
    for (int row = 0; row < entries.rowCount(); ++row)
        lines[entries.value(row, entries.fieldIndex(u"NRSEQCTBTEMP")).toString()] =
            toCents(entries.value(row, entries.fieldIndex(u"VRLANCCTBTEMP")).toDouble());
    QHash<QString, qint64> split;
    const DataPacket &parts = result.apportionment;
    for (int row = 0; row < parts.rowCount(); ++row)
        split[parts.value(row, parts.fieldIndex(u"NRSEQCTBTEMP")).toString()] +=
            toCents(parts.value(row, parts.fieldIndex(u"VRLANCCUST")).toDouble());
    EXPECT_EQ(parts.rowCount(), 3 * entries.rowCount());
    EXPECT_EQ(split, lines);

    // And in the database: the splits of each stored line add up to it.
    EXPECT_EQ(value("SELECT COUNT(*) FROM LANCCONTABIL L WHERE L.VRLANCCTB <> (SELECT SUM(R.VRLANCCUST)"
                    " FROM RATEIOLANC R WHERE R.CDEMPRESA = L.CDEMPRESA AND R.NRLANCCTB = L.NRLANCCTB"
                    " AND R.NRSEQCTB = L.NRSEQCTB)")
                  .toInt(),
              0);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcApportion, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
