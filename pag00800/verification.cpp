#include "pag00800/tfrmrecctpagar.h"

#include "framework/core/abort.h"
#include "framework/core/routines.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "server_contract/recconpag.h"

namespace {

// The bank situations of an instalment whose boleto has not gone to the bank.
bool boletoStillHere(const QString &situation) {
    return EmptyString(situation) || situation == QLatin1String("00") || situation == QLatin1String("01");
}

} // namespace

// The instalment number is the caller's copy: each call that takes it by reference may rewrite it,
// and the next call sends what the server wrote. Each check reads the key afresh from the row.
void TfrmRecCtPagar::Veri_CntAlterada(DataSource *source, QString instalment, const QString &status,
                                      double value, double dueDate) {
    ClientDataSet *row = source->dataSet();
    const auto key = [row](const char *name) { return row->fieldByName(name)->asString(); };
    const auto refused = [this](const char *messageKey) {
        MensErro(msgPadrao.Msg(QLatin1String(messageKey)), true);
    };
    using namespace RecConPag;

    loadVerification(cdsExistConta, Method::GetExistConta,
                     {key("CDFILIAL"), key("NRLANCTONF"), key("NRSEQVENPAG"), &instalment});
    if (cdsExistConta->fieldByName("NRCNT")->asInteger() == 0) {
        loadVerification(cdsExistDoc, Method::GetExistConta,
                         {key("CDFILIAL"), key("NRLANCTONF"), key("NRSEQVENPAG")});
        refused(cdsExistDoc->fieldByName("NRDOC")->asInteger() == 0 ? "DOC_EXC" : "CNT_PAR");
    }
    loadVerification(cdsTipoCnt, Method::GetTipoCnt, {key("CDFILIAL"), key("NRLANCTONF")});
    if (cdsTipoCnt->fieldByName("IDSTATUS")->asString() != status)
        refused("DOC_TP");
    loadVerification(cdsVrBoleto, Method::GetVrBoleto,
                     {key("CDFILIAL"), key("NRLANCTONF"), key("NRSEQVENPAG"), &instalment});
    if (RoundDec(cdsVrBoleto->fieldByName("VRATUAPAG")->asFloat(), 2) != RoundDec(value, 2))
        refused("CNT_VRDIF");
    loadVerification(cdsCntProrrogada, Method::GetCntProrrogada,
                     {key("CDFILIAL"), key("NRLANCTONF"), key("NRSEQVENPAG"), &instalment});
    if (cdsCntProrrogada->fieldByName("DTATUAVENPAG")->asDateTime() != dueDate)
        refused("CNT_PROR");
    if (!boletoStillHere(cdsVrBoleto->fieldByName("IDSITUCNABP")->asString()))
        refused("BOL_CNAB");
}

void TfrmRecCtPagar::loadVerification(ClientDataSet *into, const QString &method, const QList<NetArg> &args) {
    into->setData(CheckResultServ(netRecContaPagar->call(method, args), true, 0).value<DataPacket>());
}
