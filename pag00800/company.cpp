#include "pag00800/tfrmrecctpagar.h"

#include "framework/core/abort.h"
#include "framework/core/routines.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/session/adoibquery.h"
#include "framework/session/norvela.h"
#include "framework/session/operador.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/focus/focusevents.h"
#include "framework/ui/messages/guard.h"
#include "pag00801/tfrmfiltrorecctpagar.h"
#include "server_contract/recconpag.h"

#include <QAction>
#include <QLineEdit>

void TfrmRecCtPagar::bindCompanyEvents() {
    connect(medCdEmpresa, &QLineEdit::textChanged, this, guarded([this] { medCdEmpresaChange(); }));
    onFocusExit(medCdEmpresa, [this] { medCdEmpresaExit(); });
    onFocusEnter(panFiltro, [this] { panFiltroEnter(); });
    onFocusExit(panFiltro, [this] { panFiltroExit(); });
    btpEmpresa->OnBeforePesq = [this] { btpEmpresaBeforePesq(); };
    btpEmpresa->OnAfterPesq = [this] { btpEmpresaAfterPesq(); };
    connect(sbtFiltro, &QAbstractButton::clicked, this, guarded([this] { sbtFiltroClick(); }));
    connect(mnuFiltro, &QAction::triggered, this, guarded([this] { sbtFiltroClick(); }));
}

// Fails with the message of key: shown once, and the running handler stops.
void TfrmRecCtPagar::failCompany(const char *key) {
    MensErro(msgPadrao.Msg(QLatin1String(key)), false);
    throw SilentAbort();
}

// Whatever fails here leaves the cursor in the company code.
void TfrmRecCtPagar::Vd_Empresa(bool required) {
    try {
        if (EmptyString(medCdEmpresa->text())) {
            if (!required)
                return;
            medCdEmpresa->setFocus();
            failCompany("Emp_Deve");
        }
        const QString code = Ajusta(medCdEmpresa->text(), 2);
        medCdEmpresa->setText(code);
        qryEmpresa->Close();
        qryEmpresa->ParamByName(QStringLiteral("P_CDEMPRESA"))->setAsString(code);
        qryEmpresa->Open();
        if (qryEmpresa->IsEmpty()) {
            medCdEmpresa->setFocus();
            failCompany("Emp_Nc");
        }
        if (!AcessoOperEmpresa(Norvela::Operador(), code))
            failCompany("Emp_NRelac");
        edtNmEmpresa->setText(qryEmpresa->FieldByName(QStringLiteral("NMEMPRESA"))->asString());
    } catch (...) {
        medCdEmpresa->setFocus();
        throw;
    }
}

void TfrmRecCtPagar::medCdEmpresaChange() {
    edtNmEmpresa->clear();
}

void TfrmRecCtPagar::medCdEmpresaExit() {
    Vd_Empresa(false);
    loadAccountingPeriod();
}

// The open accounting period of the company in the code field; a server error keeps the last one.
void TfrmRecCtPagar::loadAccountingPeriod() {
    const QVariant result = netRecContaPagar->call(RecConPag::Method::GETPerContabil, {medCdEmpresa->text()});
    cdsPerContabil->setData(CheckResultServ(result, true, 0).value<DataPacket>());
}

void TfrmRecCtPagar::btpEmpresaBeforePesq() {
    qryEmpresa->Close();
    qryEmpresa->ParamByName(QStringLiteral("P_CDEMPRESA"))->Clear();
    qryEmpresa->Open();
}

// The operator's right to the picked company is checked when the panel is left.
void TfrmRecCtPagar::btpEmpresaAfterPesq() {
    medCdEmpresa->setText(qryEmpresa->FieldByName(QStringLiteral("CDEMPRESA"))->asString());
    edtNmEmpresa->setText(qryEmpresa->FieldByName(QStringLiteral("NMEMPRESA"))->asString());
    loadAccountingPeriod();
}

// Company entry: the payables are closed (and with them the marks) until the panel is left again.
void TfrmRecCtPagar::panFiltroEnter() {
    setFilterCommandEnabled(false);
    cdsCntPagar->close();
    pgcPadrao->setActivePage(tshFolhaDados);
    tshFormulario->setEnabled(false);
    medCdEmpresa->setFocus();
    sbtContab->setEnabled(false);
}

// Browsing: reached only when the company holds and the silent filter run has loaded the payables.
void TfrmRecCtPagar::panFiltroExit() {
    Vd_Empresa(true);
    CriaFiltroRecContPagar(QStringLiteral("ESCONDE_FILTRO"));
    setFilterCommandEnabled(true);
    sbtContab->setEnabled(true);
}

void TfrmRecCtPagar::setFilterCommandEnabled(bool enabled) {
    sbtFiltro->setEnabled(enabled);
    mnuFiltro->setEnabled(sbtFiltro->isEnabled());
}

void TfrmRecCtPagar::sbtFiltroClick() {
    CriaFiltroRecContPagar(QStringLiteral("BOTAO_FILTRO"));
}

// Runs on state changes of dtsEmpresa and dtsAjusPag, and, through the base screen, of dtsPadrao.
void TfrmRecCtPagar::dtsPadraoStateChange() {
    const bool hasRows = cdsCntPagar->active() && !cdsCntPagar->isEmpty();
    if (hasRows)
        cdsCntPagarAfterPost();
    Bot_Confirma();
    updateDataCommands();
    tshFormulario->setEnabled(hasRows);
}
