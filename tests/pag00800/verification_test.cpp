#include "companyscreen.h"
#include "tests/framework/core/qtprinters.h"

#include "framework/core/abort.h"

namespace {

const QString keyFields = QStringLiteral("CDFILIAL;NRLANCTONF;NRSEQVENPAG;NRPARCELAPAG");

} // namespace

// One instalment loaded into the screen's list; other users change it in the
// database and the screen verifies the row as it loaded it.
class Verification : public CompanyScreenTest {
protected:
    void SetUp() override {
        CompanyScreenTest::SetUp();
        key = data.addInstalment(company, "700", 1000);
        load();
        ASSERT_TRUE(screen->cdsCntPagar->locate(keyFields, PayableData::keyValues(key)));
        ClientDataSet *rows = screen->cdsCntPagar;
        instalment = rows->fieldByName("NRPARCELAPAG")->asString();
        status = rows->fieldByName("IDSTATUS")->asString();
        value = rows->fieldByName("VRATUAPAG")->asFloat();
        dueDate = rows->fieldByName("DTATUAVENPAG")->asDateTime();
    }

    // The message of the change found, or an empty text when the row passed.
    QString verify() {
        messages.clear();
        try {
            screen->Veri_CntAlterada(screen->dtsPadrao, instalment, status, value, dueDate);
        } catch (const SilentAbort &) {
            EXPECT_EQ(messages.shown().size(), 1);
            return messages.last();
        }
        EXPECT_TRUE(messages.shown().isEmpty());
        return {};
    }

    void change(const QString &assignment, const QString &table = QStringLiteral("CONTAPAGAR")) {
        data.exec("UPDATE " + table + " SET " + assignment + " WHERE CDFILIAL = ? AND NRLANCTONF = ?",
                  {key.branch, key.entry});
    }

    PayableData::Key key;
    QString instalment, status;
    double value = 0, dueDate = 0;
};

TEST_F(Verification, AnUnchangedRowPassesAndLeavesTheServersAnswers) {
    EXPECT_EQ(verify(), QString());
    EXPECT_EQ(screen->cdsExistConta->fieldByName("NRCNT")->asInteger(), 1);
    EXPECT_EQ(screen->cdsTipoCnt->fieldByName("IDSTATUS")->asString(), "N");
    EXPECT_DOUBLE_EQ(screen->cdsVrBoleto->fieldByName("VRATUAPAG")->asFloat(), 10.0);
    EXPECT_EQ(screen->cdsCntProrrogada->fieldByName("DTATUAVENPAG")->asDateTime(), dueDate);
    // The instalment number goes out in the form the caller has; the server's stored form comes back.
    instalment = "1";
    EXPECT_EQ(verify(), QString());
}

// Changes pile up from the last check to the first: each new one is what the verification names.
TEST_F(Verification, NamesTheFirstChangeInTheOrderOfTheChecks) {
    change("IDSITUCNABP = '02'");
    EXPECT_EQ(verify(), "Conta de um boleto enviado ao banco (via CNAB) não pode ser alterada");
    change("DTATUAVENPAG = DTATUAVENPAG + 5");
    EXPECT_EQ(verify(), "Conta foi prorrogada por outro usuário.");
    change("VRATUAPAG = 1001");
    EXPECT_EQ(verify(), "Valor da conta foi alterado por outro usuário.");
    change("IDSTATUS = 'n'", "NOTAFISCAL");
    EXPECT_EQ(verify(), "Tipo do documento foi alterado por outro usuário.");

    // Split: the due sequence now holds instalments 02 and 03.
    data.exec("UPDATE CONTAPAGAR SET NRPARCELAPAG = '02' WHERE CDFILIAL = ? AND NRLANCTONF = ?",
              {key.branch, key.entry});
    data.exec(
        "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, CDTPCTPAGAR,"
        " DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG, VRATUAPAG, VRLIQPAG, CDFILILANC)"
        " SELECT CDFILIAL, NRLANCTONF, NRSEQVENPAG, '03', CDTPCTPAGAR, DTORIGVENPAG, DTATUAVENPAG,"
        " VRORIGPAG, VRATUAPAG, VRLIQPAG, CDFILILANC FROM CONTAPAGAR WHERE CDFILIAL = ? AND NRLANCTONF = ?",
        {key.branch, key.entry});
    screen->cdsTipoCnt->close();
    EXPECT_EQ(verify(), "Conta foi parcelada por outro usuário.");
    EXPECT_FALSE(screen->cdsTipoCnt->active()) << "the status is not asked for a split instalment";
    EXPECT_EQ(screen->cdsExistDoc->fieldByName("NRDOC")->asInteger(), 2);

    data.exec("DELETE FROM CONTAPAGAR WHERE CDFILIAL = ? AND NRLANCTONF = ?", {key.branch, key.entry});
    data.exec("DELETE FROM NOTAFISCAL WHERE CDFILIAL = ? AND NRLANCTONF = ?", {key.branch, key.entry});
    EXPECT_EQ(verify(), "Documento foi excluído por outro usuário.");
    EXPECT_FALSE(screen->cdsTipoCnt->active());
    EXPECT_EQ(screen->cdsExistConta->recordCount(), 1);
    EXPECT_EQ(screen->cdsExistConta->fieldByName("NRCNT")->asInteger(), 0);
}

// Values compare at two decimals, due dates to the time of day, statuses letter for letter; a boleto
// still with the company has no situation, a blank one, "00" or "01".
TEST_F(Verification, ComparesAsTheLoadedValuesWereMeant) {
    value = 10.004;
    EXPECT_EQ(verify(), QString());
    value = 9.996;
    EXPECT_EQ(verify(), QString());
    value = 10.01;
    EXPECT_EQ(verify(), "Valor da conta foi alterado por outro usuário.");
    value = 10.0;

    dueDate += 0.5;
    EXPECT_EQ(verify(), "Conta foi prorrogada por outro usuário.");
    dueDate -= 0.5;

    status = "n";
    EXPECT_EQ(verify(), "Tipo do documento foi alterado por outro usuário.");
    status = "N";

    for (const char *situation : {"'  '", "'00'", "'01'", "NULL"}) {
        change(QStringLiteral("IDSITUCNABP = %1").arg(QLatin1String(situation)));
        EXPECT_EQ(verify(), QString()) << situation;
    }
    change("IDSITUCNABP = '1'");
    EXPECT_EQ(verify(), "Conta de um boleto enviado ao banco (via CNAB) não pode ser alterada");
}

TEST_F(Verification, AServerRefusalEndsItBeforeAnythingIsLoaded) {
    screen->cdsExistConta->close();
    data.exec("DELETE FROM OPEREMPRESA WHERE CDOPERADOR = 'admin' AND CDEMPRESA = ?", {company});
    messages.clear();
    EXPECT_THROW(screen->Veri_CntAlterada(screen->dtsPadrao, instalment, status, value, dueDate),
                 SilentAbort);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().type, DialogType::Error);
    EXPECT_FALSE(screen->cdsExistConta->active());
}
