#include "../db/testdatabase.h"
#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "appserver/modules/packetbuilder.h"
#include "appserver/modules/selectpacket.h"

#include <gtest/gtest.h>

namespace {

const QList<FieldDef> fields = {
    {"A", FieldKind::Text}, {"B", FieldKind::DateTime}, {"C", FieldKind::Float}, {"D", FieldKind::Float}};

class SelectPacketTest : public testing::TestWithParam<DbKind> {
protected:
    void SetUp() override {
        if (!TestDatabase::available(GetParam()))
            GTEST_SKIP() << "PAG_TEST_PG_URL not set";
        test = std::make_unique<TestDatabase>(GetParam());
    }

    // The packet read below Qt's values beside the one built from Qt's values: every cell the same.
    void expectSameAsQtValues(const QString &sql, const QVariantList &values = {}) {
        QSqlQuery query = runSql(test->db(), sql, values);
        const DataPacket fromQt = packetFromQuery(query, fields, {"C"});
        query.finish();
        const DataPacket read = selectPacket(test->db(), sql, values, fields, {"C"});
        ASSERT_EQ(read.rowCount(), fromQt.rowCount());
        for (int row = 0; row < read.rowCount(); ++row)
            for (int col = 0; col < fields.size(); ++col) {
                EXPECT_EQ(read.isNullAt(row, col), fromQt.isNullAt(row, col)) << row << "," << col;
                EXPECT_EQ(read.value(row, col), fromQt.value(row, col)) << row << "," << col;
            }
    }

    std::unique_ptr<TestDatabase> test;
};

} // namespace

// SQLite keeps any kind of value in any column: texts, whole and fractional numbers and nulls cross
// every field kind; PostgreSQL's typed columns give each kind its usual source.
TEST_P(SelectPacketTest, CellsConvertAsQtValuesDo) {
    QSqlDatabase &db = test->db();
    if (GetParam() == DbKind::PostgreSQL) {
        execSql(db, "CREATE TABLE T (N INTEGER, A TEXT, B INTEGER, C BIGINT, D DOUBLE PRECISION)");
    } else {
        execSql(db, "CREATE TABLE T (N, A, B, C, D)");
        runSql(db, "INSERT INTO T VALUES (10, 5, 45000.6, 1234.5, '1.5')");
        runSql(db, "INSERT INTO T VALUES (11, 2.5, '45001', '12', 'não')");
        runSql(db, "INSERT INTO T VALUES (12, 0.1, 44999.4, -0.5, 7)");
    }
    const QString insert = "INSERT INTO T VALUES (?, ?, ?, ?, ?)";
    runSql(db, insert, {1, "ação ☂", 45000, 12345, 2.25});
    runSql(db, insert, {2, "", 0, -1, -0.0});
    runSql(db, insert, {3, QVariant(), QVariant(), QVariant(), QVariant()});
    expectSameAsQtValues("SELECT A, B, C, D FROM T ORDER BY N");
    expectSameAsQtValues("SELECT A, B, C, D FROM T WHERE A = ? OR N > ? ORDER BY N", {"ação ☂", 10});
}

TEST_P(SelectPacketTest, ReadsStatementResultsWhole) {
    QSqlDatabase &db = test->db();
    execSql(db, "CREATE TABLE T (N INTEGER, A TEXT)");
    for (int i = 0; i < 300; ++i)
        runSql(db, "INSERT INTO T VALUES (?, ?)", {i, QString(i % 7, u'x')});
    const DataPacket read = selectPacket(db, "SELECT A, N, N * 100, N / 2.0 FROM T WHERE N >= ? ORDER BY N",
                                         {100}, fields, {"C"});
    ASSERT_EQ(read.rowCount(), 200);
    EXPECT_EQ(read.value(199, 0).toString(), QString(299 % 7, u'x'));
    EXPECT_EQ(read.value(199, 1).toDouble(), 299.0);
    EXPECT_EQ(read.value(199, 2).toDouble(), 299.0);
    EXPECT_EQ(read.value(199, 3).toDouble(), 149.5);
    EXPECT_THROW(selectPacket(db, "SELECT A FROM T", {}, fields), DatabaseError);
    EXPECT_THROW(selectPacket(db, "SELECT A, N, N, N FROM NOWHERE", {}, fields), DatabaseError);
}

INSTANTIATE_TEST_SUITE_P(Databases, SelectPacketTest, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
