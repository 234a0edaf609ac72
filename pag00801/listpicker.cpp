#include "pag00801/listpicker.h"

#include "framework/ui/dialogs/pesquisalista.h"
#include "server_contract/listargs.h"

namespace {

QString refusalOf(const QString &code) {
    const QString fault = CodeList::faultOf(code);
    if (fault.isEmpty())
        return {};
    return QStringLiteral("o código \"%1\" %2, o que a lista do filtro não aceita.").arg(code, fault);
}

QStringList codesOf(const QString &list) {
    try {
        return CodeList::parse(list);
    } catch (const CodeList::FormatError &) {
        return {};
    }
}

} // namespace

void PesquisaLista(DataSource *source, const QString &keyField, const QString &title, bool markAll,
                   QString &list) {
    const ChoiceRules rules{.refusal = refusalOf,
                            .maxChosen = CodeList::maxCodes,
                            .hint = QStringLiteral("Para não restringir, escolha \"Todos\" (ou \"Todas\").")};
    if (const auto chosen = PesquisaLista(source, keyField, title, markAll, codesOf(list), rules))
        list = CodeList::write(*chosen);
}
