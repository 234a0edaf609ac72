#include "appserver/db/sqlutil.h"
#include "framework/core/money.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"

// A successful run: the postings of an instalment with a discount and an addition, their packets and
// what the database keeps of them.
class RecalcRun : public RecalcFixture {};

TEST_P(RecalcRun, PostsInstalmentAndAdjustmentsBalancedAndKeepsThem) {
    const Key key = addInstalment("0101", "10", 123456);
    addAdjustment(key, 1, "0001", 1000); // discount
    addAdjustment(key, 2, "0002", 250);  // addition
    const RecalcResult result = recalc({key});

    ASSERT_EQ(result.status, RecConPag::StatusOk);
    EXPECT_EQ(result.entries.fields(), RecConPag::lancContTempFields());
    EXPECT_EQ(result.apportionment.fields(), RecConPag::rateioFields());
    EXPECT_EQ(result.errors.fields(), RecConPag::errosTempFields());
    EXPECT_EQ(result.errors.rowCount(), 0);

    EXPECT_EQ(columnTexts(result.entries, "CDCONTCTBL"),
              QStringList({"3.1.1.01", "2.1.1.01", "2.1.1.01", "4.1.1.01", "3.2.1.01", "2.1.1.01"}));
    EXPECT_EQ(columnTexts(result.entries, "IDLANCCTBCOME"), QStringList({"P", "P", "A", "A", "A", "A"}));
    EXPECT_EQ(columnTexts(result.entries, "NRSEQCTBTEMP"), QStringList({"1", "2", "3", "4", "5", "6"}));
    QList<qint64> values;
    const int valueColumn = result.entries.fieldIndex(u"VRLANCCTBTEMP");
    for (int row = 0; row < result.entries.rowCount(); ++row)
        values << toCents(result.entries.value(row, valueColumn).toDouble());
    EXPECT_EQ(values, QList<qint64>({123456, -123456, 1000, -1000, 250, -250}));

    const QString supplier =
        value("SELECT NMRAZSOCFORN FROM FORNECEDOR WHERE CDFORNECED = '000001'").toString();
    EXPECT_EQ(columnTexts(result.entries, "DSHISTCTB").first(), "Vr. ref. NF NF10/U de " + supplier);
    EXPECT_EQ(columnTexts(result.entries, "CDCONTREDU").first(), "3101");
    EXPECT_EQ(columnTexts(result.entries, "NMEMPRESA").first(), "Comercial Ipê Ltda");
    EXPECT_EQ(columnTexts(result.entries, "CDDOCUCONT").at(2), "0101.10.01.01-A1");

    // Without rules, each line goes whole to the posting branch and the company's default cost centre.
    EXPECT_EQ(result.apportionment.rowCount(), 6);
    EXPECT_EQ(columnTexts(result.apportionment, "CDCENTCUST"), QStringList(6, "0001"));
    EXPECT_EQ(columnTexts(result.apportionment, "NMFILIAL").first(), "Matriz São Paulo");

    EXPECT_EQ(count("LANCCONTABIL"), 6);
    EXPECT_EQ(count("RATEIOLANC"), 6);
    EXPECT_EQ(value("SELECT SUM(VRLANCCTB) FROM LANCCONTABIL WHERE IDDEBCRED = 'D'").toLongLong(),
              value("SELECT SUM(VRLANCCTB) FROM LANCCONTABIL WHERE IDDEBCRED = 'C'").toLongLong());
    EXPECT_EQ(value("SELECT IDCTBLCTPAG FROM CONTAPAGAR").toString(), "S");
    const QString number = value("SELECT NRLANCTBDOC FROM CONTAPAGAR").toString();
    EXPECT_EQ(number, "000000000001");
    EXPECT_EQ(columnTexts(result.entries, "NRLANCCTBTEMP").first(), number);
    EXPECT_EQ(value("SELECT NRLCTBAJPAG FROM AJCTPAGAR WHERE NRSEQAJUPAG = 2").toString(), "000000000003");
    EXPECT_EQ(value("SELECT NRULTLANCCTB FROM NUMLANCCTB WHERE CDEMPRESA = '01'").toLongLong(), 3);
}

