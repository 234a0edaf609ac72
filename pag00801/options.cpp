#include "pag00801/tfrmfiltrorecctpagar.h"

#include "framework/core/abort.h"
#include "framework/ui/screens/savedoptions.h"
#include "server_contract/listargs.h"

namespace {

// The saved-option names of the four list texts.
const QString supplierOption = QStringLiteral("stFornecedor");
const QString originOption = QStringLiteral("stFiliOrig");
const QString postingOption = QStringLiteral("stFiliLanc");
const QString typeOption = QStringLiteral("stTpConta");

} // namespace

// The four list texts go with the controls; an empty one is not stored.
void TfrmFiltroRecCtPagar::btfSaveOpcClick() {
    setOptionValue(optionValues, supplierOption, ListaFornecedor);
    setOptionValue(optionValues, originOption, ListaFiliOrig);
    setOptionValue(optionValues, postingOption, ListaFiliLanc);
    setOptionValue(optionValues, typeOption, ListaTpConta);
    TfrmFiltroPadrao::btfSaveOpcClick();
}

void TfrmFiltroRecCtPagar::btfLoadOpcClick() {
    TfrmFiltroPadrao::btfLoadOpcClick();
    ListaFornecedor = optionValue(optionValues, supplierOption);
    ListaFiliOrig = optionValue(optionValues, originOption);
    ListaFiliLanc = optionValue(optionValues, postingOption);
    ListaTpConta = optionValue(optionValues, typeOption);
}

// Saved lists that are no code lists would be refused by the server: such options are not loaded.
void TfrmFiltroRecCtPagar::checkOptionValues(const QStringList &values) {
    for (const QString &name : {supplierOption, originOption, postingOption, typeOption}) {
        try {
            CodeList::parse(optionValue(values, name));
        } catch (const CodeList::FormatError &error) {
            MensErro(QStringLiteral("As opções salvas trazem uma lista inválida (%1): %2")
                         .arg(name, error.message()),
                     true);
        }
    }
}
