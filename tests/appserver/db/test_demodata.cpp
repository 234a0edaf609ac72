#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "appserver/db/taxid.h"
#include "testdatabase.h"

#include <QCryptographicHash>
#include <QSqlRecord>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

const QDate today(2026, 3, 15);
const qint64 todayDays = today.toJulianDay() - QDate(1899, 12, 30).toJulianDay();

QByteArray digest(QSqlDatabase &db, const QString &sql) {
    QSqlQuery query = runSql(db, sql);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    while (query.next())
        for (int i = 0; i < query.record().count(); ++i)
            hash.addData(query.value(i).toString().toUtf8() + '|');
    return hash.result();
}

} // namespace

class DemoDataTest : public testing::TestWithParam<DbKind> {
protected:
    void SetUp() override {
        if (!TestDatabase::available(GetParam()))
            GTEST_SKIP() << "PAG_TEST_PG_URL not set";
        test = std::make_unique<TestDatabase>(GetParam());
        seedDemo(test->db(), 2000, today);
    }
    int count(const QString &sql) { return selectValue(test->db(), sql).toInt(); }

    std::unique_ptr<TestDatabase> test;
};

TEST_P(DemoDataTest, HoldsWhatTheScreensAndTheEngineNeed) {
    EXPECT_EQ(count("SELECT COUNT(*) FROM CONTAPAGAR"), 2000);
    EXPECT_EQ(count("SELECT COUNT(*) FROM EMPRESA"), 3);
    EXPECT_GE(count("SELECT COUNT(*) FROM FORNECEDOR"), 200);
    for (const char *company : {"01", "02", "03"})
        EXPECT_GT(
            count(QStringLiteral("SELECT COUNT(*) FROM CONTAPAGAR C JOIN FILIAL F ON F.CDFILIAL = C.CDFILIAL"
                                 " WHERE F.CDEMPRESA = '%1'")
                      .arg(company)),
            0);
    const QString due = QStringLiteral("SELECT COUNT(*) FROM CONTAPAGAR WHERE DTATUAVENPAG %1 %2");
    EXPECT_GT(count(due.arg("<").arg(todayDays)), 0);
    EXPECT_GT(count(due.arg(">=").arg(todayDays)), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM CONTAPAGAR WHERE IDCTBLCTPAG = 'S'"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM CONTAPAGAR WHERE IDCTBLCTPAG = 'N'"), 0);
    EXPECT_GT(
        count("SELECT COUNT(*) FROM CONTAPAGAR C JOIN NOTAFISCAL N ON N.CDFILIAL = C.CDFILIAL AND"
              " N.NRLANCTONF = C.NRLANCTONF JOIN FILIAL F ON F.CDFILIAL = C.CDFILIAL JOIN PERCONTABIL P ON"
              " P.CDEMPRESA = F.CDEMPRESA AND P.IDSITUPER = 'A' WHERE N.DTENTRSAID < P.DTINICCTBL"),
        0);
    EXPECT_GT(count("SELECT COUNT(*) FROM AJCTPAGAR"), 0);
    EXPECT_GT(count("SELECT COUNT(*) FROM RATEIOCTPAGAR"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM BLOQDOCUMENTO WHERE CDOPERADOR = 'fiscal'"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM PERCONTABIL WHERE IDSITUPER = 'A'"), 3);
}

