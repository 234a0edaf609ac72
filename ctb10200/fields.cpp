#include "ctb10200/fields.h"

#include "server_contract/recconpag.h"

namespace {

FieldDef calculated(FieldDef def) {
    def.calculated = true;
    def.providerFlags = false;
    return def;
}

FieldDef calculatedText(const char *name, int size) {
    return calculated(contract::textField(name, size));
}

FieldDef calculatedMoney(const char *name) {
    FieldDef def = calculated(contract::floatField(name));
    def.displayFormat = QStringLiteral("#,##0.00");
    return def;
}

} // namespace

namespace PreviaFields {

QList<FieldDef> lancamentos() {
    return RecConPag::lancContTempFields() +
           QList<FieldDef>{calculatedText("CONTADEBITO", 20), calculatedText("CONTACREDITO", 20),
                           calculatedMoney("VRDEBITO"), calculatedMoney("VRCREDITO")};
}

QList<FieldDef> rateio() {
    return RecConPag::rateioFields() +
           QList<FieldDef>{calculatedMoney("VRDEBITO"), calculatedMoney("VRCREDITO")};
}

QList<FieldDef> erros() {
    return RecConPag::errosTempFields() + QList<FieldDef>{calculatedText("DSERRO", 120),
                                                          calculatedText("NRLANCCTB", 20),
                                                          calculatedText("CDCONTCTBL", 20)};
}

} // namespace PreviaFields
