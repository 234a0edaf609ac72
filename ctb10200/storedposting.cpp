#include "ctb10200/storedposting.h"

#include "framework/core/abort.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "server_contract/recconpag.h"

LancamentoGravado buscaLancamentoGravado(TNetConnection &net, const QString &empresa, const QString &numero) {
    using namespace RecConPag;
    const QVariantList answer =
        CheckResultServ(net.call(Method::GetLancContabil, {empresa, numero}), true, 0).toList();
    const auto isPacket = [&answer](int index) {
        return answer.value(index).metaType() == QMetaType::fromType<DataPacket>();
    };
    if (answer.size() != LancContabilResultCount || !isPacket(LancContabilLinhas) ||
        !isPacket(LancContabilRateio))
        MensErro(QStringLiteral("O servidor de aplicação respondeu ao pedido do lançamento contábil de forma "
                                "inesperada."),
                 true);
    return {answer.at(LancContabilLinhas).value<DataPacket>(),
            answer.at(LancContabilRateio).value<DataPacket>()};
}
