#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/net/password.h"
#include "testdatabase.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class DatabaseTest : public testing::TestWithParam<DbKind> {
protected:
    void SetUp() override {
        if (!TestDatabase::available(GetParam()))
            GTEST_SKIP() << "PAG_TEST_PG_URL not set";
        test = std::make_unique<TestDatabase>(GetParam());
    }
    QSqlDatabase &db() { return test->db(); }
    int count(const QString &sql, const QVariantList &values = {}) {
        return selectValue(db(), sql, values).toInt();
    }

    // An adjustment numbered `number` of the first instalment in key order.
    static QString adjustmentOfFirstInstalment(int number) {
        return QString("INSERT INTO AJCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQAJUPAG,"
                       " DTAJUSTEPAG, CDAJUCTPAG, VRAJUSTEPAG) SELECT CDFILIAL, NRLANCTONF, NRSEQVENPAG,"
                       " NRPARCELAPAG, %1, 1, '0001', 5 FROM CONTAPAGAR ORDER BY 1, 2, 3, 4 LIMIT 1")
            .arg(number);
    }

    std::unique_ptr<TestDatabase> test;
};

TEST_P(DatabaseTest, MigrationCreatesEveryTableOnceAndIsIdempotent) {
    EXPECT_EQ(schemaVersion(db()), 2);
    const QStringList tables = db().tables();
    for (const char *table :
         {"EMPRESA",       "FILIAL",        "FORNECEDOR",  "TIPOCTPAGAR",    "OPERADOR",     "OPEREMPRESA",
          "GERALPAG",      "PARAMFILIAL",   "NOTAFISCAL",  "CONTAPAGAR",     "TIPOAJPAGAR",  "AJCTPAGAR",
          "PERCONTABIL",   "PLANOCONTAS",   "HISTPADRAO",  "CENTROCUSTO",    "LANCCONTABIL", "RATEIOLANC",
          "RATEIOCTPAGAR", "BLOQDOCUMENTO", "AUDITRECALC", "AUDITRECALCITEM"})
        EXPECT_TRUE(tables.contains(QLatin1String(table), Qt::CaseInsensitive)) << table;

    migrate(db());
    QSqlDatabase other = test->openAnother();
    migrate(other);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SCHEMA_VERSION"), 2);
}