TEST_P(RecalcRun, RepeatingARunGivesTheSamePostings) {
    const Key first = addInstalment("0101", "20", 5000);
    const Key second = addInstalment("0102", "21", 7001);
    addAdjustment(second, 1, "0004", 1);
    addRule(second, 1, "0102", "0002", 5000);
    addRule(second, 2, "0103", "0003", 5000);
    ASSERT_EQ(recalc({first, second}).status, RecConPag::StatusOk);
    const QStringList once = ledgerRows();
    ASSERT_EQ(recalc({second, first, second}).status, RecConPag::StatusOk);
    EXPECT_EQ(ledgerRows(), once);
    EXPECT_EQ(count("AUDITRECALC"), 2);
}

TEST_P(RecalcRun, ReplacesEarlierPostingsAndAuditsTotals) {
    const Key key = addInstalment("0101", "30", 10000);
    ASSERT_EQ(recalc({key}).status, RecConPag::StatusOk);
    // The instalment's value changed after it was posted; an adjustment was added.
    runSql(test->db(), "UPDATE CONTAPAGAR SET VRATUAPAG = 12000");
    addAdjustment(key, 1, "0003", 300);
    ASSERT_EQ(recalc({key}).status, RecConPag::StatusOk);

    EXPECT_EQ(count("LANCCONTABIL"), 4);
    EXPECT_EQ(value("SELECT SUM(VRLANCCTB) FROM LANCCONTABIL WHERE IDDEBCRED = 'D'").toLongLong(), 12300);
    EXPECT_EQ(value("SELECT NRLANCTBDOC FROM CONTAPAGAR").toString(), "000000000001");
    EXPECT_EQ(value("SELECT VRTOTANTES FROM AUDITRECALC WHERE NRAUDITRECALC = (SELECT MAX(NRAUDITRECALC)"
                    " FROM AUDITRECALC)")
                  .toLongLong(),
              10000);
    EXPECT_EQ(value("SELECT VRTOTDEPOIS FROM AUDITRECALCITEM WHERE NRAUDITRECALC = (SELECT MAX(NRAUDITRECALC)"
                    " FROM AUDITRECALC)")
                  .toLongLong(),
              12300);
    EXPECT_EQ(value("SELECT CDOPERADOR FROM AUDITRECALC WHERE QTCONTAS = 1 GROUP BY CDOPERADOR").toString(),
              "admin");
}

// A repeated run, by another operator, writes its postings over the stored ones: what no longer applies
// (an adjustment taken away, splits of rules that shrank) goes, what grew comes in, and the numbers stay.
TEST_P(RecalcRun, ARepeatedRunLeavesExactlyTheNewPostings) {
    const Key shrinking = addInstalment("0101", "50", 9000);
    addAdjustment(shrinking, 1, "0001", 100);
    addAdjustment(shrinking, 2, "0002", 200);
    addRule(shrinking, 1, "0101", "0001", 3334);
    addRule(shrinking, 2, "0102", "0002", 3333);
    addRule(shrinking, 3, "0103", "0003", 3333);
    const Key growing = addInstalment("0102", "51", 5000);
    ASSERT_EQ(recalc({shrinking, growing}).status, RecConPag::StatusOk);
    EXPECT_EQ(count("RATEIOLANC"), 3 * 6 + 2);

    runSql(test->db(), "DELETE FROM AJCTPAGAR WHERE NRLANCTONF = '50' AND NRSEQAJUPAG = 2");
    runSql(test->db(), "DELETE FROM RATEIOCTPAGAR WHERE NRSEQRAT > 1");
    runSql(test->db(), "UPDATE RATEIOCTPAGAR SET QTPERCRAT = 10000");
    addRule(growing, 1, "0101", "0001", 5000);
    addRule(growing, 2, "0103", "0002", 5000);
    addAdjustment(growing, 1, "0003", 70);
    runSql(test->db(), "UPDATE LANCCONTABIL SET DTHRGRAVACAO = 0");
    ASSERT_EQ(recalc({shrinking, growing}, "caixa").status, RecConPag::StatusOk);

    // 50: own posting and adjustment 1, one split a line; 51: own posting and its new adjustment, two
    // splits a line.
    EXPECT_EQ(value("SELECT COUNT(*) FROM LANCCONTABIL WHERE NRLANCTONF = '50'").toInt(), 4);
    EXPECT_EQ(value("SELECT COUNT(*) FROM LANCCONTABIL WHERE NRSEQAJUPAG = 2").toInt(), 0);
    EXPECT_EQ(count("RATEIOLANC"), 4 + 4 * 2);
    EXPECT_EQ(value("SELECT COUNT(*) FROM RATEIOLANC R JOIN LANCCONTABIL L ON L.CDEMPRESA = R.CDEMPRESA"
                    " AND L.NRLANCCTB = R.NRLANCCTB AND L.NRSEQCTB = R.NRSEQCTB WHERE L.NRLANCTONF = '50'"
                    " AND R.NRSEQRAT = 1 AND R.VRLANCCUST = L.VRLANCCTB")
                  .toInt(),
              4);
    EXPECT_EQ(value("SELECT SUM(VRLANCCTB) FROM LANCCONTABIL WHERE IDDEBCRED = 'D'").toLongLong(),
              9000 + 100 + 5000 + 70);
    EXPECT_EQ(value("SELECT NRLANCTBDOC FROM CONTAPAGAR WHERE NRLANCTONF = '50'").toString(), "000000000001");
    EXPECT_EQ(value("SELECT NRLCTBAJPAG FROM AJCTPAGAR WHERE NRLANCTONF = '50'").toString(), "000000000002");
    EXPECT_EQ(value("SELECT NRLCTBAJPAG FROM AJCTPAGAR WHERE NRLANCTONF = '51'").toString(), "000000000005");
    EXPECT_EQ(value("SELECT NRULTLANCCTB FROM NUMLANCCTB WHERE CDEMPRESA = '01'").toLongLong(), 5);
    // Every line, rewritten or new, was written by this run and its operator.
    EXPECT_EQ(
        value("SELECT COUNT(*) FROM LANCCONTABIL WHERE CDOPERADOR <> 'caixa' OR DTHRGRAVACAO = 0").toInt(),
        0);
}

