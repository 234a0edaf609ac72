#include "pag00801/tfrmfiltrorecctpagar.h"

#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/controls/radiogroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace {

// "Todos"/"Todas" checked, which runs the group's radio handler, and the list emptied.
void resetGroup(QRadioButton *all, QRadioButton *lista, QString &list) {
    all->setChecked(true);
    lista->setChecked(false);
    list.clear();
}

void clearDates(TDateEditPlus *initial, TDateEditPlus *final) {
    for (TDateEditPlus *entry : {initial, final}) {
        entry->Clear();
        entry->SetDate(0);
    }
}

void setNumbers(std::initializer_list<TNumberEdit *> entries, double value) {
    for (TNumberEdit *entry : entries)
        entry->SetNumber(value);
}

} // namespace

// Puts every criterion back to its default, the due range from the general parameters as the
// server has them now. The held criteria (Filtro) stay: they change only on confirmation.
void TfrmFiltroRecCtPagar::sbtLimpaClick() {
    loadGeralPag();
    resetGroup(rbtTodosForn, rbtListaForn, ListaFornecedor);
    medNrDocuIni->clear();
    medNrDocuFin->clear();
    clearDates(depDtEmissaoIni, depDtEmissaoFin);
    clearDates(depDtEntradaIni, depDtEntradaFin);
    resetGroup(rbtTodasFiliOrig, rbtListaFiliOrig, ListaFiliOrig);
    resetGroup(rbtTodasFiliLanc, rbtListaFiliLanc, ListaFiliLanc);
    setNumbers({nedVrDocuIni, nedVrDocuFin}, 0);
    rgpTipo->setItemIndex(0);
    const auto [dueFrom, dueTo] = defaultDueRange();
    depVencIni->Clear();
    depVencFin->Clear();
    depVencIni->SetDate(dueFrom);
    depVencFin->SetDate(dueTo);
    resetGroup(rbtTodosTipoCont, rbtTipoContLista, ListaTpConta);
    setNumbers({nedVrOriginalIni, nedVrOriginalFin, nedVrLiquidoIni, nedVrLiquidoFin}, 0);
    rdgCtbl->setItemIndex(2);
    cbbStatus->setCurrentIndex(3);
    chbAVencer->setChecked(false);
    chbVencidas->setChecked(false);
}

void TfrmFiltroRecCtPagar::mnuDesfazerClick() {
    sbtLimpaClick();
}
