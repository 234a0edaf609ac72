#include "pag00801/tfrmfiltrorecctpagar.h"

#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/controls/radiogroup.h"

#include <QComboBox>
#include <QRadioButton>

namespace {

// Checking a button runs its group's radio handler, so the search button follows.
void checkPair(QRadioButton *all, QRadioButton *lista, bool allChecked) {
    all->setChecked(allChecked);
    lista->setChecked(!allChecked);
}

void setDate(TDateEditPlus *entry, double days) {
    entry->Clear();
    entry->SetDate(days);
}

} // namespace

// Puts the held criteria back into the controls and the list texts. The situation boxes, the page
// in front and the focus stay as they are.
void TfrmFiltroRecCtPagar::restoreCriteria() {
    checkPair(rbtTodosForn, rbtListaForn, Filtro.Fornecedor.Todos);
    ListaFornecedor = Filtro.Fornecedor.Lista;
    medNrDocuIni->setText(Filtro.Documento.NrDocuIni);
    medNrDocuFin->setText(Filtro.Documento.NrDocuFin);
    setDate(depDtEmissaoIni, Filtro.DtEmissaoIni);
    setDate(depDtEmissaoFin, Filtro.DtEmissaoFin);
    setDate(depDtEntradaIni, Filtro.DtEntradaIni);
    setDate(depDtEntradaFin, Filtro.DtEntradaFin);
    checkPair(rbtTodasFiliOrig, rbtListaFiliOrig, Filtro.FiliOrig.Todas);
    ListaFiliOrig = Filtro.FiliOrig.Lista;
    checkPair(rbtTodasFiliLanc, rbtListaFiliLanc, Filtro.FiliLanc.Todas);
    ListaFiliLanc = Filtro.FiliLanc.Lista;
    nedVrDocuIni->SetNumber(Filtro.VrDocuIni);
    nedVrDocuFin->SetNumber(Filtro.VrDocuFin);
    rgpTipo->setItemIndex(Filtro.Tipo);
    setDate(depVencIni, Filtro.VencIni);
    setDate(depVencFin, Filtro.VencFin);
    checkPair(rbtTodosTipoCont, rbtTipoContLista, Filtro.TipoConta.Todos);
    ListaTpConta = Filtro.TipoConta.Lista;
    nedVrOriginalIni->SetNumber(Filtro.VrOriginalIni);
    nedVrOriginalFin->SetNumber(Filtro.VrOriginalFin);
    nedVrLiquidoIni->SetNumber(Filtro.VrLiquidoIni);
    nedVrLiquidoFin->SetNumber(Filtro.VrLiquidoFin);
    cbbStatus->setCurrentIndex(Filtro.Status);
    rdgCtbl->setItemIndex(Filtro.Ctbl);
}

// Keeps what the last successful confirmation sent (the situation boxes excepted).
void TfrmFiltroRecCtPagar::storeCriteria() {
    Filtro.Fornecedor = {rbtTodosForn->isChecked(), ListaFornecedor};
    Filtro.Documento = {medNrDocuIni->text(), medNrDocuFin->text()};
    Filtro.DtEmissaoIni = depDtEmissaoIni->GetDate();
    Filtro.DtEmissaoFin = depDtEmissaoFin->GetDate();
    Filtro.DtEntradaIni = depDtEntradaIni->GetDate();
    Filtro.DtEntradaFin = depDtEntradaFin->GetDate();
    Filtro.FiliOrig = {rbtTodasFiliOrig->isChecked(), ListaFiliOrig};
    Filtro.FiliLanc = {rbtTodasFiliLanc->isChecked(), ListaFiliLanc};
    Filtro.VrDocuIni = nedVrDocuIni->GetNumber();
    Filtro.VrDocuFin = nedVrDocuFin->GetNumber();
    Filtro.Tipo = rgpTipo->ItemIndex();
    Filtro.VencIni = depVencIni->GetDate();
    Filtro.VencFin = depVencFin->GetDate();
    Filtro.TipoConta = {rbtTodosTipoCont->isChecked(), ListaTpConta};
    Filtro.VrOriginalIni = nedVrOriginalIni->GetNumber();
    Filtro.VrOriginalFin = nedVrOriginalFin->GetNumber();
    Filtro.VrLiquidoIni = nedVrLiquidoIni->GetNumber();
    Filtro.VrLiquidoFin = nedVrLiquidoFin->GetNumber();
    Filtro.Status = cbbStatus->currentIndex();
    Filtro.Ctbl = rdgCtbl->ItemIndex();
}
