#include "host/previewrun.h"

#include "framework/core/abort.h"
#include "framework/core/dataset.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "server_contract/recconpag.h"

using namespace RecConPag;

namespace {

// Every payable of the company, whatever its dates, values and accounting state.
DataPacket allPayables(TNetConnection &net, const QString &company) {
    QString suppliers, originBranches, postingBranches, accountTypes;
    QString accounted = QStringLiteral("T");
    const QList<NetArg> args = {
        company, false,     &suppliers,      QString(), QString(),        0.0, 0.0, 0.0,
        0.0,     false,     &originBranches, false,     &postingBranches, 0.0, 0.0, 0.0,
        0.0,     false,     false,           false,     &accountTypes,    0.0, 0.0, 0.0,
        0.0,     &accounted};
    return CheckResultServ(net.call(Method::GetCntPagar, args), true, 0).value<DataPacket>();
}

// Marks the first two payables of type DIVER and leaves the first of them current.
void markDiverse(ClientDataSet &payables) {
    int marked = 0;
    for (payables.first(); !payables.eof() && marked < 2; payables.next()) {
        if (payables.fieldByName("CDTPCTPAGAR")->asString() != QLatin1String("DIVER"))
            continue;
        payables.edit();
        payables.fieldByName("IDMARCADO")->setAsString(QStringLiteral("S"));
        payables.post();
        ++marked;
    }
    if (marked == 0)
        MensErro(QStringLiteral("Nenhuma conta a pagar do tipo DIVER para o recálculo de demonstração."),
                 true);
    payables.locate(QStringLiteral("IDMARCADO"), {QStringLiteral("S")});
}

} // namespace

void openPreviewOfFailedRun(const QString &company) {
    TNetConnection net;
    net.setServerName(serverName);
    net.setHost(Norvela::WebURL());
    net.setPort(quint16(Norvela::WebPort()));
    ClientDataSet payables;
    payables.setData(allPayables(net, company));
    markDiverse(payables);
    const QVariantList answer =
        CheckResultServ(net.call(Method::SetConfirmar, {payables.data(), Norvela::Operador(), company}), true,
                        0)
            .toList();
    if (answer.size() != ConfirmarResultCount ||
        answer.at(ResultErrosTemp).value<DataPacket>().rowCount() == 0)
        MensErro(
            QStringLiteral("O recálculo de demonstração não foi recusado por erros de contabilização: %1")
                .arg(answer.value(ResultStatus).toString()),
            true);
    Norvela::LoadBPL(QStringLiteral("CTB10200"),
                     {company, payables.fieldByName("NRLANCTBDOC")->asString(), answer.at(ResultLancContTemp),
                      answer.at(ResultRateio), answer.at(ResultErrosTemp)});
}
