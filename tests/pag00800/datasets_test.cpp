#include "screenfixture.h"

#include "framework/core/routines.h"
#include "framework/ui/grid/dbtext.h"

#include <QAbstractItemModel>
#include <functional>

namespace {

QStringList visibleFields(ClientDataSet *dataSet) {
    QStringList names;
    for (const FieldDef &def : dataSet->fieldDefs())
        if (def.visible)
            names << def.name;
    return names;
}

QStringList gridTitles(DataGrid *grid) {
    QStringList titles;
    for (int column = 0; column < grid->dataModel()->columnCount(); ++column)
        titles << grid->dataModel()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return titles;
}

QString cellText(DataGrid *grid, int row, const QString &fieldName) {
    for (int column = 0; column < grid->columns().size(); ++column)
        if (grid->columns().at(column).fieldName == fieldName)
            return grid->dataModel()->index(row, column).data().toString();
    return QStringLiteral("<no column %1>").arg(fieldName);
}

QString text(ClientDataSet *dataSet, const char *name) {
    return dataSet->fieldByName(name)->asString();
}

} // namespace

TEST_F(ScreenTest, APacketFromTheServerFillsTheGridWithTheCalculatedTexts) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    const DataPacket packet = fetchPayables(screen, QStringLiteral("01"));
    ASSERT_GT(packet.rowCount(), 0);
    screen->cdsCntPagar->setData(packet);
    ClientDataSet *rows = screen->cdsCntPagar;
    ASSERT_EQ(rows->recordCount(), packet.rowCount());

    EXPECT_EQ(gridTitles(screen->dbgPadrao),
              QStringList({"Vencimento", "Fornecedor", "Parc.", "Doc. / Série", "Valor", checkMarkCaption}));
    EXPECT_EQ(screen->dbgPadrao->dataModel()->rowCount(), packet.rowCount());
    rows->first();
    const QString series = text(rows, "CDSERIEENTR");
    const QString document = text(rows, "NRNOTAFISC") + (series.isEmpty() ? QString() : "/" + series);
    EXPECT_EQ(cellText(screen->dbgPadrao, 0, "DOCUMENTO"), document.left(23));
    EXPECT_EQ(cellText(screen->dbgPadrao, 0, "VRATUAPAG"),
              formatMoney(rows->fieldByName("VRATUAPAG")->asFloat()));
    EXPECT_EQ(cellText(screen->dbgPadrao, 0, "DTATUAVENPAG"),
              formatShortDate(rows->fieldByName("DTATUAVENPAG")->asDateTime()));
    const QString idConta = text(rows, "IDCONTA");
    EXPECT_TRUE(idConta.startsWith("Filial" + text(rows, "CDFILIAL") + " - Conta" +
                                   text(rows, "NRSEQVENPAG") + "." + text(rows, "NRPARCELAPAG") + " "))
        << idConta.toStdString();
    EXPECT_EQ(screen->dbtNome->text(), idConta);
}

TEST_F(ScreenTest, DocumentoJoinsNumberAndSeriesAndIsCutTo23) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    screen->cdsCntPagar->setData(payableRows({
        {{"NRNOTAFISC", "123456"}},
        {{"NRNOTAFISC", "123456"}, {"CDSERIEENTR", "U"}},
        {{"NRNOTAFISC", "12345678901234567890"}, {"CDSERIEENTR", "ABCDE"}},
    }));
    EXPECT_EQ(cellText(screen->dbgPadrao, 0, "DOCUMENTO"), "123456");
    EXPECT_EQ(cellText(screen->dbgPadrao, 1, "DOCUMENTO"), "123456/U");
    EXPECT_EQ(cellText(screen->dbgPadrao, 2, "DOCUMENTO"), "12345678901234567890/AB");
}

TEST_F(ScreenTest, IdContaComposesTheRowAndFallsBackToTheAccountType) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    const double due = 46000; // 9 December 2025
    screen->cdsCntPagar->setData(payableRows({
        {{"CDFILIAL", "0101"},
         {"NRSEQVENPAG", "02"},
         {"NRPARCELAPAG", "03"},
         {"DTATUAVENPAG", due},
         {"VRATUAPAG", 1234.5},
         {"DSCONTAPAG", "Aluguel"},
         {"DSTPCTPAGAR", "Despesas"}},
        {{"CDFILIAL", "0101"},
         {"NRSEQVENPAG", "02"},
         {"NRPARCELAPAG", "04"},
         {"DTATUAVENPAG", due},
         {"VRATUAPAG", -7.0},
         {"DSCONTAPAG", "  "},
         {"DSTPCTPAGAR", "Despesas"}},
        {{"DSCONTAPAG", QString(80, u'x')}},
    }));
    ClientDataSet *rows = screen->cdsCntPagar;
    rows->first();
    EXPECT_EQ(text(rows, "IDCONTA"), "Filial0101 - Conta02.03 09/12/2025 1.234,50 Aluguel");
    EXPECT_EQ(screen->dbtNome->text(), "Filial0101 - Conta02.03 09/12/2025 1.234,50 Aluguel");
    rows->next();
    EXPECT_EQ(text(rows, "IDCONTA"), "Filial0101 - Conta02.04 09/12/2025 -7,00 Despesas");
    rows->next();
    EXPECT_EQ(text(rows, "IDCONTA").size(), 70);
}

