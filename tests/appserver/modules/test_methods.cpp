#include "modulesfixture.h"
#include "server_contract/filtrorecconpag.h"
#include "server_contract/recconpag.h"

using namespace RecConPag;

class MethodsTest : public ModulesFixture {
protected:
    double number(const DataPacket &packet, const char *field, int row = 0) {
        return packet.value(row, packet.fieldIndex(QLatin1String(field))).toDouble();
    }
    QString text(const DataPacket &packet, const char *field, int row = 0) {
        return packet.value(row, packet.fieldIndex(QLatin1String(field))).toString();
    }
    static void expectFields(const DataPacket &packet, const QList<FieldDef> &fields) {
        ASSERT_EQ(packet.fields().size(), fields.size());
        for (int i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(packet.fields().at(i).name, fields.at(i).name);
            EXPECT_EQ(packet.fields().at(i).kind, fields.at(i).kind);
        }
    }
};

TEST_P(MethodsTest, ExistContaAnswersForTheInstalmentOrTheDueSequence) {
    CallArgs four({"0101", "1", "01", "1"}, {false, false, false, true});
    const DataPacket found = call(recModule, "GetExistConta", four).value<DataPacket>();
    expectFields(found, existContaFields());
    EXPECT_EQ(number(found, "NRCNT"), 1);
    EXPECT_EQ(four.text(3), "01"); // the instalment number written back in its stored form

    EXPECT_EQ(number(callPacket(recModule, "GetExistConta", {"0101", "1", "01", "03"}), "NRCNT"), 0);
    const DataPacket sequence = callPacket(recModule, "GetExistConta", {"0101", "1", "02"});
    expectFields(sequence, existDocFields());
    EXPECT_EQ(number(sequence, "NRDOC"), 1);
    EXPECT_EQ(number(callPacket(recModule, "GetExistConta", {"0101", "9", "01"}), "NRDOC"), 0);
    EXPECT_THROW(callPacket(recModule, "GetExistConta", {"0101", "1"}), BadCall);
}

TEST_P(MethodsTest, VerificationQueriesReadTheCurrentInstalment) {
    const DataPacket status = callPacket(recModule, "GetTipoCnt", {"0101", "1"});
    expectFields(status, tipoCntFields());
    EXPECT_EQ(text(status, "IDSTATUS"), "N");
    EXPECT_EQ(callPacket(recModule, "GetTipoCnt", {"0101", "404"}).rowCount(), 0);

    const DataPacket value = callPacket(recModule, "GetVrBoleto", {"0101", "1", "02", "01"});
    expectFields(value, vrBoletoFields());
    EXPECT_DOUBLE_EQ(number(value, "VRATUAPAG"), 200.0);
    EXPECT_EQ(text(value, "IDSITUCNABP"), "02");
    EXPECT_TRUE(callPacket(recModule, "GetVrBoleto", {"0101", "1", "01", "01"}).isNullAt(0, 1));

    const DataPacket due = callPacket(recModule, "GetCntProrrogada", {"0101", "1", "02", "01"});
    expectFields(due, cntProrrogadaFields());
    EXPECT_DOUBLE_EQ(number(due, "DTATUAVENPAG"), double(day(22)));
}

TEST_P(MethodsTest, AccountingPeriodAnswersForAnyCompany) {
    const DataPacket period = callPacket(recModule, "GETPerContabil", {"02"}, "caixa");
    expectFields(period, perContabilFields());
    ASSERT_EQ(period.rowCount(), 1);
    EXPECT_LT(number(period, "DTINICCTBL"), number(period, "DTFINACCTBL"));
    EXPECT_EQ(callPacket(recModule, "GETPerContabil", {""}).rowCount(), 0);
}

TEST_P(MethodsTest, AdjustmentsOfOneInstalmentInDateOrder) {
    const DataPacket adjustments = callPacket(recModule, "GetAjusPag", {"0101", "1", "01", "01"});
    expectFields(adjustments, ajusPagFields());
    ASSERT_EQ(adjustments.rowCount(), 2);
    EXPECT_EQ(text(adjustments, "CDAJUCTPAG", 0), "0004");
    EXPECT_EQ(text(adjustments, "IDAJUCTPAG", 0), "D");
    EXPECT_EQ(text(adjustments, "DSAJUCTPAG", 1), "Desconto comercial");
    EXPECT_DOUBLE_EQ(number(adjustments, "VRAJUSTEPAG", 1), 3.0);
    EXPECT_DOUBLE_EQ(number(adjustments, "DTAJUSTEPAG", 0), double(day(-30)));
    EXPECT_EQ(text(adjustments, "NRPARCELAPAG", 1), "01");
    EXPECT_EQ(callPacket(recModule, "GetAjusPag", {"0101", "1", "02", "01"}).rowCount(), 0);
}

