#include "companyscreen.h"
#include "tests/framework/core/qtprinters.h"

#include "framework/session/norvela.h"
#include "framework/ui/feedback/busyindicator.h"
#include "server_contract/recconpag.h"

#include <QTest>

namespace {

const QString success =
    QStringLiteral("O Recálculo da Contabilização de Contas a Pagar foi realizado com sucesso.");
const QString blocked = QStringLiteral("Operação bloqueada. Documento em alteração por outro usuário.");
const QString payableErrors =
    QStringLiteral("Conta a pagar não pode ser lançada com erros de contabilização.");
const QString adjustmentErrors = QStringLiteral("Ajuste não pode ser lançada com erros de contabilização.");

QStringList column(const DataPacket &packet, const QString &field) {
    QStringList texts;
    for (int row = 0; row < packet.rowCount(); ++row)
        texts << packet.value(row, packet.fieldIndex(field)).toString();
    return texts;
}

// Records, with every message, whether the busy indicator stood over the host's window.
class IndicatorWatch : public ScriptedMessages {
public:
    int show(DialogType type, const QString &text, DialogButtons buttons) override {
        QWidget *indicator = busyIndicator();
        overHost << (indicator && indicator->isVisible() &&
                     indicator->parentWidget() == Norvela::mainWindow());
        return ScriptedMessages::show(type, text, buttons);
    }
    QList<bool> overHost;
};

} // namespace

// The list is marked row by row and confirmed with sbtConfirmar.
class Run : public CompanyScreenTest {
protected:
    void mark(const PayableData::Key &key) {
        ClientDataSet *rows = screen->cdsCntPagar;
        ASSERT_TRUE(rows->locate("NRLANCTONF", {key.entry}));
        rows->edit();
        rows->fieldByName("IDMARCADO")->setAsString("S");
        rows->post();
    }

    // Fills the scratch datasets with a row each, so that a test sees whether a run replaced them.
    void fillScratch() {
        for (ClientDataSet *scratch : {screen->cdsLancContTemp, screen->cdsRateio, screen->cdsErrosTemp}) {
            DataPacket packet(scratch->data().fields());
            packet.appendRow(QVariantList(packet.fields().size()));
            scratch->setData(packet);
        }
    }

    void confirm() {
        ASSERT_TRUE(screen->sbtConfirmar->isEnabled());
        messages.clear();
        QTest::mouseClick(screen->sbtConfirmar, Qt::LeftButton);
    }

    QString currentEntry() const { return screen->cdsCntPagar->fieldByName("NRLANCTONF")->asString(); }
    int scratchRows(ClientDataSet *scratch) const { return scratch->active() ? scratch->recordCount() : -1; }
    QString accounted(const PayableData::Key &key) {
        return data
            .value("SELECT IDCTBLCTPAG FROM CONTAPAGAR WHERE CDFILIAL = ? AND NRLANCTONF = ?",
                   {key.branch, key.entry})
            .toString();
    }

    // After every run: all rows in view, the grid live again, the indicator gone.
    void expectViewRestored() {
        EXPECT_FALSE(screen->cdsCntPagar->filtered());
        EXPECT_FALSE(screen->cdsCntPagar->controlsDisabled());
        EXPECT_EQ(busyIndicator(), nullptr);
    }
};

TEST_F(Run, AnOkRunReportsSuccessFetchesAgainAndReturnsToTheFirstMarkedRow) {
    const PayableData::Key first = data.addInstalment(company, "800", 1000);
    const PayableData::Key second = data.addInstalment(company, "801", 2000);
    const PayableData::Key third = data.addInstalment(company, "802", 3000);
    load();
    mark(third);
    mark(second);
    screen->cdsCntPagar->first();
    data.addInstalment(company, "803", 4000); // another user's new payable shows after the fetch
    IndicatorWatch watch;
    confirm();

    EXPECT_EQ(watch.texts(), QStringList{success});
    EXPECT_EQ(watch.textsOf(DialogType::Information), QStringList{success});
    EXPECT_EQ(watch.overHost, QList<bool>{true});
    EXPECT_EQ(scratchRows(screen->cdsLancContTemp), 4);
    EXPECT_EQ(scratchRows(screen->cdsRateio), 4);
    EXPECT_EQ(scratchRows(screen->cdsErrosTemp), 0);
    EXPECT_EQ(accounted(first), "N");
    EXPECT_EQ(accounted(second), "S");
    EXPECT_EQ(accounted(third), "S");
    EXPECT_EQ(screen->cdsCntPagar->recordCount(), 4);
    EXPECT_EQ(currentEntry(), second.entry);
    EXPECT_EQ(screen->markedSet()->Count(), 0);
    EXPECT_FALSE(screen->sbtConfirmar->isEnabled());
    EXPECT_EQ(preview->count(), 0);
    expectViewRestored();
}

