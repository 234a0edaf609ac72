#include "filterdata.h"
#include "listsfixture.h"
#include "tests/framework/ui/support.h"

#include "framework/core/tdatetime.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/controls/radiogroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

namespace {

// Sets the general payable parameters in the server's database.
void setGeralPag(int daysBefore, int daysAfter) {
    FilterData::execute(QStringLiteral("UPDATE GERALPAG SET QTDIAANTLANP = ?, QTDIAAPOLANP = ?"),
                        {daysBefore, daysAfter});
}

// Every criterion away from its default.
void changeEverything(TfrmFiltroRecCtPagar *filter) {
    for (QRadioButton *lista :
         {filter->rbtListaForn, filter->rbtListaFiliOrig, filter->rbtListaFiliLanc, filter->rbtTipoContLista})
        lista->click();
    ListaFornecedor = QStringLiteral("F9002");
    ListaFiliOrig = QStringLiteral("0902");
    ListaFiliLanc = QStringLiteral("0901");
    ListaTpConta = QStringLiteral("SERV");
    filter->medNrDocuIni->setText(QStringLiteral("1"));
    filter->medNrDocuFin->setText(QStringLiteral("2"));
    for (TDateEditPlus *date : {filter->depDtEmissaoIni, filter->depDtEmissaoFin, filter->depDtEntradaIni,
                                filter->depDtEntradaFin, filter->depVencIni, filter->depVencFin})
        date->SetDate(today() - 100);
    for (TNumberEdit *value : {filter->nedVrDocuIni, filter->nedVrDocuFin, filter->nedVrOriginalIni,
                               filter->nedVrOriginalFin, filter->nedVrLiquidoIni, filter->nedVrLiquidoFin})
        value->SetNumber(12.5);
    filter->rgpTipo->setItemIndex(1);
    filter->rdgCtbl->setItemIndex(0);
    filter->cbbStatus->setCurrentIndex(0);
    filter->chbAVencer->setChecked(true);
    filter->chbVencidas->setChecked(true);
}

// What the clearing sets: every control's value, whether each search button can be used, the lists.
QStringList stateOf(TfrmFiltroRecCtPagar *filter) {
    QStringList state;
    for (QRadioButton *radio : filter->findChildren<QRadioButton *>())
        if (!radio->objectName().isEmpty())
            state << radio->objectName() + u'=' + QString::number(radio->isChecked());
    for (TBtnPesquisa *button :
         {filter->btnListForn, filter->btnFiliOrig, filter->btnFiliLanc, filter->btnTpConta})
        state << button->objectName() + u'=' + QString::number(button->isEnabled());
    for (MaskedEdit *edit : {filter->medNrDocuIni, filter->medNrDocuFin})
        state << edit->objectName() + u'=' + edit->text();
    for (TDateEditPlus *date : {filter->depDtEmissaoIni, filter->depDtEmissaoFin, filter->depDtEntradaIni,
                                filter->depDtEntradaFin, filter->depVencIni, filter->depVencFin})
        state << date->objectName() + u'=' + QString::number(date->GetDate() - today());
    for (TNumberEdit *value : {filter->nedVrDocuIni, filter->nedVrDocuFin, filter->nedVrOriginalIni,
                               filter->nedVrOriginalFin, filter->nedVrLiquidoIni, filter->nedVrLiquidoFin})
        state << value->objectName() + u'=' + value->text();
    state << QStringLiteral("rgpTipo=%1").arg(filter->rgpTipo->ItemIndex())
          << QStringLiteral("rdgCtbl=%1").arg(filter->rdgCtbl->ItemIndex())
          << QStringLiteral("cbbStatus=%1").arg(filter->cbbStatus->currentIndex())
          << QStringLiteral("chbAVencer=%1").arg(filter->chbAVencer->isChecked())
          << QStringLiteral("chbVencidas=%1").arg(filter->chbVencidas->isChecked())
          << QStringLiteral("listas=") +
                 QStringList{ListaFornecedor, ListaFiliOrig, ListaFiliLanc, ListaTpConta}.join(u'|');
    return state;
}

} // namespace

// "Desfazer" and Ctrl+D reset every criterion, the due range from the parameters as the server has
// them now, and leave the held criteria alone.
TEST_F(ListsTest, ClearingReadsTheParametersAgainAndCtrlDDoesTheSame) {
    ASSERT_NE(openWithCompany(FilterData::company), nullptr);
    CriaFiltroRecContPagar(QStringLiteral("ESCONDE_FILTRO"));
    const TFILTRO held = frmFiltroRecCtPagar->Filtro;
    setGeralPag(5, 7);
    QStringList byShortcut, byButton;
    inDialog([&](TfrmFiltroRecCtPagar *filter) {
        ASSERT_TRUE(activate(filter));
        changeEverything(filter);
        filter->medNrDocuIni->setFocus();
        QTest::keyClick(filter->medNrDocuIni, Qt::Key_D, Qt::ControlModifier);
        byShortcut = stateOf(filter);
        changeEverything(filter);
        QTest::mouseClick(filter->sbtLimpa, Qt::LeftButton);
        byButton = stateOf(filter);
    });
    setGeralPag(30, 30);
    EXPECT_EQ(byShortcut, byButton);
    const QStringList expected = {
        "rbtTodosTipoCont=1", "rbtTipoContLista=0", "rbtTodosForn=1",     "rbtListaForn=0",
        "rbtTodasFiliOrig=1", "rbtListaFiliOrig=0", "rbtTodasFiliLanc=1", "rbtListaFiliLanc=0",
        "btnListForn=0",      "btnFiliOrig=0",      "btnFiliLanc=0",      "btnTpConta=0",
        "medNrDocuIni=",      "medNrDocuFin=",      "depVencIni=-5",      "depVencFin=7"};
    for (const QString &line : expected)
        EXPECT_TRUE(byButton.contains(line)) << line.toStdString();
    for (const QString &line : byButton) {
        if (line.startsWith(QLatin1String("depDt"))) {
            EXPECT_TRUE(line.endsWith(QString::number(-today()))) << line.toStdString() << ": no date";
        }
        if (line.startsWith(QLatin1String("ned"))) {
            EXPECT_TRUE(line.endsWith(u'=') || line.endsWith(QLatin1String("0,00"))) << line.toStdString();
        }
    }
    for (const char *line :
         {"rgpTipo=0", "rdgCtbl=2", "cbbStatus=3", "chbAVencer=0", "chbVencidas=0", "listas=|||"})
        EXPECT_TRUE(byButton.contains(QString::fromLatin1(line))) << line;
    EXPECT_EQ(frmFiltroRecCtPagar->Filtro, held);
    EXPECT_EQ(messages.texts(), QStringList());
}
