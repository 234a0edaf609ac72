#include "previewfixture.h"

#include "framework/ui/controls/maskedit.h"
#include "framework/ui/grid/dbgrid.h"
#include "framework/ui/messages/guard.h"
#include "pag00800/tfrmrecctpagar.h"
#include "server_contract/recconpag.h"

#include <QGroupBox>
#include <QLabel>

using namespace RecConPag;

// The recalculation screen of the host on company 01, holding one unmarked payable row: an
// instalment of branch 0101 that addInstalment wrote, with its posting number.
class PackageTest : public PreviewTest {
protected:
    TfrmRecCtPagar *openRecalculation(const QString &entry, const QString &postingNumber = {}) {
        host->openScreen(QStringLiteral("PAG00800"));
        TfrmRecCtPagar *screen = frmRecCtPagar;
        if (!screen)
            return nullptr;
        DataPacket payables(cntPagarFields());
        QVariantList row(payables.fields().size());
        const QVariantMap values{{"IDMARCADO", "N"},
                                 {"CDEMPRESA", "01"},
                                 {"CDFILIAL", "0101"},
                                 {"NRLANCTONF", entry},
                                 {"NRSEQVENPAG", "01"},
                                 {"NRPARCELAPAG", "01"},
                                 {"NRLANCTBDOC", postingNumber}};
        for (auto it = values.begin(); it != values.end(); ++it)
            row[payables.fieldIndex(it.key())] = it.value();
        payables.appendRow(row);
        screen->medCdEmpresa->setText(QStringLiteral("01"));
        screen->cdsCntPagar->setData(payables);
        return screen;
    }

    void TearDown() override {
        if (frmRecCtPagar)
            frmRecCtPagar->closeForm();
        PreviewTest::TearDown();
    }
};

// The accounting button hands over the current payable's posting number with emptied packets; the
// preview fetches and shows what is stored under it.
TEST_F(PackageTest, TheRecalculationScreensAccountingButtonShowsTheStoredPosting) {
    addInstalment(QStringLiteral("PRV20"), QStringLiteral("MAT"), 12345);
    ASSERT_EQ(confirm(QStringLiteral("PRV20")).value(ResultStatus).toString(), StatusOk);
    const QString number = postingNumber(QStringLiteral("PRV20"));
    TfrmRecCtPagar *screen = openRecalculation(QStringLiteral("PRV20"), number);
    ASSERT_NE(screen, nullptr);

    screen->sbtContabClick();
    ASSERT_NE(frmPreviaContabil, nullptr);
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(frmPreviaContabil->lblLancamento->text(), "Lançamento: " + number);
    EXPECT_EQ(column(frmPreviaContabil->dbgLancamentos, "Débito"), QStringList({"123,45", ""}));
}

// A run that the server refuses for accounting errors ends in the preview with what the run produced.
TEST_F(PackageTest, ARunRefusedForAccountingErrorsOpensThePreviewWithItsEntriesAndErrors) {
    addInstalment(QStringLiteral("PRV21"), QStringLiteral("DIVER"), 4321);
    TfrmRecCtPagar *screen = openRecalculation(QStringLiteral("PRV21"));
    ASSERT_NE(screen, nullptr);
    screen->cdsCntPagar->edit();
    screen->cdsCntPagar->fieldByName("IDMARCADO")->setAsString(QStringLiteral("S"));
    screen->cdsCntPagar->post();

    guard([screen] { screen->sbtConfirmarClick(); });
    ASSERT_NE(frmPreviaContabil, nullptr);
    EXPECT_EQ(column(frmPreviaContabil->dbgLancamentos, "Conta Débito"), QStringList({"(sem conta)", ""}));
    EXPECT_EQ(column(frmPreviaContabil->dbgLancamentos, "Crédito"), QStringList({"", "43,21"}));
    EXPECT_EQ(column(frmPreviaContabil->dbgRateio, "Débito"), QStringList({"25,93", "17,28", "", ""}));
    EXPECT_TRUE(frmPreviaContabil->grbErros->isVisibleTo(frmPreviaContabil));
    EXPECT_TRUE(column(frmPreviaContabil->dbgErros, "Código").contains("C01"));
}
