#include "appserver/modules/modules.h"
#include "framework/net/checkresult.h"
#include "modulesfixture.h"
#include "server_contract/recconpag.h"
#include "tests/support/serverfixture.h"

using namespace RecConPag;

class CntPagarTest : public ModulesFixture {
protected:
    // The keys fetched with some arguments changed from the unrestricted fetch of company 01.
    QStringList keysWith(std::initializer_list<std::pair<int, QVariant>> changes) {
        QVariantList values = cntPagarArgs();
        for (const auto &[index, value] : changes)
            values[index] = value;
        return fetchKeys(values);
    }
    static QVariant date(int offset) { return double(day(offset)); }
};

const QString d1a = "0101/1/01/01", d1b = "0101/1/02/01", d2a = "0102/7/01/01", d2b = "0102/7/01/02",
              d4 = "0103/3/01/01";

TEST_P(CntPagarTest, UnrestrictedFetchListsTheCompanyByDueDateWithThePayableFields) {
    EXPECT_EQ(fetchKeys(cntPagarArgs()), QStringList({d4, d1a, d2a, d1b, d2b}));

    CallArgs args = cntPagarCall(cntPagarArgs());
    const DataPacket packet = call(recModule, "GetCntPagar", args).value<DataPacket>();
    ASSERT_EQ(packet.fields().size(), cntPagarFields().size());
    for (int i = 0; i < packet.fields().size(); ++i) {
        EXPECT_EQ(packet.fields().at(i).name, cntPagarFields().at(i).name);
        EXPECT_EQ(packet.fields().at(i).kind, cntPagarFields().at(i).kind);
    }
    const auto value = [&](const char *field) {
        return packet.value(1, packet.fieldIndex(QLatin1String(field)));
    };
    EXPECT_EQ(value("IDMARCADO").toString(), "N");
    EXPECT_EQ(value("CDEMPRESA").toString(), "01");
    EXPECT_DOUBLE_EQ(value("VRATUAPAG").toDouble(), 100.0);
    EXPECT_DOUBLE_EQ(value("VRNOTAFISC").toDouble(), 300.0);
    EXPECT_DOUBLE_EQ(value("DTATUAVENPAG").toDouble(), double(day(-8)));
    EXPECT_DOUBLE_EQ(value("DTENTRSAID").toDouble(), double(day(-38)));
    EXPECT_EQ(value("NRNOTAFISC").toString(), "123");
    EXPECT_EQ(value("CDSERIEENTR").toString(), "1");
    EXPECT_EQ(value("DSTPCTPAGAR").toString(), "Compra de materiais");
    EXPECT_EQ(value("IDCTBLCTPAG").toString(), "S");
    EXPECT_FALSE(value("NMRAZSOCFORN").toString().isEmpty());
}

TEST_P(CntPagarTest, ListsApplyOnlyWhenTheirFlagSaysSo) {
    EXPECT_EQ(keysWith({{ArgListaForn, -1}, {ArgFornecedores, "000001"}}), QStringList({d1a, d1b}));
    EXPECT_EQ(keysWith({{ArgListaForn, 0}, {ArgFornecedores, "000001"}}).size(), 5);
    EXPECT_EQ(keysWith({{ArgListaForn, -1}, {ArgFornecedores, ""}}), QStringList());
    EXPECT_EQ(keysWith({{ArgListaFiliOrig, -1}, {ArgFiliOrig, "0102;0103"}}), QStringList({d4, d2a, d2b}));
    EXPECT_EQ(keysWith({{ArgListaFiliLanc, -1}, {ArgFiliLanc, "0102"}}), QStringList({d2a, d1b}));
    EXPECT_EQ(keysWith({{ArgListaTpConta, -1}, {ArgTiposConta, "MAT"}}), QStringList({d1a, d2b}));
    // A branch of another company in the list does not widen the fetch.
    EXPECT_EQ(keysWith({{ArgListaFiliOrig, -1}, {ArgFiliOrig, "0201"}}), QStringList());
}

