#include "pag00800/tfrmrecctpagar.h"

#include "framework/session/norvela.h"

// The preview is opened for the posting under the cursor: the payable's on the grid page, the
// adjustment's on the adjustments page. The scratch packets go empty, so it shows what is stored.
void TfrmRecCtPagar::sbtContabClick() {
    for (ClientDataSet *scratch : {cdsLancContTemp, cdsRateio, cdsErrosTemp})
        if (scratch->active())
            scratch->emptyDataSet();
    const QString postingNumber = pgcPadrao->ActivePage() == tshFolhaDados
                                      ? cdsCntPagar->fieldByName("NRLANCTBDOC")->asString()
                                      : cdsAjusPag->fieldByName("NRLCTBAJPAG")->asString();
    handOffToPreview(postingNumber);
}

// The accounting preview receives the company, the posting number and the entries, apportionment
// and errors packets, in that order.
void TfrmRecCtPagar::handOffToPreview(const QString &postingNumber) {
    Norvela::LoadBPL(QStringLiteral("CTB10200"),
                     {cdsCntPagar->fieldByName("CDEMPRESA")->asString(), postingNumber,
                      QVariant::fromValue(cdsLancContTemp->data()), QVariant::fromValue(cdsRateio->data()),
                      QVariant::fromValue(cdsErrosTemp->data())});
}