TEST_F(Run, ADocumentHeldByAnotherUserStopsTheRunWithItsMessageAlone) {
    data.addInstalment(company, "809", 500);
    const PayableData::Key free = data.addInstalment(company, "810", 1000);
    const PayableData::Key held = data.addInstalment(company, "811", 2000);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    data.exec("INSERT INTO BLOQDOCUMENTO (CDFILIAL, NRLANCTONF, CDOPERADOR, DTHRINICBLOQ, DTHRFINABLOQ)"
              " VALUES (?, ?, 'caixa', ?, ?)",
              {held.branch, held.entry, now - 60, now + 3600});
    load();
    mark(held);
    mark(free);
    fillScratch();
    data.addInstalment(company, "812", 3000);
    confirm();

    EXPECT_EQ(messages.texts(), QStringList{blocked});
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList{blocked});
    // The answer's empty packets replaced what the scratch datasets held.
    for (ClientDataSet *scratch : {screen->cdsLancContTemp, screen->cdsRateio, screen->cdsErrosTemp})
        EXPECT_EQ(scratchRows(scratch), 0) << scratch->objectName().toStdString();
    EXPECT_EQ(accounted(free), "N");
    EXPECT_EQ(screen->cdsCntPagar->recordCount(), 3) << "no fetch after a blocked run";
    EXPECT_EQ(screen->markedSet()->Count(), 2);
    EXPECT_EQ(currentEntry(), free.entry);
    EXPECT_EQ(preview->count(), 0);
    expectViewRestored();
}

// Errors on a payable's own posting and errors on adjustments only: the preview gets the company, the
// first marked row's posting number and the packets of the answer; nothing is fetched, no success.
TEST_F(Run, AccountingErrorsOpenThePreviewWithTheRunsPacketsAndEndTheRun) {
    data.exec("INSERT INTO TIPOAJPAGAR (CDAJUCTPAG, DSAJUCTPAG, IDAJUCTPAG, CDHISTPADR)"
              " SELECT '0090', 'Sem conta', 'A', '0003' WHERE NOT EXISTS"
              " (SELECT 1 FROM TIPOAJPAGAR WHERE CDAJUCTPAG = '0090')");
    struct Case {
        QString message, errorCode;
        int entries;
    };
    for (const Case &c : {Case{payableErrors, "C01", 4}, Case{adjustmentErrors, "C03", 6}}) {
        SCOPED_TRACE(c.errorCode.toStdString());
        company = data.addCompany();
        data.addInstalment(company, "819", 500);
        const PayableData::Key good = data.addInstalment(company, "820", 1000);
        const PayableData::Key bad =
            data.addInstalment(company, "821", 2000, c.errorCode == "C01" ? "DIVER" : "MAT");
        if (c.errorCode == "C03")
            data.exec("INSERT INTO AJCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQAJUPAG,"
                      " DTAJUSTEPAG, CDAJUCTPAG, VRAJUSTEPAG) SELECT CDFILIAL, NRLANCTONF, NRSEQVENPAG,"
                      " NRPARCELAPAG, 1, DTORIGVENPAG - 10, '0090', 150 FROM CONTAPAGAR"
                      " WHERE CDFILIAL = ? AND NRLANCTONF = ?",
                      {bad.branch, bad.entry});
        data.exec("UPDATE CONTAPAGAR SET NRLANCTBDOC = '000000000555' WHERE CDFILIAL = ? AND NRLANCTONF = ?",
                  {good.branch, good.entry});
        load();
        mark(good);
        mark(bad);
        data.addInstalment(company, "822", 3000);
        const int calls = preview->count();
        confirm();

        EXPECT_EQ(messages.texts(), QStringList{c.message});
        ASSERT_EQ(preview->count(), calls + 1);
        const QVariantList params = preview->params();
        ASSERT_EQ(params.size(), 5);
        EXPECT_EQ(params.at(0), QVariant(company));
        EXPECT_EQ(params.at(1), QVariant(QStringLiteral("000000000555")));
        const DataPacket entries = params.at(2).value<DataPacket>();
        const DataPacket apportionment = params.at(3).value<DataPacket>();
        const DataPacket errors = params.at(4).value<DataPacket>();
        EXPECT_EQ(entries.rowCount(), c.entries);
        EXPECT_EQ(apportionment.rowCount(), c.entries);
        EXPECT_EQ(column(errors, "CDERROTEMP"), QStringList{c.errorCode});
        EXPECT_EQ(scratchRows(screen->cdsLancContTemp), entries.rowCount());
        EXPECT_EQ(scratchRows(screen->cdsRateio), apportionment.rowCount());
        EXPECT_EQ(scratchRows(screen->cdsErrosTemp), 1);
        EXPECT_EQ(accounted(good), "N");
        EXPECT_EQ(screen->cdsCntPagar->recordCount(), 3) << "no fetch after accounting errors";
        EXPECT_EQ(currentEntry(), good.entry);
        expectViewRestored();
    }
}

