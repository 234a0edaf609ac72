#include "pag00800/tfrmrecctpagar.h"

#include "framework/core/abort.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/feedback/busyindicator.h"
#include "framework/ui/feedback/updatelock.h"
#include "framework/ui/messages/showmsg.h"
#include "pag00801/tfrmfiltrorecctpagar.h"
#include "server_contract/recconpag.h"

#include <QMainWindow>
#include <stdexcept>

namespace {

const QString rowKeyFields = QStringLiteral("CDFILIAL;NRLANCTONF;NRSEQVENPAG;NRPARCELAPAG");

// The answer of SetConfirmar: the status and the three packets, in order.
QVariantList confirmationOf(const QVariant &value) {
    const QVariantList answer = value.toList();
    if (answer.size() != RecConPag::ConfirmarResultCount)
        throw std::runtime_error("O servidor respondeu ao recálculo de forma inesperada.");
    return answer;
}

} // namespace

// Only the marked rows stay in view while the run goes; the view and the grid come back by either
// path, and the cursor returns to the row that was the first marked one.
void TfrmRecCtPagar::sbtConfirmarClick() {
    TfrmPadrao::sbtConfirmarClick();
    QVariantList firstMarked;
    try {
        ActiveShowAvi(Norvela::mainWindow() ? Norvela::mainWindow() : window(), 0);
        cdsCntPagar->disableControls();
        showMarkedRowsOnly();
        firstMarked = currentRowKey();
        const QString status = sendMarkedRows();
        judgeRunStatus(status);
        showAllRowsAgain();
        if (status == RecConPag::StatusOk)
            ShowMsg(msgPadrao, QStringLiteral("RecCont_suc"), DialogType::Information, DialogButton::Ok, 0);
        sbtVerificarClick();
    } catch (...) {
        showAllRowsAgain();
        DeactiveShowAvi();
        returnToRow(firstMarked);
        throw;
    }
    returnToRow(firstMarked);
    DeactiveShowAvi();
}

void TfrmRecCtPagar::sbtVerificarClick() {
    CriaFiltroRecContPagar(QStringLiteral("ESCONDE_FILTRO"));
}

void TfrmRecCtPagar::showMarkedRowsOnly() {
    cdsCntPagar->first();
    cdsCntPagar->setFiltered(false);
    cdsCntPagar->setFilter(QStringLiteral("IDMARCADO = 'S'"));
    cdsCntPagar->setFiltered(true);
}

void TfrmRecCtPagar::showAllRowsAgain() {
    cdsCntPagar->setFiltered(false);
    cdsCntPagar->enableControls();
    LockWindowUpdate(nullptr);
}

QVariantList TfrmRecCtPagar::currentRowKey() const {
    QVariantList key;
    for (const QString &name : rowKeyFields.split(u';'))
        key << cdsCntPagar->fieldByName(name)->asString();
    return key;
}

void TfrmRecCtPagar::returnToRow(const QVariantList &key) {
    if (!key.isEmpty() && cdsCntPagar->active())
        cdsCntPagar->locate(rowKeyFields, key, LocateOption::CaseInsensitive);
}

// The whole packet goes out, every row with its mark; the three packets of the answer are kept
// whatever the status says.
QString TfrmRecCtPagar::sendMarkedRows() {
    const QVariant result =
        netRecContaPagar->call(RecConPag::Method::SetConfirmar, {QVariant::fromValue(cdsCntPagar->data()),
                                                                 Norvela::Operador(), medCdEmpresa->text()});
    const QVariantList answer = confirmationOf(CheckResultServ(result, true, 0));
    cdsLancContTemp->setData(answer.at(RecConPag::ResultLancContTemp).value<DataPacket>());
    cdsRateio->setData(answer.at(RecConPag::ResultRateio).value<DataPacket>());
    cdsErrosTemp->setData(answer.at(RecConPag::ResultErrosTemp).value<DataPacket>());
    return answer.at(RecConPag::ResultStatus).toString();
}

// A blocked document ends the run; accounting errors go to the preview and end it too. Any other
// status text is the server's word to the user, shown as it comes.
void TfrmRecCtPagar::judgeRunStatus(const QString &status) {
    if (status == RecConPag::StatusOk)
        return;
    if (status == RecConPag::StatusAltBloq)
        MensErro(msgPadrao.Msg(status), true);
    if (status == RecConPag::StatusErroContabilizacao || status == RecConPag::StatusAjustContab) {
        MensErro(msgPadrao.Msg(status), false);
        if (!cdsErrosTemp->isEmpty()) {
            handOffToPreview(cdsCntPagar->fieldByName("NRLANCTBDOC")->asString());
            throw SilentAbort();
        }
        return;
    }
    MensErro(status, false);
}
