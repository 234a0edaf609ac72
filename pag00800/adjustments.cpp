#include "pag00800/tfrmrecctpagar.h"

#include "framework/core/routines.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/ui/dialogs/procura.h"
#include "server_contract/recconpag.h"

void TfrmRecCtPagar::bindAdjustmentsEvents() {
    attachAfterScroll();
    cdsAjusPag->fieldByName("CDAJUCTPAG")->setOnGetText([this](Field &sender) {
        return cdsAjusPagCDAJUCTPAGGetText(sender);
    });
    cdsAjusPag->fieldByName("IDAJUCTPAG")->setOnGetText([this](Field &sender) {
        return cdsAjusPagIDAJUCTPAGGetText(sender);
    });
}

void TfrmRecCtPagar::attachAfterScroll() {
    connect(cdsCntPagar, &ClientDataSet::afterScroll, this, &TfrmRecCtPagar::cdsCntPagarAfterScroll,
            Qt::UniqueConnection);
}

void TfrmRecCtPagar::detachAfterScroll() {
    disconnect(cdsCntPagar, &ClientDataSet::afterScroll, this, &TfrmRecCtPagar::cdsCntPagarAfterScroll);
}

// Fetches the adjustments of the payable that became current. The page never shows another
// payable's adjustments: an empty list has none, and a failed fetch empties the page before the
// failure is shown.
void TfrmRecCtPagar::cdsCntPagarAfterScroll() {
    if (cdsCntPagar->isEmpty()) {
        emptyAdjustments();
        return;
    }
    const auto text = [this](const char *name) { return cdsCntPagar->fieldByName(name)->asString(); };
    QVariant result;
    try {
        result = netRecContaPagar->call(
            RecConPag::Method::GetAjusPag,
            {text("CDFILIAL"), text("NRLANCTONF"), text("NRSEQVENPAG"), text("NRPARCELAPAG")});
    } catch (...) {
        emptyAdjustments();
        throw;
    }
    if (isServerFailure(result))
        emptyAdjustments();
    cdsAjusPag->setData(CheckResultServ(result, true, 0).value<DataPacket>());
}

void TfrmRecCtPagar::emptyAdjustments() {
    if (cdsAjusPag->active())
        cdsAjusPag->emptyDataSet();
}

// The adjustment type shows by its description, never by its code; no code, no description.
QString TfrmRecCtPagar::cdsAjusPagCDAJUCTPAGGetText(Field &sender) {
    if (EmptyString(sender.asString()))
        return {};
    return cdsAjusPag->fieldByName("DSAJUCTPAG")->asString();
}

QString TfrmRecCtPagar::cdsAjusPagIDAJUCTPAGGetText(Field &sender) {
    const QString flag = sender.asString();
    if (flag == u"D")
        return msgPadrao.Msg(QStringLiteral("Desc"));
    if (flag == u"A")
        return msgPadrao.Msg(QStringLiteral("Acres"));
    return {};
}

// Choosing the item toggles its check mark by itself, so the marks are set again from the page
// shown, also when the page did not change.
void TfrmRecCtPagar::mnuFormularioClick() {
    TfrmPadrao::mnuFormularioClick();
    pgcPadraoChange();
}

// Searches the page shown: the payables on the grid page, the adjustments on their page.
void TfrmRecCtPagar::sbtProcurarClick() {
    if (pgcPadrao->ActivePage() == tshFolhaDados) {
        TfrmPadrao::sbtProcurarClick();
        return;
    }
    ClientDataSet *adjustments = dtsAjusPag->dataSet();
    if (adjustments && adjustments->active())
        Procura(adjustments);
}
