#pragma once

#include "appserver/modules/modulebase.h"

// "PAG00801.rdmFiltroRecContPagar": the general payable parameters and the parameters of a branch.
class FiltroRecContPagarModule : public ModuleBase {
public:
    FiltroRecContPagarModule();
    QString serverName() const override;

private:
    QVariant getGeralPag(CallArgs &args, CallContext &ctx);
    QVariant getParamFilial(CallArgs &args, CallContext &ctx);
};
