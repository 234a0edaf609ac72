#include "../db/testdatabase.h"
#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "appserver/modules/sqlitepacket.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QList<FieldDef> numberAndText = {{"N", FieldKind::Float}, {"A", FieldKind::Text}};

struct KeptStatementsTest : testing::Test {
    void SetUp() override {
        execSql(test.db(), "CREATE TABLE T (N INTEGER, A TEXT)");
        for (int n = 1; n <= 3; ++n)
            runSql(test.db(), "INSERT INTO T VALUES (?, ?)", {n, QStringLiteral("linha %1").arg(n)});
    }

    TestDatabase test{DbKind::SQLite};
    SqliteStatements statements{sqliteHandle(test.db())};
};

} // namespace

// A kept statement is reset after each use, even one read only to its first row: it holds no snapshot
// that would keep a checkpoint from finishing or hide what another connection wrote since.
TEST_F(KeptStatementsTest, AStatementKeptBetweenUsesHoldsNoRead) {
    const QString sql = QStringLiteral("SELECT N, A FROM T WHERE N >= ? ORDER BY N");
    const QVariantList first = statements.firstRow(sql, {2});
    ASSERT_EQ(first.size(), 2);
    EXPECT_EQ(first.at(0).toLongLong(), 2);
    EXPECT_EQ(first.at(1).toString(), QStringLiteral("linha 2"));

    QSqlDatabase other = test.openAnother();
    runSql(other, "INSERT INTO T VALUES (4, 'linha 4')");
    QSqlQuery checkpoint = runSql(other, "PRAGMA wal_checkpoint(TRUNCATE)");
    ASSERT_TRUE(checkpoint.next());
    EXPECT_EQ(checkpoint.value(0).toInt(), 0) << "a reader held the log";
    checkpoint.finish();

    const DataPacket rows = statements.packet(sql, {1}, PacketBuilder(numberAndText));
    ASSERT_EQ(rows.rowCount(), 4);
    EXPECT_EQ(rows.value(3, 1).toString(), QStringLiteral("linha 4"));
    EXPECT_EQ(statements.packet(sql, {4}, PacketBuilder(numberAndText)).rowCount(), 1);
    EXPECT_TRUE(statements.firstRow(sql, {5}).isEmpty());
}

// The first row's cells are what Qt's driver would give for them: numbers, texts and nulls.
TEST_F(KeptStatementsTest, FirstRowCellsAreQtsValues) {
    const QString sql = QStringLiteral("SELECT N, N / 2.0, 'ação ☂', NULL, A FROM T WHERE N = ?");
    const QVariantList row = statements.firstRow(sql, {3});
    QSqlQuery query = runSql(test.db(), sql, {3});
    ASSERT_TRUE(query.next());
    ASSERT_EQ(row.size(), 5);
    for (int col = 0; col < row.size(); ++col) {
        EXPECT_EQ(row.at(col).isNull(), query.value(col).isNull()) << col;
        EXPECT_EQ(row.at(col).toString(), query.value(col).toString()) << col;
    }
    EXPECT_THROW(statements.firstRow(QStringLiteral("SELECT X FROM NOWHERE"), {}), DatabaseError);
}