TEST_P(MethodsTest, BranchesOfAnotherCompanyAreRefused) {
    EXPECT_THROW(callPacket(recModule, "GetAjusPag", {"0201", "1", "01", "01"}, "caixa"), ServerFailure);
    EXPECT_THROW(callPacket(recModule, "GetVrBoleto", {"0201", "1", "01", "01"}, "caixa"), ServerFailure);
    EXPECT_THROW(callPacket(recModule, "GetExistConta", {"0201", "1", "01"}, "caixa"), ServerFailure);
    EXPECT_THROW(callPacket(filterModule, "GetParamFilial", {"0201"}, "caixa"), ServerFailure);
    EXPECT_EQ(callPacket(recModule, "GetAjusPag", {"0201", "1", "01", "01"}, "admin").rowCount(), 0);
}

TEST_P(MethodsTest, FilterParameters) {
    const DataPacket general = callPacket(filterModule, "GetGeralPag", {});
    expectFields(general, FiltroRecContPagar::geralPagFields());
    EXPECT_EQ(text(general, "CDGERALPAG"), "1");
    EXPECT_EQ(number(general, "QTDIAANTLANP"), 30);
    EXPECT_EQ(number(general, "QTDIAAPOLANP"), 30);

    const DataPacket width = callPacket(filterModule, "GetParamFilial", {"0101"});
    expectFields(width, FiltroRecContPagar::paramFilialFields());
    EXPECT_EQ(number(width, "NRTAMNUMNFUT"), 9);
    EXPECT_TRUE(callPacket(filterModule, "GetParamFilial", {"0102"}).isNullAt(0, 0));
    EXPECT_EQ(callPacket(filterModule, "GetParamFilial", {"0202"}).rowCount(), 0);
    EXPECT_THROW(callPacket(filterModule, "GetParamFilial", {}), BadCall);
}

TEST_P(MethodsTest, ConfirmationAnswersStatusAndThreePacketsWithTheScratchFields) {
    CallArgs fetch = cntPagarCall(cntPagarArgs());
    const QVariant payables = call(recModule, "GetCntPagar", fetch);
    CallArgs args({payables, "admin", "01"}, {false, false, false});
    const QVariantList result = call(recModule, "SetConfirmar", args).toList();
    ASSERT_EQ(result.size(), 4);
    EXPECT_FALSE(result.at(ResultStatus).toString().isEmpty());
    expectFields(result.at(ResultLancContTemp).value<DataPacket>(), lancContTempFields());
    expectFields(result.at(ResultRateio).value<DataPacket>(), rateioFields());
    expectFields(result.at(ResultErrosTemp).value<DataPacket>(), errosTempFields());
}

TEST_P(MethodsTest, ConfirmationRefusesWhatTheOperatorMayNotDo) {
    CallArgs fetch = cntPagarCall(cntPagarArgs());
    const QVariant payables = call(recModule, "GetCntPagar", fetch);
    CallArgs otherOperator({payables, "admin", "01"}, {false, false, false});
    EXPECT_THROW(call(recModule, "SetConfirmar", otherOperator, "caixa"), ServerFailure);
    CallArgs otherCompany({payables, "caixa", "02"}, {false, false, false});
    EXPECT_THROW(call(recModule, "SetConfirmar", otherCompany, "caixa"), ServerFailure);
    CallArgs keysOnly({QVariant::fromValue(DataPacket(existContaFields())), "admin", "01"},
                      {false, false, false});
    EXPECT_THROW(call(recModule, "SetConfirmar", keysOnly), BadCall);
    CallArgs notAPacket({"S", "admin", "01"}, {false, false, false});
    EXPECT_THROW(call(recModule, "SetConfirmar", notAPacket), BadCall);
}

TEST_P(MethodsTest, ModulesAndMethodsAreFoundWithoutRegardToCase) {
    EXPECT_NE(registry.create("pag00800.RDMRECCONPAG"), nullptr);
    EXPECT_NE(registry.create("Pag00800.rdmRecConPag"), nullptr);
    EXPECT_NE(registry.create("PAG00801.rdmfiltroreccontpagar"), nullptr);
    EXPECT_EQ(callPacket(recModule, "getajuspag", {"0101", "1", "01", "01"}).rowCount(), 2);
    EXPECT_THROW(callPacket(recModule, "GetNada", {}), BadCall);
    EXPECT_THROW(callPacket(filterModule, "GetCntPagar", cntPagarArgs()), BadCall);
}

INSTANTIATE_TEST_SUITE_P(Databases, MethodsTest, testing::Values(DbKind::SQLite, DbKind::PostgreSQL),
                         [](const auto &info) { return dbKindName(info.param); });