TEST_P(DatabaseTest, SelectionListStatementsRunOnTheSchema) {
    seedDemo(db(), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM (SELECT CDEMPRESA, NMEMPRESA, CDCENTCUST FROM EMPRESA"
                    " WHERE CDEMPRESA = COALESCE(?, CDEMPRESA) ORDER BY CDEMPRESA) E",
                    {QVariant(QMetaType::fromType<QString>())}),
              3);
    EXPECT_GT(
        count("SELECT COUNT(*) FROM (SELECT IDTPIJURFORN, NRINSJURFORN, NMFANTFORN, NMRAZSOCFORN, CDFORNECED"
              " FROM FORNECEDOR ORDER BY CDFORNECED) F"),
        0);
    EXPECT_GT(count("SELECT COUNT(*) FROM (SELECT CDFILIAL, NMFILIAL FROM FILIAL ORDER BY CDFILIAL) F"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM (SELECT CDTPCTPAGAR, DSTPCTPAGAR FROM TIPOCTPAGAR) T"), 0);
}

TEST_P(DatabaseTest, ConstraintsRejectInconsistentRows) {
    seedDemo(db(), 10);
    QSqlQuery query(db());
    // An instalment of a document that does not exist, a second open period, a bad flag.
    EXPECT_FALSE(
        query.exec("INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, CDTPCTPAGAR,"
                   " DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG, VRATUAPAG, VRLIQPAG, CDFILILANC)"
                   " VALUES ('0101', 'X999', '01', '01', 'MAT', 1, 1, 1, 1, 1, '0101')"));
    EXPECT_FALSE(query.exec("INSERT INTO PERCONTABIL (CDEMPRESA, DTINICCTBL, DTFINACCTBL, IDSITUPER)"
                            " VALUES ('01', 1, 2, 'A')"));
    EXPECT_FALSE(query.exec("UPDATE CONTAPAGAR SET IDCTBLCTPAG = 'X'"));
    // Adjustments are numbered from 1, on insert and on change.
    EXPECT_FALSE(query.exec(adjustmentOfFirstInstalment(0)));
    ASSERT_TRUE(query.exec(adjustmentOfFirstInstalment(99)));
    EXPECT_FALSE(query.exec("UPDATE AJCTPAGAR SET NRSEQAJUPAG = 0 WHERE NRSEQAJUPAG = 99"));
}

// A database whose adjustments were stored before the numbering rule keeps them readable after it.
TEST_P(DatabaseTest, AdjustmentsNumberedZeroBeforeTheRuleStayReadable) {
    seedDemo(db(), 10);
    execSql(db(), GetParam() == DbKind::SQLite ? "DROP TRIGGER TR_AJCTPAGAR_NUMERO_INS"
                                               : "ALTER TABLE AJCTPAGAR DROP CONSTRAINT CK_AJCTPAGAR_NUMERO");
    if (GetParam() == DbKind::SQLite)
        execSql(db(), "DROP TRIGGER TR_AJCTPAGAR_NUMERO_UPD");
    execSql(db(), "DELETE FROM SCHEMA_VERSION WHERE NRVERSAO = 2");
    execSql(db(), adjustmentOfFirstInstalment(0));
    migrate(db());
    EXPECT_EQ(schemaVersion(db()), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM AJCTPAGAR WHERE NRSEQAJUPAG = 0"), 1);
    QSqlQuery query(db());
    EXPECT_FALSE(query.exec(adjustmentOfFirstInstalment(0).replace("LIMIT 1", "LIMIT 1 OFFSET 1")));
}

TEST_P(DatabaseTest, AnUnknownOperatorCostsAPasswordCheckAndOldHashesAreUpgraded) {
    seedDemo(db(), 0);
    const quint64 before = passwordDerivations();
    EXPECT_FALSE(checkOperator(db(), "ninguem", "admin"));
    EXPECT_EQ(passwordDerivations() - before, 1u);
    EXPECT_FALSE(checkOperator(db(), "admin", "errada"));
    EXPECT_EQ(passwordDerivations() - before, 2u);

    const auto storedHash = [this] {
        return selectValue(db(), "SELECT DSSENHAHASH FROM OPERADOR WHERE CDOPERADOR = 'admin'").toString();
    };
    const QString earlier = storedHash();
    setPasswordIterations(2000);
    EXPECT_FALSE(checkOperator(db(), "admin", "errada"));
    EXPECT_EQ(storedHash(), earlier) << "only a proven password is rehashed";
    EXPECT_TRUE(checkOperator(db(), "admin", "admin"));
    EXPECT_TRUE(storedHash().startsWith("pbkdf2-sha256$2000$"));
    EXPECT_TRUE(checkOperator(db(), "admin", "admin"));
    setPasswordIterations(1000);
}

TEST_P(DatabaseTest, OperatorPasswordsAndCompanyRights) {
    seedDemo(db(), 0);
    EXPECT_TRUE(checkOperator(db(), "admin", "admin"));
    EXPECT_TRUE(checkOperator(db(), "caixa", "caixa"));
    EXPECT_FALSE(checkOperator(db(), "admin", "Admin"));
    EXPECT_FALSE(checkOperator(db(), "admin", ""));
    EXPECT_FALSE(checkOperator(db(), "ninguem", "admin"));
    EXPECT_FALSE(selectValue(db(), "SELECT DSSENHAHASH FROM OPERADOR WHERE CDOPERADOR = 'admin'")
                     .toString()
                     .contains("admin"));

    EXPECT_TRUE(operatorMayUseCompany(db(), "admin", "03"));
    EXPECT_TRUE(operatorMayUseCompany(db(), "caixa", "01"));
    EXPECT_FALSE(operatorMayUseCompany(db(), "caixa", "02"));
    EXPECT_FALSE(operatorMayUseCompany(db(), "caixa", "99"));

    execSql(db(), "UPDATE OPERADOR SET IDATIVO = 'N' WHERE CDOPERADOR = 'caixa'");
    EXPECT_FALSE(checkOperator(db(), "caixa", "caixa"));
    EXPECT_FALSE(operatorMayUseCompany(db(), "caixa", "01"));

    EXPECT_EQ(companyOfBranch(db(), "0202"), "02");
    EXPECT_EQ(companyOfBranch(db(), "9999"), "");
}

INSTANTIATE_TEST_SUITE_P(Databases, DatabaseTest, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });

TEST(OpenDatabase, RefusesUnknownAndMalformedAddresses) {
    EXPECT_THROW(openDatabase("mysql://x/y", "bad1"), DatabaseError);
    EXPECT_THROW(openDatabase("sqlite:", "bad2"), DatabaseError);
    EXPECT_THROW(openDatabase("postgresql://user@/", "bad3"), DatabaseError);
    EXPECT_THROW(openDatabase("postgresql://user@127.0.0.1:1/nada", "bad4"), DatabaseError);
    EXPECT_FALSE(QSqlDatabase::contains("bad4"));
}

TEST(OpenDatabase, CreatesTheSqliteFileAndItsFolder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("novo/pasta/pag.sqlite");
    {
        QSqlDatabase db = openDatabase("sqlite:" + path, "create");
        migrate(db);
        EXPECT_EQ(selectValue(db, "PRAGMA foreign_keys").toInt(), 1);
        // Write-ahead log synchronised at every commit: a committed transaction survives a power cut.
        EXPECT_EQ(selectValue(db, "PRAGMA journal_mode").toString(), "wal");
        EXPECT_EQ(selectValue(db, "PRAGMA synchronous").toInt(), 2);
    }
    QSqlDatabase::removeDatabase("create");
    EXPECT_TRUE(QFile::exists(path));
}