// A run the server refuses as a whole changes nothing: the user reads the server's reason and no
// success; the list is fetched again and the cursor goes back to the first marked row.
TEST_F(Run, AServersRefusalOfTheWholeRunIsShownAsItComesAndNeverAsSuccess) {
    data.addInstalment(company, "829", 500);
    const PayableData::Key key = data.addInstalment(company, "830", 1000);
    data.exec("UPDATE PERCONTABIL SET IDSITUPER = 'F' WHERE CDEMPRESA = ?", {company});
    load();
    mark(key);
    data.addInstalment(company, "831", 2000);
    confirm();

    const QString noPeriod =
        QStringLiteral("A empresa %1 não tem período contábil aberto; o recálculo não pode ser feito.")
            .arg(company);
    EXPECT_EQ(messages.texts(), QStringList{noPeriod});
    EXPECT_EQ(messages.textsOf(DialogType::Error), QStringList{noPeriod});
    EXPECT_EQ(accounted(key), "N");
    EXPECT_EQ(screen->cdsCntPagar->recordCount(), 3);
    EXPECT_EQ(currentEntry(), key.entry);
    expectViewRestored();

    // Nothing marked: the command is off, and the handler run anyway gets the server's refusal.
    EXPECT_FALSE(screen->sbtConfirmar->isEnabled());
    messages.clear();
    screen->sbtConfirmarClick();
    EXPECT_EQ(messages.texts(), QStringList{"Nenhuma conta a pagar está marcada para o recálculo."});
    expectViewRestored();
}

TEST_F(Run, ARunOfMoreLinesThanTheErrorsPacketCanNumberIsRefusedAsItComes) {
    data.addInstalment(company, "839", 500);
    const PayableData::Key key = data.addInstalment(company, "840", 100000);
    // 50,000 adjustments: with the instalment's own posting, 100,002 lines.
    data.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000)"
              " INSERT INTO AJCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQAJUPAG,"
              " DTAJUSTEPAG, CDAJUCTPAG, VRAJUSTEPAG) SELECT CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG,"
              " i, DTORIGVENPAG - 10, '0001', 1 FROM n, CONTAPAGAR WHERE CDFILIAL = ? AND NRLANCTONF = ?",
              {key.branch, key.entry});
    load();
    mark(key);
    confirm();

    EXPECT_EQ(messages.texts(),
              QStringList{"O recálculo está limitado a 99.999 lançamentos por vez; marque menos "
                          "contas a pagar e confirme novamente."});
    EXPECT_EQ(accounted(key), "N");
    EXPECT_EQ(currentEntry(), key.entry);
    expectViewRestored();
}
