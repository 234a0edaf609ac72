#include "pag00800/empresaquery.h"
#include "pag00800/fields.h"
#include "pag00800/tfrmrecctpagar.h"

#include "framework/core/routines.h"
#include "framework/session/adoibquery.h"
#include "framework/ui/messages/guard.h"
#include "server_contract/recconpag.h"

ClientDataSet *TfrmRecCtPagar::newDataSet(const QString &name, const QList<FieldDef> &fields) {
    auto *dataSet = new ClientDataSet(this);
    dataSet->setObjectName(name);
    for (const FieldDef &def : fields)
        dataSet->addField(def);
    return dataSet;
}

void TfrmRecCtPagar::createDataSets() {
    cdsCntPagar = newDataSet(QStringLiteral("cdsCntPagar"), RecCtPagarFields::cntPagar());
    cdsAjusPag = newDataSet(QStringLiteral("cdsAjusPag"), RecCtPagarFields::ajusPag());
    cdsPerContabil = newDataSet(QStringLiteral("cdsPerContabil"), RecConPag::perContabilFields());
    cdsExistConta = newDataSet(QStringLiteral("cdsExistConta"), RecConPag::existContaFields());
    cdsExistDoc = newDataSet(QStringLiteral("cdsExistDoc"), RecConPag::existDocFields());
    cdsTipoCnt = newDataSet(QStringLiteral("cdsTipoCnt"), RecConPag::tipoCntFields());
    cdsVrBoleto = newDataSet(QStringLiteral("cdsVrBoleto"), RecConPag::vrBoletoFields());
    cdsCntProrrogada = newDataSet(QStringLiteral("cdsCntProrrogada"), RecConPag::cntProrrogadaFields());
    cdsLancContTemp = newDataSet(QStringLiteral("cdsLancContTemp"), RecCtPagarFields::lancContTemp());
    cdsRateio = newDataSet(QStringLiteral("cdsRateio"), RecCtPagarFields::rateio());
    cdsErrosTemp = newDataSet(QStringLiteral("cdsErrosTemp"), RecCtPagarFields::errosTemp());

    qryEmpresa = new TADOIBQuery(this);
    qryEmpresa->setObjectName(QStringLiteral("qryEmpresa"));
    prepareEmpresaQuery(qryEmpresa);
    dtsEmpresa = new DataSource(this);
    dtsEmpresa->setObjectName(QStringLiteral("dtsEmpresa"));
    dtsEmpresa->setDataSet(qryEmpresa);
    dtsAjusPag = new DataSource(this);
    dtsAjusPag->setObjectName(QStringLiteral("dtsAjusPag"));
}

void TfrmRecCtPagar::bindDataSetEvents() {
    markedFlag = cdsCntPagar->fieldByName("IDMARCADO");
    markedKey.emplace(*cdsCntPagar, std::initializer_list<const char *>{"CDFILIAL", "NRPARCELAPAG",
                                                                        "NRLANCTONF", "NRSEQVENPAG"});
    connect(cdsCntPagar, &ClientDataSet::calcFields, this, &TfrmRecCtPagar::cdsCntPagarCalcFields);
    connect(cdsCntPagar, &ClientDataSet::afterOpen, this, &TfrmRecCtPagar::cdsCntPagarAfterOpen);
    connect(cdsCntPagar, &ClientDataSet::afterClose, this, &TfrmRecCtPagar::cdsCntPagarAfterClose);
    connect(cdsCntPagar, &ClientDataSet::afterPost, this, &TfrmRecCtPagar::cdsCntPagarAfterPost);
    for (DataSource *source : {dtsEmpresa, dtsAjusPag})
        connect(source, &DataSource::stateChanged, this, guarded([this] { dtsPadraoStateChange(); }));
}

void TfrmRecCtPagar::cdsCntPagarCalcFields() {
    const auto text = [this](const char *name) { return cdsCntPagar->fieldByName(name)->asString(); };
    if (cdsCntPagar->savedState() != DataSetState::Edit) {
        const QString description =
            EmptyString(text("DSCONTAPAG")) ? text("DSTPCTPAGAR") : text("DSCONTAPAG");
        cdsCntPagar->fieldByName("IDCONTA")->setAsString(
            msgPadrao.Msg(QStringLiteral("Filial")) + text("CDFILIAL") + QStringLiteral(" - ") +
            msgPadrao.Msg(QStringLiteral("Conta")) + text("NRSEQVENPAG") + u'.' + text("NRPARCELAPAG") +
            u' ' + formatShortDate(cdsCntPagar->fieldByName("DTATUAVENPAG")->asDateTime()) + u' ' +
            formatMoney(cdsCntPagar->fieldByName("VRATUAPAG")->asFloat()) + u' ' + description);
    }
    const QString series = text("CDSERIEENTR");
    cdsCntPagar->fieldByName("DOCUMENTO")
        ->setAsString(EmptyString(series) ? text("NRNOTAFISC") : text("NRNOTAFISC") + u'/' + series);
}

// Marks never survive a reload: every open and close of the payables empties the marked set.
void TfrmRecCtPagar::cdsCntPagarAfterOpen() {
    if (lstMarcados)
        lstMarcados->Clear();
}

void TfrmRecCtPagar::cdsCntPagarAfterClose() {
    if (lstMarcados)
        lstMarcados->Clear();
    Bot_Confirma();
}

QString TfrmRecCtPagar::markedKeyOfCurrentRow() const {
    return markedKey->current();
}

// Keeps the marked set in step with the posted row. While the payables are walked in bulk (their
// controls disabled) the confirm commands wait for the walk's end, which brings them up to date.
void TfrmRecCtPagar::cdsCntPagarAfterPost() {
    if (!lstMarcados)
        return;
    postedKey.truncate(0);
    markedKey->appendCurrent(postedKey);
    if (markedFlag->asString() == QLatin1String("S"))
        lstMarcados->Add(postedKey, 0);
    else
        lstMarcados->Remove(postedKey);
    if (!cdsCntPagar->controlsDisabled())
        Bot_Confirma();
}

void TfrmRecCtPagar::Bot_Confirma() {
    mnuConfirmar->setEnabled(lstMarcados && lstMarcados->Count() > 0);
    sbtConfirmar->setEnabled(mnuConfirmar->isEnabled());
}
