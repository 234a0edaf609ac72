#include "appserver/db/sqlutil.h"
#include "appserver/server/module.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"

#include <QDateTime>

// Runs that must not write: accounting errors, held documents, conditions the user must read, and
// requests the server refuses.
class RecalcStatus : public RecalcFixture {
protected:
    // Runs, expects `status` and that nothing was written.
    RecalcResult expectRefused(const QList<Key> &keys, const QString &status) {
        const QStringList before = ledgerRows();
        const int audits = count("AUDITRECALC");
        const RecalcResult result = recalc(keys);
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(ledgerRows(), before);
        EXPECT_EQ(count("AUDITRECALC"), audits);
        EXPECT_EQ(result.entries.fields(), RecConPag::lancContTempFields());
        EXPECT_EQ(result.apportionment.fields(), RecConPag::rateioFields());
        EXPECT_EQ(result.errors.fields(), RecConPag::errosTempFields());
        return result;
    }
    static QStringList errorCodes(const RecalcResult &result) {
        return columnTexts(result.errors, "CDERROTEMP");
    }
};

TEST_P(RecalcStatus, InstalmentErrorsAnswerWithWouldBeEntriesAndNothingIsWritten) {
    const Key good = addInstalment("0101", "10", 1000);
    const Key noAccount = addInstalment("0101", "11", 2000, "DIVER");
    const RecalcResult result = expectRefused({good, noAccount}, RecConPag::StatusErroContabilizacao);
    EXPECT_EQ(errorCodes(result), QStringList({"C01"}));
    // The error names the debit line of the failing instalment, which the entries packet carries.
    const QString line = columnTexts(result.errors, "NRSEQCTBTEMP").first();
    const int row = int(columnTexts(result.entries, "NRSEQCTBTEMP").indexOf(line));
    ASSERT_GE(row, 0);
    EXPECT_EQ(columnTexts(result.entries, "CDDOCUCONT").at(row), "0101.11.01.01");
    EXPECT_EQ(result.entries.rowCount(), 4);
    EXPECT_EQ(result.apportionment.rowCount(), 4);
}

TEST_P(RecalcStatus, ErrorsOnlyOnAdjustmentsAnswerAjustContab) {
    runSql(test->db(), "INSERT INTO TIPOAJPAGAR (CDAJUCTPAG, DSAJUCTPAG, IDAJUCTPAG, CDHISTPADR)"
                       " VALUES ('0009', 'Sem conta', 'A', '0003')");
    const Key key = addInstalment("0101", "12", 1000);
    addAdjustment(key, 1, "0009", 100);
    addAdjustment(key, 2, "0001", 0);
    const RecalcResult result = expectRefused({key}, RecConPag::StatusAjustContab);
    EXPECT_EQ(errorCodes(result), QStringList({"C03", "V01"}));
}

TEST_P(RecalcStatus, EachRuleOfThePostingHasItsCode) {
    runSql(test->db(),
           "INSERT INTO TIPOCTPAGAR (CDTPCTPAGAR, DSTPCTPAGAR, CDCONTDESP) VALUES ('SEMH', 'x', '3.1.1.01')");
    runSql(test->db(), "INSERT INTO TIPOCTPAGAR (CDTPCTPAGAR, DSTPCTPAGAR, CDCONTDESP, CDHISTPADR)"
                       " VALUES ('SINT', 'y', '2', '0001')");
    struct Case {
        Key key;
        QStringList codes;
    };
    const Key noHistory = addInstalment("0101", "20", 1000, "SEMH");
    const Key synthetic = addInstalment("0101", "21", 1000, "SINT");
    const Key early = addInstalment("0101", "22", 1000, "MAT", today() - 400);
    const Key zero = addInstalment("0101", "23", 0);
    const Key badRules = addInstalment("0101", "24", 1000);
    addRule(badRules, 1, "0101", "0001", 5000);
    addRule(badRules, 2, "0102", "0002", 4999);
    const Key foreignRule = addInstalment("0101", "25", 1000);
    addRule(foreignRule, 1, "0201", "0001", 10000);
    const Key foreignBranch = addInstalment("0101", "27", 1000);
    runSql(test->db(), "UPDATE CONTAPAGAR SET CDFILILANC = '0201' WHERE NRLANCTONF = '27'");
    const QList<Case> cases = {{noHistory, {"H01"}},    {synthetic, {"C05"}}, {early, {"D01"}},
                               {zero, {"V01"}},         {badRules, {"R01"}},  {foreignRule, {"R02"}},
                               {foreignBranch, {"R04"}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key.entry.toStdString());
        EXPECT_EQ(errorCodes(expectRefused({c.key}, RecConPag::StatusErroContabilizacao)), c.codes);
    }
    runSql(test->db(), "UPDATE EMPRESA SET CDCENTCUST = NULL WHERE CDEMPRESA = '01'");
    EXPECT_EQ(
        errorCodes(expectRefused({addInstalment("0101", "26", 1000)}, RecConPag::StatusErroContabilizacao)),
        QStringList({"R03"}));
}

