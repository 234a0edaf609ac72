#include "framework/core/keylist.h"
#include "qtprinters.h"

#include <QHash>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
// Keys as the marked set builds them: branch, instalment, entry and sequence back to back.
QString instalmentKey(int n) {
    return QStringLiteral("%1%2%3%4")
        .arg(1 + n % 20, 4, 10, QLatin1Char('0'))
        .arg(1 + n % 3, 2, 10, QLatin1Char('0'))
        .arg(1000000 + n / 3, 10, 10, QLatin1Char('0'))
        .arg(1 + n % 3, 2, 10, QLatin1Char('0'));
}

void expectSame(const TKeyList &list, const QHash<QString, int> &expected, int universe) {
    ASSERT_EQ(list.Count(), expected.size());
    for (int n = 0; n < universe; ++n) {
        const QString key = instalmentKey(n);
        ASSERT_EQ(list.Contains(key), expected.contains(key)) << n;
        ASSERT_EQ(list.Value(key), expected.value(key)) << n;
    }
    QStringList keys = list.Keys();
    QStringList expectedKeys = expected.keys();
    keys.sort();
    expectedKeys.sort();
    ASSERT_EQ(keys, expectedKeys);
}
} // namespace

TEST(KeyList, KeysStayUnique) {
    TKeyList list;
    list.Add("0001010000012301", 0);
    list.Add("0001010000012301", 7);
    list.Add("0002010000012301", 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Value("0001010000012301"), 7);
    EXPECT_EQ(list.Value("absent"), 0);
    list.Remove("absent");
    EXPECT_EQ(list.Count(), 2);
    list.Remove("0001010000012301");
    EXPECT_FALSE(list.Contains("0001010000012301"));
    EXPECT_TRUE(list.Contains("0002010000012301"));
    EXPECT_EQ(list.Count(), 1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Contains("0002010000012301"));
    list.Remove("0002010000012301");
    list.Add("", 1);
    EXPECT_TRUE(list.Contains(""));
    EXPECT_EQ(list.Keys(), QStringList({""}));
}

// Marking and unmarking in any order, through many growths of the index and removals in the middle
// of probe runs, leaves exactly the keys a plain hash would hold.
TEST(KeyList, AddsAndRemovesInAnyOrderAgreeWithAPlainHash) {
    constexpr int universe = 3000;
    QRandomGenerator random(20261208);
    TKeyList list;
    QHash<QString, int> expected;
    for (int step = 0; step < 40000; ++step) {
        const int n = int(random.bounded(universe));
        const QString key = instalmentKey(n);
        if (random.bounded(3) == 0) {
            list.Remove(key);
            expected.remove(key);
        } else {
            list.Add(key, step);
            expected.insert(key, step);
        }
        if (step % 5000 == 0)
            expectSame(list, expected, universe);
    }
    expectSame(list, expected, universe);
    for (int n = 0; n < universe; n += 2) {
        list.Remove(instalmentKey(n));
        expected.remove(instalmentKey(n));
    }
    expectSame(list, expected, universe);
}
