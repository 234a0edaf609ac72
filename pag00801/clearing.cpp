#include "pag00801/tfrmfiltrorecctpagar.h"

// The clearing of the criteria ("Desfazer"); the shortcut Ctrl+D does the same.
void TfrmFiltroRecCtPagar::sbtLimpaClick() {}

void TfrmFiltroRecCtPagar::mnuDesfazerClick() {
    sbtLimpaClick();
}
