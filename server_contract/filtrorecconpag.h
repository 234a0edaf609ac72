#pragma once

#include "server_contract/fielddefs.h"

// The filter module "PAG00801.rdmFiltroRecContPagar": general payable parameters and branch
// parameters. The payable fetch GetCntPagar belongs to the recalculation module (recconpag.h).
namespace FiltroRecContPagar {

inline const QString serverName = QStringLiteral("PAG00801.rdmFiltroRecContPagar");

namespace Method {
inline const QString GetGeralPag = QStringLiteral("GetGeralPag");       // no arguments
inline const QString GetParamFilial = QStringLiteral("GetParamFilial"); // branch code
} // namespace Method

using namespace contract;

inline const QList<FieldDef> &geralPagFields() {
    static const QList<FieldDef> fields = {textField("CDGERALPAG", 1), floatField("QTDIAANTLANP"),
                                           floatField("QTDIAAPOLANP")};
    return fields;
}

inline const QList<FieldDef> &paramFilialFields() {
    static const QList<FieldDef> fields = {floatField("NRTAMNUMNFUT", "DBNORVELA.PARAMFILIAL.NRTAMNUMNFUT")};
    return fields;
}

} // namespace FiltroRecContPagar