// A list far longer than the database's limit on parameters of one statement (SQLite's 32,766)
// still selects exactly its codes.
TEST_P(CntPagarTest, ListsLongerThanTheStatementParameterLimitStillSelect) {
    QStringList suppliers;
    for (int i = 0; i < 50000; ++i)
        suppliers << QStringLiteral("X%1").arg(i, 6, 10, QLatin1Char('0'));
    suppliers << QStringLiteral("000001");
    EXPECT_EQ(keysWith({{ArgListaForn, -1}, {ArgFornecedores, suppliers.join(u';')}}),
              QStringList({d1a, d1b}));
}

TEST_P(CntPagarTest, DocumentNumbersCompareAsZeroFilledNumbers) {
    EXPECT_EQ(keysWith({{ArgNrDocuIni, "000000100"}, {ArgNrDocuFin, "000000123"}}), QStringList({d1a, d1b}));
    EXPECT_EQ(keysWith({{ArgNrDocuIni, "0000099"}}).size(), 5);
    EXPECT_EQ(keysWith({{ArgNrDocuFin, "0000099"}}), QStringList({d2a, d2b}));
    EXPECT_EQ(keysWith({{ArgNrDocuIni, "124"}, {ArgNrDocuFin, "999"}}), QStringList());
    EXPECT_EQ(keysWith({{ArgNrDocuIni, "1000"}, {ArgNrDocuFin, "0001000"}}), QStringList({d4}));
}

TEST_P(CntPagarTest, DateRangesWithOpenEnds) {
    EXPECT_EQ(keysWith({{ArgDtEmissaoIni, date(-45)}, {ArgDtEmissaoFin, date(-39)}}),
              QStringList({d1a, d1b}));
    EXPECT_EQ(keysWith({{ArgDtEmissaoFin, date(-50)}}), QStringList({d4}));
    EXPECT_EQ(keysWith({{ArgDtEntradaIni, date(-9)}}), QStringList({d2a, d2b}));
    EXPECT_EQ(keysWith({{ArgDtEntradaIni, date(-38)}, {ArgDtEntradaFin, date(-38)}}),
              QStringList({d1a, d1b}));
    EXPECT_EQ(keysWith({{ArgVencIni, date(-10)}, {ArgVencFin, date(10)}}), QStringList({d1a, d2a}));
    // The time of day of a date argument is ignored.
    EXPECT_EQ(keysWith({{ArgVencIni, double(day(-8)) + 0.75}, {ArgVencFin, double(day(-8)) + 0.25}}),
              QStringList({d1a}));
}

TEST_P(CntPagarTest, ValueRangesWhereZeroToZeroMeansAny) {
    EXPECT_EQ(keysWith({{ArgVrDocuIni, 300.0}, {ArgVrDocuFin, 350.0}}).size(), 4);
    EXPECT_EQ(keysWith({{ArgVrOriginalIni, 100.0}, {ArgVrOriginalFin, 200.0}}), QStringList({d1a, d1b}));
    EXPECT_EQ(keysWith({{ArgVrLiquidoIni, 300.01}}), QStringList({d2a}));
    EXPECT_EQ(keysWith({{ArgVrLiquidoFin, 95.0}}), QStringList({d4, d1a, d2b}));
    EXPECT_EQ(keysWith({{ArgVrLiquidoIni, 95.001}, {ArgVrLiquidoFin, 95.004}}), QStringList({d1a}));
}

TEST_P(CntPagarTest, SituationAndAccountingState) {
    EXPECT_EQ(keysWith({{ArgVencidas, -1}}), QStringList({d4, d1a}));
    EXPECT_EQ(keysWith({{ArgAVencer, -1}}), QStringList({d2a, d1b, d2b}));
    EXPECT_EQ(keysWith({{ArgVencidas, -1}, {ArgAVencer, -1}}).size(), 5);
    EXPECT_EQ(keysWith({{ArgContabil, "C"}}), QStringList({d4, d1a, d2b}));
    EXPECT_EQ(keysWith({{ArgContabil, "N"}}), QStringList({d2a, d1b}));
}

TEST_P(CntPagarTest, RefusesACompanyTheOperatorMayNotUse) {
    QVariantList values = cntPagarArgs();
    values[ArgEmpresa] = "02";
    EXPECT_EQ(fetchKeys(values), QStringList({"0201/1/01/01"}));
    EXPECT_THROW(fetchKeys(values, "caixa"), ServerFailure);
    values[ArgEmpresa] = "99";
    EXPECT_THROW(fetchKeys(values), ServerFailure);
}

