#include "filterdata.h"
#include "filterfixture.h"

#include "framework/core/tdatetime.h"
#include "framework/net/netconnection.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/controls/radiogroup.h"
#include "server_contract/recconpag.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

namespace {

// The criteria that only the matching payable of company 09 meets, typed and clicked as a clerk would.
void enterFilterDataCriteria(TfrmFiltroRecCtPagar *filter) {
    FilterTest::typeInto(filter->depVencIni, FilterTest::typedDate(-30));
    FilterTest::typeInto(filter->depVencFin, FilterTest::typedDate(30));
    QTest::mouseClick(filter->rbtTipoContLista, Qt::LeftButton);
    ListaTpConta = QStringLiteral("MAT");
    FilterTest::typeInto(filter->nedVrOriginalIni, QStringLiteral("800"));
    FilterTest::typeInto(filter->nedVrOriginalFin, QStringLiteral("1000"));
    FilterTest::typeInto(filter->nedVrLiquidoIni, QStringLiteral("800"));
    FilterTest::typeInto(filter->nedVrLiquidoFin, QStringLiteral("900"));
    QTest::mouseClick(filter->chbVencidas, Qt::LeftButton);
    QTest::mouseClick(filter->rdgCtbl->button(0), Qt::LeftButton);

    filter->pgcPadrao->setActivePage(filter->tshDocumento);
    QTest::mouseClick(filter->rbtListaForn, Qt::LeftButton);
    ListaFornecedor = QStringLiteral("F9001");
    FilterTest::typeInto(filter->medNrDocuIni, QStringLiteral("1000"));
    FilterTest::typeInto(filter->medNrDocuFin, QStringLiteral("2000"));
    FilterTest::typeInto(filter->depDtEmissaoIni, FilterTest::typedDate(-55));
    FilterTest::typeInto(filter->depDtEmissaoFin, FilterTest::typedDate(-45));
    FilterTest::typeInto(filter->depDtEntradaIni, FilterTest::typedDate(-50));
    FilterTest::typeInto(filter->depDtEntradaFin, FilterTest::typedDate(-40));
    QTest::mouseClick(filter->rbtListaFiliOrig, Qt::LeftButton);
    ListaFiliOrig = QStringLiteral("0901");
    QTest::mouseClick(filter->rbtListaFiliLanc, Qt::LeftButton);
    ListaFiliLanc = QStringLiteral("0902");
    FilterTest::typeInto(filter->nedVrDocuIni, QStringLiteral("500"));
    FilterTest::typeInto(filter->nedVrDocuFin, QStringLiteral("1500"));
}

TFILTRO filterDataCriteria() {
    TFILTRO criteria;
    criteria.Fornecedor = {false, QStringLiteral("F9001")};
    criteria.Documento = {QStringLiteral("000001000"), QStringLiteral("000002000")};
    criteria.DtEmissaoIni = today() - 55;
    criteria.DtEmissaoFin = today() - 45;
    criteria.DtEntradaIni = today() - 50;
    criteria.DtEntradaFin = today() - 40;
    criteria.FiliOrig = {false, QStringLiteral("0901")};
    criteria.FiliLanc = {false, QStringLiteral("0902")};
    criteria.VrDocuIni = 500;
    criteria.VrDocuFin = 1500;
    criteria.VencIni = today() - 30;
    criteria.VencFin = today() + 30;
    criteria.TipoConta = {false, QStringLiteral("MAT")};
    criteria.VrOriginalIni = 800;
    criteria.VrOriginalFin = 1000;
    criteria.VrLiquidoIni = 800;
    criteria.VrLiquidoFin = 900;
    criteria.Ctbl = 0;
    return criteria;
}

const QString matchingPayable = QStringLiteral("0901/900000/01/01");

} // namespace

// Company 09 holds, beside the matching payable, one payable for each criterion that fails that
// criterion alone: the server's answer shows that every criterion reached it as entered.
TEST_F(FilterTest, ConfirmingEditedCriteriaFetchesWhatOnlyThoseCriteriaSelectAndKeepsThem) {
    ASSERT_NE(openWithCompany(FilterData::company), nullptr);
    inDialog([](TfrmFiltroRecCtPagar *filter) {
        enterFilterDataCriteria(filter);
        QTest::mouseClick(filter->sbtConfirma, Qt::LeftButton);
        EXPECT_FALSE(filter->isVisible());
    });
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_EQ(fetchedPayables(), QStringList{matchingPayable});
    EXPECT_TRUE(frmFiltroRecCtPagar->Filtro == filterDataCriteria());
    EXPECT_FALSE(frmFiltroRecCtPagar->netRecContaPagar->connected());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The next silent run repeats the query; a situation box is not part of the held criteria but keeps its
    // state.
    frmRecCtPagar->cdsCntPagar->close();
    CriaFiltroRecContPagar(QStringLiteral("ESCONDE_FILTRO"));
    EXPECT_EQ(fetchedPayables(), QStringList{matchingPayable});
    EXPECT_TRUE(frmFiltroRecCtPagar->chbVencidas->isChecked());
}

TEST_F(FilterTest, TheSameCriteriaWithoutTheDecoyFiltersFetchMore) {
    using namespace RecConPag;
    // Sanity of the data: dropping any one criterion lets its decoy through.
    const QMap<int, QVariant> all = {{ArgListaForn, true},
                                     {ArgFornecedores, "F9001"},
                                     {ArgNrDocuIni, "000001000"},
                                     {ArgNrDocuFin, "000002000"},
                                     {ArgDtEmissaoIni, today() - 55},
                                     {ArgDtEmissaoFin, today() - 45},
                                     {ArgDtEntradaIni, today() - 50},
                                     {ArgDtEntradaFin, today() - 40},
                                     {ArgListaFiliOrig, true},
                                     {ArgFiliOrig, "0901"},
                                     {ArgListaFiliLanc, true},
                                     {ArgFiliLanc, "0902"},
                                     {ArgVrDocuIni, 500.0},
                                     {ArgVrDocuFin, 1500.0},
                                     {ArgVencidas, true},
                                     {ArgListaTpConta, true},
                                     {ArgTiposConta, "MAT"},
                                     {ArgVrOriginalIni, 800.0},
                                     {ArgVrOriginalFin, 1000.0},
                                     {ArgVrLiquidoIni, 800.0},
                                     {ArgVrLiquidoFin, 900.0},
                                     {ArgContabil, "C"}};
    EXPECT_EQ(payables(fetchDirect(FilterData::company, all)), QStringList{matchingPayable});
    for (int dropped :
         {ArgListaForn, ArgNrDocuFin, ArgDtEmissaoFin, ArgDtEntradaFin, ArgListaFiliOrig, ArgListaFiliLanc,
          ArgVrDocuFin, ArgVencIni, ArgVencidas, ArgListaTpConta, ArgVrOriginalFin, ArgVrLiquidoFin}) {
        QMap<int, QVariant> fewer = all;
        fewer[dropped] = fewer[dropped].typeId() == QMetaType::Bool ? QVariant(false) : QVariant(0.0);
        if (dropped == ArgNrDocuFin)
            fewer[dropped] = QString();
        EXPECT_GT(payables(fetchDirect(FilterData::company, fewer)).size(), 1) << "argument " << dropped + 1;
    }
    QMap<int, QVariant> bothStates = all;
    bothStates[ArgContabil] = QStringLiteral("T");
    EXPECT_GT(payables(fetchDirect(FilterData::company, bothStates)).size(), 1);
}