TEST_P(RecalcRun, TakesANewNumberWhenTheOldOneBelongsToAnotherPosting) {
    const Key posted = addInstalment("0101", "40", 1000);
    ASSERT_EQ(recalc({posted}).status, RecConPag::StatusOk);
    // An instalment whose recorded number is that of another instalment's posting.
    const Key other = addInstalment("0101", "41", 2000);
    runSql(test->db(), "UPDATE CONTAPAGAR SET NRLANCTBDOC = '000000000001' WHERE NRLANCTONF = '41'");
    ASSERT_EQ(recalc({other}).status, RecConPag::StatusOk);
    EXPECT_EQ(value("SELECT NRLANCTBDOC FROM CONTAPAGAR WHERE NRLANCTONF = '41'").toString(), "000000000002");
    EXPECT_EQ(value("SELECT COUNT(*) FROM LANCCONTABIL WHERE NRLANCCTB = '000000000001'").toInt(), 2);
}

// Keys and texts reach the database bound as arrays and JSON: quotes, backslashes, braces, commas and
// accents arrive as they were, and the run repeats over them.
TEST_P(RecalcRun, KeysAndTextsWithQuotesBackslashesAndBracesArriveIntact) {
    const QString name = QStringLiteral(R"(Ação "Um", {Dois} \ O'Brien)");
    execSql(test->db(),
            QStringLiteral("UPDATE FORNECEDOR SET NMRAZSOCFORN = '%1' WHERE CDFORNECED = '000001'")
                .arg(QString(name).replace(u'\'', QStringLiteral("''"))));
    const Key key = addInstalment("0101", QStringLiteral(R"(7"{,}\)"), 1000);
    const RecalcResult result = recalc({key});

    ASSERT_EQ(result.status, RecConPag::StatusOk);
    const QString history = columnTexts(result.entries, "DSHISTCTB").first();
    EXPECT_TRUE(history.endsWith(name)) << history.toStdString();
    EXPECT_EQ(value("SELECT DSHISTCTB FROM LANCCONTABIL WHERE IDDEBCRED = 'D'").toString(), history);
    EXPECT_EQ(value("SELECT NRLANCTONF FROM LANCCONTABIL WHERE IDDEBCRED = 'D'").toString(), key.entry);
    EXPECT_EQ(value("SELECT IDCTBLCTPAG FROM CONTAPAGAR").toString(), "S");
    const QStringList once = ledgerRows();
    ASSERT_EQ(recalc({key}).status, RecConPag::StatusOk);
    EXPECT_EQ(ledgerRows(), once);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcRun, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
