#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/core/money.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"

#include <QThread>

// Postings dated outside the open accounting period are never deleted or changed, and cancelled
// instalments are not expenses.
class RecalcPeriod : public RecalcFixture {
protected:
    // The last day of the latest closed period of company 01.
    qint64 closedDay() {
        return value("SELECT MAX(DTFINACCTBL) FROM PERCONTABIL WHERE CDEMPRESA = '01' AND IDSITUPER = 'F'")
            .toLongLong();
    }
    // Moves postings of the instalment into the closed period, as if they were posted while it was open.
    void dateInClosedPeriod(const Key &key, const QString &which) {
        runSql(test->db(), "UPDATE LANCCONTABIL SET DTLANCCTB = ? WHERE NRLANCTONF = ? AND " + which,
               {closedDay(), key.entry});
    }
    // The text of `field` in the entries row of the line an error names.
    static QString atErrorLine(const RecalcResult &result, int error, const QString &field) {
        const QString line = columnTexts(result.errors, "NRSEQCTBTEMP").at(error);
        const qsizetype row = columnTexts(result.entries, "NRSEQCTBTEMP").indexOf(line);
        return row < 0 ? QString() : columnTexts(result.entries, field).at(row);
    }
};

TEST_P(RecalcPeriod, AClosedPeriodPostingSurvivesAndItsInstalmentGetsD02) {
    const Key key = addInstalment("0101", "10", 10000);
    addAdjustment(key, 1, "0001", 500);
    const Key other = addInstalment("0102", "11", 2000);
    ASSERT_EQ(recalc({key}).status, RecConPag::StatusOk);
    // Only the adjustment's posting lies in the closed period: the instalment as a whole is refused.
    dateInClosedPeriod(key, "NRSEQAJUPAG IS NOT NULL");
    const QStringList before = ledgerRows();

    const RecalcResult result = recalc({key, other});
    EXPECT_EQ(result.status, RecConPag::StatusErroContabilizacao);
    ASSERT_EQ(columnTexts(result.errors, "CDERROTEMP"), QStringList({"D02"}));
    EXPECT_EQ(atErrorLine(result, 0, "CDDOCUCONT"), "0101.10.01.01");
    EXPECT_EQ(ledgerRows(), before);
    EXPECT_EQ(value("SELECT COUNT(*) FROM LANCCONTABIL WHERE DTLANCCTB = ?", {closedDay()}).toInt(), 2);

    // The other instalment alone posts.
    EXPECT_EQ(recalc({other}).status, RecConPag::StatusOk);
}

TEST_P(RecalcPeriod, ACancelledInstalmentIsNotPostedAndLosesItsOpenPeriodPostings) {
    const Key cancelled = addInstalment("0101", "20", 10000);
    addAdjustment(cancelled, 1, "0002", 300);
    const Key neverPosted = addInstalment("0101", "21", 4000);
    const Key open = addInstalment("0102", "22", 2500);
    ASSERT_EQ(recalc({cancelled}).status, RecConPag::StatusOk);
    runSql(test->db(), "UPDATE CONTAPAGAR SET IDSTATPAG = 'C' WHERE NRLANCTONF IN ('20', '21')");

    const RecalcResult result = recalc({cancelled, neverPosted, open});
    ASSERT_EQ(result.status, RecConPag::StatusOk);
    EXPECT_EQ(columnTexts(result.entries, "CDDOCUCONT"), QStringList({"0102.22.01.01", "0102.22.01.01"}));
    EXPECT_EQ(value("SELECT COUNT(*) FROM LANCCONTABIL WHERE NRLANCTONF <> '22'").toInt(), 0);
    EXPECT_EQ(value("SELECT COUNT(*) FROM RATEIOLANC").toInt(), 2);
    EXPECT_EQ(value("SELECT IDCTBLCTPAG FROM CONTAPAGAR WHERE NRLANCTONF = '20'").toString(), "N");
    EXPECT_TRUE(value("SELECT NRLANCTBDOC FROM CONTAPAGAR WHERE NRLANCTONF = '20'").isNull());
    EXPECT_TRUE(value("SELECT NRLCTBAJPAG FROM AJCTPAGAR WHERE NRLANCTONF = '20'").isNull());
    // The audit keeps what the cancelled instalment had posted and that nothing replaced it.
    const QString item = "SELECT %1 FROM AUDITRECALCITEM WHERE NRLANCTONF = '20' AND NRAUDITRECALC ="
                         " (SELECT MAX(NRAUDITRECALC) FROM AUDITRECALC)";
    EXPECT_EQ(value(item.arg("VRTOTANTES")).toLongLong(), 10300);
    EXPECT_EQ(value(item.arg("VRTOTDEPOIS")).toLongLong(), 0);
    EXPECT_TRUE(value(item.arg("NRLANCDEPOIS")).isNull());
}

TEST_P(RecalcPeriod, ACancelledInstalmentPostedInAClosedPeriodIsRefusedShowingThatPosting) {
    const Key key = addInstalment("0101", "30", 7700);
    ASSERT_EQ(recalc({key}).status, RecConPag::StatusOk);
    dateInClosedPeriod(key, "1 = 1");
    runSql(test->db(), "UPDATE CONTAPAGAR SET IDSTATPAG = 'C'");
    const QStringList before = ledgerRows();

    const RecalcResult result = recalc({key});
    EXPECT_EQ(result.status, RecConPag::StatusErroContabilizacao);
    ASSERT_EQ(columnTexts(result.errors, "CDERROTEMP"), QStringList({"D02"}));
    EXPECT_EQ(columnTexts(result.entries, "NRLANCCTBTEMP"), QStringList(2, "000000000001"));
    EXPECT_EQ(toCents(atErrorLine(result, 0, "VRLANCCTBTEMP").toDouble()), 7700);
    EXPECT_EQ(ledgerRows(), before);
}

// The closing commits while the run waits for the period: the run must not post into it.
TEST_P(RecalcPeriod, APeriodClosedByAnotherConnectionDuringARunIsRespected) {
    const Key key = addInstalment("0101", "40", 1000);
    QSqlDatabase closing = test->openAnother();
    closing.transaction();
    execSql(closing, "UPDATE PERCONTABIL SET IDSITUPER = 'F' WHERE CDEMPRESA = '01' AND IDSITUPER = 'A'");
    QString status;
    const QString url = test->url();
    std::unique_ptr<QThread> run(QThread::create([&] {
        {
            QSqlDatabase db = openDatabase(url, "duringclose");
            status = recalculate(db, packet({key}), "admin", "01").status;
        }
        QSqlDatabase::removeDatabase("duringclose");
    }));
    run->start();
    QThread::msleep(300);
    closing.commit();
    run->wait();
    EXPECT_EQ(status, "A empresa 01 não tem período contábil aberto; o recálculo não pode ser feito.");
    EXPECT_EQ(count("LANCCONTABIL"), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcPeriod, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