TEST_P(RecalcStatus, DocumentHeldByAnotherOperatorStopsTheRun) {
    const Key free = addInstalment("0101", "30", 1000);
    const Key held = addInstalment("0102", "31", 1000);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    addHold(held, "fiscal", now - 60, now + 3600);
    const RecalcResult result = expectRefused({free, held}, RecConPag::StatusAltBloq);
    EXPECT_EQ(result.entries.rowCount(), 0);

    // An expired hold and the operator's own hold do not stop it.
    runSql(test->db(), "UPDATE BLOQDOCUMENTO SET DTHRFINABLOQ = ?", {now - 1});
    EXPECT_EQ(recalc({free, held}).status, RecConPag::StatusOk);
    runSql(test->db(), "UPDATE BLOQDOCUMENTO SET CDOPERADOR = 'admin', DTHRFINABLOQ = ?", {now + 3600});
    EXPECT_EQ(recalc({free, held}).status, RecConPag::StatusOk);
    // Operator codes compare exactly: "ADMIN" is another operator.
    runSql(test->db(),
           "INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR, DSSENHAHASH) VALUES ('ADMIN', 'Outro', 'x')");
    runSql(test->db(), "UPDATE BLOQDOCUMENTO SET CDOPERADOR = 'ADMIN'");
    expectRefused({free, held}, RecConPag::StatusAltBloq);
}

TEST_P(RecalcStatus, ConditionsForTheUserAreTextsInPortuguese) {
    const Key key = addInstalment("0101", "40", 1000);
    expectRefused({}, "Nenhuma conta a pagar está marcada para o recálculo.");
    runSql(test->db(), "UPDATE PERCONTABIL SET IDSITUPER = 'F' WHERE CDEMPRESA = '01'");
    expectRefused({key}, "A empresa 01 não tem período contábil aberto; o recálculo não pode ser feito.");
}

// The limit is counted before the run waits for any lock: another writer holding the database or the
// instalment does not delay the answer.
TEST_P(RecalcStatus, TooManyLinesAreRefusedBeforeTheRunWaitsForLocks) {
    const Key key = addInstalment("0101", "45", 1000);
    runSql(test->db(),
           "WITH RECURSIVE N (I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 50000)"
           " INSERT INTO AJCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQAJUPAG,"
           " DTAJUSTEPAG, CDAJUCTPAG, VRAJUSTEPAG) SELECT '0101', '45', '01', '01', I, ?, '0001', 1 FROM N",
           {today()});
    QSqlDatabase other = test->openAnother();
    if (GetParam() == DbKind::SQLite) {
        execSql(other, "BEGIN IMMEDIATE");
    } else {
        other.transaction();
        execSql(other, "SELECT * FROM CONTAPAGAR FOR UPDATE");
    }
    EXPECT_EQ(
        recalculate(test->db(), packet({key}), "admin", "01", std::chrono::milliseconds(1)).status,
        "O recálculo está limitado a 99.999 lançamentos por vez; marque menos contas a pagar e confirme "
        "novamente.");
    other.rollback();
    EXPECT_EQ(count("LANCCONTABIL"), 0);
}

TEST_P(RecalcStatus, RefusesWhatTheRequestCannotMean) {
    const Key key = addInstalment("0101", "50", 1000);
    const Key other = addInstalment("0201", "51", 1000);
    const QStringList before = ledgerRows();
    EXPECT_THROW(recalc({key}, "caixa", "02"), ServerFailure); // no right to company 02
    EXPECT_THROW(recalc({{"0101", "404"}}), ServerFailure);    // no such instalment
    EXPECT_THROW(recalc({key, other}), ServerFailure);         // another company's instalment
    EXPECT_THROW(recalc({{"0101", ""}}), ServerFailure);       // marked row without its key

    DataPacket badMark = packet({key});
    badMark.appendRow({"X", {}, "0101", "50", "01"});
    EXPECT_THROW(recalculate(test->db(), badMark, "admin", "01"), ServerFailure);
    EXPECT_THROW(recalculate(test->db(), DataPacket({RecConPag::cntPagarFields().first()}), "admin", "01"),
                 ServerFailure);
    EXPECT_EQ(ledgerRows(), before);

    // An adjustment numbered 0, stored before the schema refused it, would pass for the instalment's own
    // posting.
    execSql(test->db(), GetParam() == DbKind::SQLite
                            ? "DROP TRIGGER TR_AJCTPAGAR_NUMERO_INS"
                            : "ALTER TABLE AJCTPAGAR DROP CONSTRAINT CK_AJCTPAGAR_NUMERO");
    addAdjustment(key, 0, "0001", 10);
    EXPECT_THROW(recalc({key}), ServerFailure);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcStatus, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