TEST_P(CntPagarTest, RefusesMalformedArguments) {
    for (const char *list : {"0101;;0102", "0101;", "01 01", "0101'", "0101\"", "000001) OR (1=1"}) {
        QVariantList values = cntPagarArgs();
        values[ArgFiliOrig] = QString::fromLatin1(list);
        EXPECT_THROW(fetchKeys(values), BadCall) << list;
    }
    QVariantList values = cntPagarArgs();
    values[ArgContabil] = "X";
    EXPECT_THROW(fetchKeys(values), BadCall);
    values = cntPagarArgs();
    values[ArgVencIni] = "ontem";
    EXPECT_THROW(fetchKeys(values), BadCall);
    values = cntPagarArgs();
    values.removeLast();
    EXPECT_THROW(fetchKeys(values), BadCall);
    // A quote in a document number is only data.
    EXPECT_EQ(keysWith({{ArgNrDocuIni, "1' OR '1'='1"}}), QStringList());
}

TEST_P(CntPagarTest, WritesBackTheNormalisedLists) {
    QVariantList values = cntPagarArgs();
    values[ArgListaFiliOrig] = -1;
    values[ArgFiliOrig] = "0102;0103;0102";
    CallArgs args = cntPagarCall(values);
    call(recModule, "getcntpagar", args);
    EXPECT_EQ(args.text(ArgFiliOrig), "0102;0103");
    EXPECT_EQ(args.text(ArgFornecedores), "");
    EXPECT_EQ(args.text(ArgContabil), "T");
}

// The limit counts the rows the filter selects: exactly the limit is answered, one more is refused
// whole, with a message that tells the user what to do.
TEST_P(CntPagarTest, AFetchOfMoreRowsThanTheLimitFailsAskingForANarrowerFilter) {
    const auto withLimit = [this](int maxRows) {
        registry = ModuleRegistry();
        registerModules(registry, maxRows);
        modules.clear();
    };
    withLimit(5);
    EXPECT_EQ(fetchKeys(cntPagarArgs()).size(), 5);
    withLimit(4);
    try {
        fetchKeys(cntPagarArgs());
        ADD_FAILURE() << "a fetch of 5 rows passed a limit of 4";
    } catch (const ServerFailure &e) {
        EXPECT_EQ(e.message(), "A busca encontrou mais de 4 contas a pagar, o máximo que o servidor envia de "
                               "uma vez. Restrinja o filtro (fornecedores, filiais, tipos de conta, "
                               "vencimento ou valores) e busque de novo.");
    }
    EXPECT_EQ(keysWith({{ArgVencidas, -1}}), QStringList({d4, d1a}));
}

// The limit set on the server's command line reaches the client as a failure of the call, and the
// connection goes on serving narrower fetches.
TEST_P(CntPagarTest, TheServersRowLimitOptionRefusesALargerFetchOverTheWire) {
    ServerFixture::Options options;
    options.usePostgres = GetParam() == DbKind::PostgreSQL;
    options.extraArguments = {QStringLiteral("--max-fetch-rows"), QStringLiteral("5")};
    ServerFixture server(options);
    server.start();
    const auto net = server.connection(RecConPag::serverName);
    const auto fetch = [&](bool restricted) {
        QString lists[5] = {"", "", "", "", "T"};
        return net->call(Method::GetCntPagar,
                         {"01",  restricted, &lists[0], "",        "",  0.0, 0.0, 0.0,      0.0,
                          false, &lists[1],  false,     &lists[2], 0.0, 0.0, 0.0, 0.0,      false,
                          false, false,      &lists[3], 0.0,       0.0, 0.0, 0.0, &lists[4]});
    };
    const QVariant refused = fetch(false);
    ASSERT_TRUE(isServerFailure(refused));
    EXPECT_TRUE(serverFailureText(refused).startsWith("A busca encontrou mais de 5 contas a pagar"));
    EXPECT_TRUE(serverFailureText(refused).contains("Restrinja o filtro"));
    const QVariant narrowed = fetch(true);
    ASSERT_FALSE(isServerFailure(narrowed)) << serverFailureText(narrowed).toStdString();
    EXPECT_EQ(narrowed.value<DataPacket>().rowCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Databases, CntPagarTest, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
