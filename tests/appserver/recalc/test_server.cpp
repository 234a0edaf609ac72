#include "appserver/db/sqlutil.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "recalcfixture.h"
#include "server_contract/recconpag.h"
#include "serverprocess.h"

#include <QDateTime>

// SetConfirmar through the real server and TNetConnection: each status with its three packets.
class RecalcServer : public RecalcFixture {
protected:
    void SetUp() override {
        RecalcFixture::SetUp();
        if (IsSkipped())
            return;
        TNetConnection::setCredentialsProvider([this] { return NetCredentials{signIn, signIn}; });
        held = addInstalment("0101", "1", 1000);
        good = addInstalment("0101", "2", 2000);
        addAdjustment(good, 1, "0001", 100);
        noAccount = addInstalment("0102", "3", 3000, "DIVER");
        runSql(test->db(), "INSERT INTO TIPOAJPAGAR (CDAJUCTPAG, DSAJUCTPAG, IDAJUCTPAG, CDHISTPADR)"
                           " VALUES ('0009', 'Sem conta', 'A', '0003')");
        badAdjustment = addInstalment("0103", "4", 4000);
        addAdjustment(badAdjustment, 1, "0009", 100);
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        addHold(held, "fiscal", now - 60, now + 86400);
        server = std::make_unique<ServerProcess>(test->url());
        ASSERT_TRUE(server->started()) << server->errorText().toStdString();
    }

    // The answer of SetConfirmar for these marked rows: status and the three packets.
    QVariant confirm(const QList<Key> &marked, const QString &company = "01") {
        TNetConnection net;
        net.setServerName(RecConPag::serverName);
        net.setPort(server->port());
        return net.call(RecConPag::Method::SetConfirmar, {packet(marked), signIn, company});
    }

    void expectAnswer(const QVariant &answer, const QString &status, int entries, int errors) {
        ASSERT_FALSE(isServerFailure(answer)) << serverFailureText(answer).toStdString();
        const QVariantList list = answer.toList();
        ASSERT_EQ(list.size(), RecConPag::ConfirmarResultCount);
        EXPECT_EQ(list.at(RecConPag::ResultStatus).toString(), status);
        const DataPacket lanc = list.at(RecConPag::ResultLancContTemp).value<DataPacket>();
        const DataPacket rateio = list.at(RecConPag::ResultRateio).value<DataPacket>();
        const DataPacket erros = list.at(RecConPag::ResultErrosTemp).value<DataPacket>();
        EXPECT_EQ(lanc.fields(), RecConPag::lancContTempFields());
        EXPECT_EQ(rateio.fields(), RecConPag::rateioFields());
        EXPECT_EQ(erros.fields(), RecConPag::errosTempFields());
        EXPECT_EQ(lanc.rowCount(), entries);
        EXPECT_EQ(rateio.rowCount(), entries);
        EXPECT_EQ(erros.rowCount(), errors);
    }

    QString signIn = "admin";
    Key held, good, noAccount, badAdjustment;
    std::unique_ptr<ServerProcess> server;
};

TEST_P(RecalcServer, EachStatusComesWithItsThreePackets) {
    expectAnswer(confirm({good, held}), RecConPag::StatusAltBloq, 0, 0);
    expectAnswer(confirm({good, noAccount}), RecConPag::StatusErroContabilizacao, 6, 1);
    expectAnswer(confirm({good, badAdjustment}), RecConPag::StatusAjustContab, 8, 1);
    EXPECT_EQ(count("LANCCONTABIL"), 0);
    expectAnswer(confirm({good}), RecConPag::StatusOk, 4, 0);
    EXPECT_EQ(count("LANCCONTABIL"), 4);
    expectAnswer(confirm({}), "Nenhuma conta a pagar está marcada para o recálculo.", 0, 0);
    runSql(test->db(), "UPDATE PERCONTABIL SET IDSITUPER = 'F' WHERE CDEMPRESA = '01'");
    expectAnswer(confirm({good}),
                 "A empresa 01 não tem período contábil aberto; o recálculo não pode ser feito.", 0, 0);
}

TEST_P(RecalcServer, RefusalsAreServerFailures) {
    signIn = "caixa";
    EXPECT_TRUE(isServerFailure(confirm({good}, "02")));
    signIn = "admin";
    EXPECT_TRUE(isServerFailure(confirm({{"0101", "404"}})));
    EXPECT_EQ(count("LANCCONTABIL"), 0);
}

// The outcome of the operator's latest "OK" run, instalment by instalment, for the preview to show.
TEST_P(RecalcServer, TheLatestRunsOutcomeIsReadablePerInstalment) {
    expectAnswer(confirm({good}), RecConPag::StatusOk, 4, 0);
    runSql(test->db(), "UPDATE CONTAPAGAR SET VRATUAPAG = 2500 WHERE NRLANCTONF = '2'");
    expectAnswer(confirm({good}), RecConPag::StatusOk, 4, 0);

    TNetConnection net;
    net.setServerName(RecConPag::serverName);
    net.setPort(server->port());
    const DataPacket latest = net.call(RecConPag::Method::GetAuditRecalc, {"01", 0}).value<DataPacket>();
    ASSERT_EQ(latest.fields(), RecConPag::auditRecalcItemFields());
    ASSERT_EQ(latest.rowCount(), 1);
    EXPECT_EQ(columnTexts(latest, "NRLANCTONF"), QStringList({"2"}));
    EXPECT_EQ(columnTexts(latest, "NRLANCANTES"), columnTexts(latest, "NRLANCDEPOIS"));
    EXPECT_EQ(latest.value(0, latest.fieldIndex(u"VRTOTANTES")).toDouble(), 21.0);
    EXPECT_EQ(latest.value(0, latest.fieldIndex(u"VRTOTDEPOIS")).toDouble(), 26.0);
    // The first run by its number: nothing posted before it.
    const double first = latest.value(0, latest.fieldIndex(u"NRAUDITRECALC")).toDouble() - 1;
    const DataPacket earlier = net.call(RecConPag::Method::GetAuditRecalc, {"01", first}).value<DataPacket>();
    ASSERT_EQ(earlier.rowCount(), 1);
    EXPECT_EQ(earlier.value(0, earlier.fieldIndex(u"VRTOTANTES")).toDouble(), 0.0);
    EXPECT_TRUE(isServerFailure(net.call(RecConPag::Method::GetAuditRecalc, {"99", 0})));
}

INSTANTIATE_TEST_SUITE_P(Backends, RecalcServer, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