TEST_F(ScreenTest, ReloadingOrClosingThePayablesEmptiesTheMarksAndDisablesConfirm) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    const DataPacket packet = payableRows({
        {{"CDFILIAL", "0101"},
         {"NRLANCTONF", "7"},
         {"NRSEQVENPAG", "01"},
         {"NRPARCELAPAG", "02"},
         {"IDMARCADO", "N"}},
        {{"CDFILIAL", "0102"},
         {"NRLANCTONF", "8"},
         {"NRSEQVENPAG", "01"},
         {"NRPARCELAPAG", "01"},
         {"IDMARCADO", "N"}},
    });
    ClientDataSet *rows = screen->cdsCntPagar;
    const auto mark = [rows](const char *flag) {
        rows->edit();
        rows->fieldByName("IDMARCADO")->setAsString(flag);
        rows->post();
    };
    for (const auto &reload : {std::function<void()>([&] { rows->setData(packet); }),
                               std::function<void()>([&] { rows->close(); })}) {
        rows->setData(packet);
        EXPECT_FALSE(screen->sbtConfirmar->isEnabled());
        mark("S");
        mark("S");
        EXPECT_EQ(screen->markedSet()->Keys(), QStringList({"010102701"}));
        EXPECT_TRUE(screen->sbtConfirmar->isEnabled());
        EXPECT_TRUE(screen->mnuConfirmar->isEnabled());

        reload();
        EXPECT_EQ(screen->markedSet()->Count(), 0);
        EXPECT_FALSE(screen->sbtConfirmar->isEnabled());
        EXPECT_FALSE(screen->mnuConfirmar->isEnabled());
    }
    rows->setData(packet);
    mark("S");
    mark("N");
    EXPECT_EQ(screen->markedSet()->Count(), 0);
    EXPECT_FALSE(screen->sbtConfirmar->isEnabled());
}

TEST_F(ScreenTest, DatasetsDeclareTheirFieldsAndTheScratchOnesStartEmpty) {
    TfrmRecCtPagar *screen = openScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->cdsCntPagar->fieldCount(), 30);
    EXPECT_EQ(screen->cdsCntPagar->field(4)->name(), "DOCUMENTO");
    EXPECT_EQ(screen->cdsCntPagar->field(24)->name(), "IDCONTA");
    EXPECT_EQ(visibleFields(screen->cdsCntPagar),
              QStringList({"DOCUMENTO", "DTATUAVENPAG", "NMRAZSOCFORN", "VRATUAPAG", "NRPARCELAPAG"}));
    EXPECT_FALSE(screen->cdsCntPagar->fieldByName("IDMARCADO")->def().providerFlags);
    EXPECT_EQ(visibleFields(screen->cdsAjusPag),
              QStringList({"DTAJUSTEPAG", "CDAJUCTPAG", "IDAJUCTPAG", "DSAJUSTEPAG", "VRAJUSTEPAG"}));
    EXPECT_EQ(screen->cdsAjusPag->fieldByName("CDAJUCTPAG")->def().editMask, "9999;0; ");
    EXPECT_FALSE(screen->cdsCntPagar->active());
    EXPECT_FALSE(screen->cdsAjusPag->active());

    for (ClientDataSet *scratch : {screen->cdsLancContTemp, screen->cdsRateio, screen->cdsErrosTemp}) {
        EXPECT_TRUE(scratch->active()) << scratch->objectName().toStdString();
        EXPECT_TRUE(scratch->isEmpty()) << scratch->objectName().toStdString();
    }
    EXPECT_EQ(visibleFields(screen->cdsLancContTemp),
              QStringList({"CDEMPRESA", "CDCONTREDU", "NMCONTCTBL", "CDCONTCTBL", "CDHISTPADR", "DSHISTCTB",
                           "VRLANCCTBTEMP", "CDLANCCTBCOME"}));
    EXPECT_EQ(visibleFields(screen->cdsRateio), QStringList({"CDFILIAL", "NMFILIAL", "CDCENTCUST",
                                                             "NMCENTCUST", "DTCOMPCTBTEMP", "CDEMPRESA"}));
    EXPECT_EQ(screen->cdsErrosTemp->fieldCount(), 2);
}
