#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "modulesfixture.h"
#include "server_contract/filtrorecconpag.h"
#include "server_contract/recconpag.h"
#include "wireserver.h"

using namespace RecConPag;

// The same methods through TNetConnection and the real server: arguments, kinds, write-back and
// server-reported failures survive the wire.
class WireTest : public ModulesFixture {
protected:
    void SetUp() override {
        ModulesFixture::SetUp();
        if (!IsSkipped())
            server = std::make_unique<WireServer>(test->url());
    }
    std::unique_ptr<TNetConnection> connect(const QString &module = recModule, const QString &op = "admin") {
        return server->connect(module, op, op);
    }
    static DataPacket packetOf(const QVariant &result) {
        EXPECT_FALSE(isServerFailure(result)) << serverFailureText(result).toStdString();
        return result.value<DataPacket>();
    }
    static QList<NetArg> cntPagar(QString *lists, const char *company = "01") {
        return {company, true,      &lists[0], "",        "",  0.0, 0.0, 0.0,      0.0,
                false,   &lists[1], false,     &lists[2], 0.0, 0.0, 0.0, 0.0,      false,
                false,   false,     &lists[3], 0.0,       0.0, 0.0, 0.0, &lists[4]};
    }

    std::unique_ptr<WireServer> server;
};

TEST_P(WireTest, VerificationMethodsAndTheInstalmentWriteBack) {
    auto net = connect();
    QString instalment = "1";
    const DataPacket exists = packetOf(net->call("GetExistConta", {"0101", "1", "01", &instalment}));
    EXPECT_EQ(exists.value(0, 0).toDouble(), 1);
    EXPECT_EQ(instalment, "01");
    EXPECT_EQ(packetOf(net->call("GetExistConta", {"0101", "9", "01"})).value(0, 0).toDouble(), 0);
    EXPECT_EQ(packetOf(net->call("GetTipoCnt", {"0101", "1"})).value(0, 0).toString(), "N");
    const DataPacket value = packetOf(net->call("GetVrBoleto", {"0101", "1", "02", &instalment}));
    EXPECT_DOUBLE_EQ(value.value(0, 0).toDouble(), 200.0);
    EXPECT_EQ(value.value(0, 1).toString(), "02");
    EXPECT_DOUBLE_EQ(
        packetOf(net->call("GetCntProrrogada", {"0101", "1", "02", &instalment})).value(0, 0).toDouble(),
        double(day(22)));
    EXPECT_EQ(packetOf(net->call("GETPerContabil", {"03"})).rowCount(), 1);
    const DataPacket adjustments = packetOf(net->call("GetAjusPag", {"0101", "1", "01", "01"}));
    EXPECT_EQ(adjustments.fields().size(), ajusPagFields().size());
    EXPECT_EQ(adjustments.rowCount(), 2);
}

TEST_P(WireTest, FilterModuleUnderItsOwnName) {
    auto net = connect("pag00801.RDMFILTRORECCONTPAGAR");
    EXPECT_EQ(packetOf(net->call("GetGeralPag")).value(0, 1).toDouble(), 30);
    EXPECT_EQ(packetOf(net->call("GetParamFilial", {"0101"})).value(0, 0).toDouble(), 9);
}

TEST_P(WireTest, PayableFetchWithListsAndFlags) {
    auto net = connect("Pag00800.rdmRecConPag");
    QString lists[5] = {"000001;000001", "", "", "", "T"};
    const DataPacket rows = packetOf(net->call("GetCntPagar", cntPagar(lists)));
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.fields().size(), cntPagarFields().size());
    EXPECT_EQ(lists[0], "000001");
    EXPECT_EQ(lists[4], "T");
}

TEST_P(WireTest, ServerReportedFailuresLeaveTheConnectionServing) {
    auto net = connect(recModule, "caixa");
    QString lists[5] = {"", "", "", "", "T"};
    const QVariant refused = net->call("GetCntPagar", cntPagar(lists, "02"));
    ASSERT_TRUE(isServerFailure(refused));
    EXPECT_EQ(serverFailureText(refused), "Empresa 02 não relacionada ao operador logado.");
    lists[0] = "000001;;";
    EXPECT_TRUE(isServerFailure(net->call("GetCntPagar", cntPagar(lists))));
    EXPECT_TRUE(isServerFailure(net->call("GetExistConta", {"0101"})));
    EXPECT_TRUE(isServerFailure(net->call("GetAjusPag", {"0201", "1", "01", "01"})));
    lists[0] = "000001";
    EXPECT_EQ(packetOf(net->call("GetCntPagar", cntPagar(lists))).rowCount(), 2);
}

TEST_P(WireTest, ConfirmationSendsThePacketBackWhole) {
    auto net = connect();
    QString lists[5] = {"000001", "", "", "", "T"};
    const DataPacket rows = packetOf(net->call("GetCntPagar", cntPagar(lists)));
    const QVariant answer = net->call("SetConfirmar", {rows, "admin", "01"});
    ASSERT_FALSE(isServerFailure(answer)) << serverFailureText(answer).toStdString();
    const QVariantList result = answer.toList();
    ASSERT_EQ(result.size(), 4);
    EXPECT_EQ(result.at(ResultErrosTemp).value<DataPacket>().fields().size(), errosTempFields().size());
    auto cashier = connect(recModule, "caixa");
    EXPECT_TRUE(isServerFailure(cashier->call("SetConfirmar", {rows, "caixa", "02"})));
}

INSTANTIATE_TEST_SUITE_P(Databases, WireTest, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
