#pragma once

#include "appserver/modules/modulebase.h"

// "PAG00800.rdmRecConPag": the verification queries of one payable, the company's accounting
// period, the adjustments of an instalment, the payable fetch, the recalculation run and the
// postings it stored.
class RecConPagModule : public ModuleBase {
public:
    // A payable fetch answers at most `maxFetchRows` rows.
    explicit RecConPagModule(int maxFetchRows);
    QString serverName() const override;

private:
    QVariant getExistConta(CallArgs &args, CallContext &ctx);
    QVariant getTipoCnt(CallArgs &args, CallContext &ctx);
    QVariant getVrBoleto(CallArgs &args, CallContext &ctx);
    QVariant getCntProrrogada(CallArgs &args, CallContext &ctx);
    QVariant getPerContabil(CallArgs &args, CallContext &ctx);
    QVariant getAjusPag(CallArgs &args, CallContext &ctx);
    QVariant getCntPagar(CallArgs &args, CallContext &ctx);
    QVariant setConfirmar(CallArgs &args, CallContext &ctx);
    QVariant getLancContabil(CallArgs &args, CallContext &ctx);
    QVariant getAuditRecalc(CallArgs &args, CallContext &ctx);

    // The key of an instalment from the first four arguments, after checking the branch; writes the
    // instalment number back in its two-digit form when it was given with one digit.
    QVariantList instalmentKey(CallArgs &args, CallContext &ctx);

    int m_maxFetchRows;
};
