#include "pag00800/tfrmrecctpagar.h"
#include "pag00801/tfrmfiltrorecctpagar.h"

#include "framework/core/abort.h"
#include "framework/core/routines.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/controls/radiogroup.h"
#include "framework/ui/feedback/waitcursor.h"
#include "server_contract/recconpag.h"

#include <QCheckBox>
#include <QRadioButton>

// Validates the criteria, fetches the payables into the recalculation screen, keeps the criteria
// for the next silent run and closes. A failure ends it before anything is fetched or kept.
void TfrmFiltroRecCtPagar::sbtConfirmaClick() {
    adjustDocumentNumber(medNrDocuIni);
    if (EmptyString(medNrDocuFin->text()))
        medNrDocuFin->setText(medNrDocuIni->text());
    const QString ctbl = ctblLetter();
    validateCriteria();
    fetchPayables(ctbl);
    storeCriteria();
    TfrmFiltroPadrao::sbtConfirmaClick();
}

QString TfrmFiltroRecCtPagar::ctblLetter() const {
    switch (rdgCtbl->ItemIndex()) {
    case 0:
        return QStringLiteral("C");
    case 1:
        return QStringLiteral("N");
    default:
        return QStringLiteral("T");
    }
}

// The criteria of the page "Conta a Pagar" first, then those of "Documento"; the first failure ends it.
void TfrmFiltroRecCtPagar::validateCriteria() {
    depVencIni->CheckValidDate();
    depVencFin->CheckValidDate();
    Vd_DtVencIni(true);
    Vd_DtVencFin(true);
    Vd_TipoCont();
    Vd_VrOriginalIni();
    Vd_VrLiquidoIni();
    Vd_Fornecedor();
    Vd_NrDocuIni();
    Vd_NrDocuFin();
    depDtEmissaoIni->CheckValidDate();
    depDtEmissaoFin->CheckValidDate();
    Vd_DtEmissaoIni(true);
    Vd_DtEmissaoFin(true);
    depDtEntradaIni->CheckValidDate();
    depDtEntradaFin->CheckValidDate();
    Vd_DtEntradaIni(true);
    Vd_DtEntradaFin(true);
    Vd_FiliOrig();
    Vd_FiliLanc();
    Vd_VrDocuIni();
}

// GetCntPagar with its 26 arguments; the list texts take back what the server writes into them.
void TfrmFiltroRecCtPagar::fetchPayables(const QString &ctbl) {
    if (frmRecCtPagar.isNull())
        MensErro(QStringLiteral("A tela de Recálculo da Contabilização de Contas a Pagar não está aberta."),
                 true);
    WaitCursor hourglass;
    QString contabil = ctbl;
    const QList<NetArg> args = {
        frmRecCtPagar->medCdEmpresa->text(),
        rbtListaForn->isChecked(),
        &ListaFornecedor,
        medNrDocuIni->text(),
        medNrDocuFin->text(),
        depDtEmissaoIni->GetDate(),
        depDtEmissaoFin->GetDate(),
        depDtEntradaIni->GetDate(),
        depDtEntradaFin->GetDate(),
        rbtListaFiliOrig->isChecked(),
        &ListaFiliOrig,
        rbtListaFiliLanc->isChecked(),
        &ListaFiliLanc,
        nedVrDocuIni->GetNumber(),
        nedVrDocuFin->GetNumber(),
        depVencIni->GetDate(),
        depVencFin->GetDate(),
        chbVencidas->isChecked(),
        chbAVencer->isChecked(),
        rbtTipoContLista->isChecked(),
        &ListaTpConta,
        nedVrOriginalIni->GetNumber(),
        nedVrOriginalFin->GetNumber(),
        nedVrLiquidoIni->GetNumber(),
        nedVrLiquidoFin->GetNumber(),
        &contabil,
    };
    const QVariant result = netRecContaPagar->call(RecConPag::Method::GetCntPagar, args);
    frmRecCtPagar->cdsCntPagar->setData(CheckResultServ(result, true, 0).value<DataPacket>());
}
