#include "appserver/modules/filtromodule.h"
#include "appserver/modules/packetbuilder.h"
#include "server_contract/filtrorecconpag.h"

using namespace FiltroRecContPagar;

FiltroRecContPagarModule::FiltroRecContPagarModule() {
    using namespace std::placeholders;
    addMethod(Method::GetGeralPag, std::bind(&FiltroRecContPagarModule::getGeralPag, this, _1, _2));
    addMethod(Method::GetParamFilial, std::bind(&FiltroRecContPagarModule::getParamFilial, this, _1, _2));
}

QString FiltroRecContPagarModule::serverName() const {
    return FiltroRecContPagar::serverName;
}

QVariant FiltroRecContPagarModule::getGeralPag(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetGeralPag, {0});
    return packetVariant(
        select(ctx, "SELECT CDGERALPAG, QTDIAANTLANP, QTDIAAPOLANP FROM GERALPAG ORDER BY CDGERALPAG", {},
               geralPagFields()));
}

// A branch without parameters answers an empty packet: the client then uses its default width.
QVariant FiltroRecContPagarModule::getParamFilial(CallArgs &args, CallContext &ctx) {
    args.expectCount(Method::GetParamFilial, {1});
    requireBranch(ctx, args.text(0));
    return packetVariant(select(ctx, "SELECT NRTAMNUMNFUT FROM PARAMFILIAL WHERE CDFILIAL = ?",
                                {args.text(0)}, paramFilialFields()));
}