TEST_P(DemoDataTest, AmountsAgreeAcrossTables) {
    // Net value = current value + additions - discounts.
    EXPECT_EQ(
        count("SELECT COUNT(*) FROM CONTAPAGAR C WHERE C.VRLIQPAG <> C.VRATUAPAG + COALESCE((SELECT"
              " SUM(CASE T.IDAJUCTPAG WHEN 'A' THEN A.VRAJUSTEPAG ELSE -A.VRAJUSTEPAG END) FROM AJCTPAGAR A"
              " JOIN TIPOAJPAGAR T ON T.CDAJUCTPAG = A.CDAJUCTPAG WHERE A.CDFILIAL = C.CDFILIAL AND"
              " A.NRLANCTONF = C.NRLANCTONF AND A.NRSEQVENPAG = C.NRSEQVENPAG AND"
              " A.NRPARCELAPAG = C.NRPARCELAPAG), 0)"),
        0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM NOTAFISCAL N WHERE N.VRNOTAFISC <> (SELECT SUM(C.VRORIGPAG) FROM"
                    " CONTAPAGAR C WHERE C.CDFILIAL = N.CDFILIAL AND C.NRLANCTONF = N.NRLANCTONF)"),
              0);
    // Every posting balances, and its apportionment adds up to it.
    EXPECT_EQ(
        count("SELECT COUNT(*) FROM (SELECT CDEMPRESA, NRLANCCTB FROM LANCCONTABIL GROUP BY CDEMPRESA,"
              " NRLANCCTB HAVING SUM(CASE IDDEBCRED WHEN 'D' THEN VRLANCCTB ELSE -VRLANCCTB END) <> 0) X"),
        0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM LANCCONTABIL L WHERE L.VRLANCCTB <> (SELECT SUM(R.VRLANCCUST) FROM"
                    " RATEIOLANC R WHERE R.CDEMPRESA = L.CDEMPRESA AND R.NRLANCCTB = L.NRLANCCTB AND"
                    " R.NRSEQCTB = L.NRSEQCTB)"),
              0);
    EXPECT_EQ(
        count("SELECT COUNT(*) FROM (SELECT 1 FROM RATEIOCTPAGAR GROUP BY CDFILIAL, NRLANCTONF, NRSEQVENPAG,"
              " NRPARCELAPAG HAVING SUM(QTPERCRAT) <> 10000) X"),
        0);
}

TEST_P(DemoDataTest, SuppliersCarryValidRegistrationNumbers) {
    QSqlQuery query = runSql(test->db(), "SELECT IDTPIJURFORN, NRINSJURFORN FROM FORNECEDOR");
    int persons = 0, companies = 0;
    while (query.next()) {
        const QString number = query.value(1).toString();
        if (query.value(0).toString() == "F") {
            ++persons;
            EXPECT_TRUE(isValidCpf(number)) << number.toStdString();
        } else {
            ++companies;
            EXPECT_TRUE(isValidCnpj(number)) << number.toStdString();
        }
    }
    EXPECT_GT(persons, 0);
    EXPECT_GT(companies, 0);
}

TEST_P(DemoDataTest, IsDeterministicAndOnlyFillsAnEmptyDatabase) {
    const QString instalments =
        "SELECT * FROM CONTAPAGAR ORDER BY CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG";
    const QByteArray first = digest(test->db(), instalments);
    seedDemo(test->db(), 500, today);
    EXPECT_EQ(count("SELECT COUNT(*) FROM CONTAPAGAR"), 2000);

    TestDatabase again(GetParam());
    seedDemo(again.db(), 2000, today);
    EXPECT_EQ(digest(again.db(), instalments), first);
}

TEST_P(DemoDataTest, ServersStartingTogetherSeedOnce) {
    TestDatabase empty(GetParam());
    std::atomic<int> failures = 0;
    auto seedFromAnotherServer = [&](const QString &name) {
        {
            QSqlDatabase db = openDatabase(empty.url(), name);
            try {
                seedDemo(db, 300, today);
            } catch (const DatabaseError &) {
                ++failures;
            }
        }
        QSqlDatabase::removeDatabase(name);
    };
    std::thread first(seedFromAnotherServer, QStringLiteral("seed-a"));
    std::thread second(seedFromAnotherServer, QStringLiteral("seed-b"));
    first.join();
    second.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(selectValue(empty.db(), "SELECT COUNT(*) FROM CONTAPAGAR").toInt(), 300);
}

INSTANTIATE_TEST_SUITE_P(Databases, DemoDataTest, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });

TEST(TaxId, CheckDigitsOfCpfAndCnpj) {
    EXPECT_EQ(completeCpf("529982247"), "52998224725");
    EXPECT_EQ(completeCnpj("112223330001"), "11222333000181");
    EXPECT_TRUE(isValidCpf("52998224725"));
    EXPECT_TRUE(isValidCnpj("11222333000181"));
    EXPECT_FALSE(isValidCpf("52998224726"));
    EXPECT_FALSE(isValidCnpj("11222333000180"));
    EXPECT_FALSE(isValidCpf("11111111111"));
    EXPECT_FALSE(isValidCpf("5299822472"));
    EXPECT_FALSE(isValidCnpj("1122233300018a"));
}
