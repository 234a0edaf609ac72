#include "previewfixture.h"

#include "framework/ui/grid/dbgrid.h"
#include "pag00800/tfrmrecctpagar.h"
#include "server_contract/recconpag.h"

#include <QLabel>

// The recalculation screen's accounting button hands over the current payable's posting number with
// emptied packets; the preview fetches and shows what is stored under it.
TEST_F(PreviewTest, TheRecalculationScreensAccountingButtonShowsTheStoredPosting) {
    addInstalment(QStringLiteral("PRV20"), QStringLiteral("MAT"), 12345);
    ASSERT_EQ(confirm(QStringLiteral("PRV20")).value(RecConPag::ResultStatus).toString(),
              RecConPag::StatusOk);
    const QString number = postingNumber(QStringLiteral("PRV20"));

    host->openScreen(QStringLiteral("PAG00800"));
    TfrmRecCtPagar *screen = frmRecCtPagar;
    ASSERT_NE(screen, nullptr);
    DataPacket payables(RecConPag::cntPagarFields());
    QVariantList row(payables.fields().size());
    row[payables.fieldIndex(u"CDEMPRESA")] = QStringLiteral("01");
    row[payables.fieldIndex(u"CDFILIAL")] = QStringLiteral("0101");
    row[payables.fieldIndex(u"NRLANCTONF")] = QStringLiteral("PRV20");
    row[payables.fieldIndex(u"NRLANCTBDOC")] = number;
    payables.appendRow(row);
    screen->cdsCntPagar->setData(payables);

    screen->sbtContabClick();
    ASSERT_NE(frmPreviaContabil, nullptr);
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(frmPreviaContabil->lblLancamento->text(), "Lançamento: " + number);
    EXPECT_EQ(column(frmPreviaContabil->dbgLancamentos, "Débito"), QStringList({"123,45", ""}));
    screen->closeForm();
}
