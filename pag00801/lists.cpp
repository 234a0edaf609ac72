#include "pag00801/tfrmfiltrorecctpagar.h"

#include "framework/core/datasource.h"
#include "framework/ui/controls/btnpesquisa.h"

#include <QRadioButton>

// Each search button is usable exactly while its "Lista" button is checked; the list text stays.
void TfrmFiltroRecCtPagar::rbtListaFornClick() {
    btnListForn->setEnabled(rbtListaForn->isChecked());
}

void TfrmFiltroRecCtPagar::rbtListaFiliOrigClick() {
    btnFiliOrig->setEnabled(rbtListaFiliOrig->isChecked());
}

void TfrmFiltroRecCtPagar::rbtListaFiliLancClick() {
    btnFiliLanc->setEnabled(rbtListaFiliLanc->isChecked());
}

void TfrmFiltroRecCtPagar::rbtTipoContListaClick() {
    btnTpConta->setEnabled(rbtTipoContLista->isChecked());
}
