#include "pag00800/tfrmrecctpagar.h"

#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/feedback/waitcursor.h"

#include <exception>

// Cleared by the unit's initialization, which the package loader runs once per load.
QPointer<TfrmRecCtPagar> frmRecCtPagar;
bool boIdCriado = false;

TfrmRecCtPagar::TfrmRecCtPagar(QWidget *parent)
    : TfrmPadrao(parent) {
    setObjectName(QStringLiteral("frmRecCtPagar"));
    createDataSets();
    buildWindow();
    buildToolBar();
    buildCompanyPanel();
    buildPayableGrid();
    buildAdjustmentsPage();
    buildNavigator();
    buildMenus();
    buildConnection();
    fillMessages();
    bindDataSetEvents();
    bindAdjustmentsEvents();
    bindCompanyEvents();
}

TfrmRecCtPagar::~TfrmRecCtPagar() = default;

// The confirm command starts disabled: nothing is marked yet.
void TfrmRecCtPagar::FormCreate() {
    TfrmPadrao::FormCreate();
    cdsLancContTemp->createDataSet();
    cdsRateio->createDataSet();
    cdsErrosTemp->createDataSet();
    Bot_Confirma();
}

// A failed connect is reported after the marked set exists and the first activation has put the
// screen in company entry, so the screen stays usable and the next activation connects again.
void TfrmRecCtPagar::FormActivate() {
    repaint();
    std::exception_ptr connectFailure;
    try {
        netRecContaPagar->setConnected(true);
    } catch (...) {
        connectFailure = std::current_exception();
    }
    if (!lstMarcados)
        lstMarcados = std::make_unique<TKeyList>();
    if (!boIdCriado)
        panFiltroEnter();
    if (connectFailure)
        std::rethrow_exception(connectFailure);
}

void TfrmRecCtPagar::FormClose(CloseAction &action) {
    boIdCriado = false;
    netRecContaPagar->setConnected(false);
    lstMarcados.reset();
    TfrmPadrao::FormClose(action);
}

void TfrmRecCtPagar::netRecContaPagarBeforeConnect() {
    netRecContaPagar->setHost(Norvela::WebURL());
    netRecContaPagar->setPort(quint16(Norvela::WebPort()));
}

// The screen is made a child window of the host and activated while boIdCriado is still false,
// which is how its first activation knows to put the screen in company entry. A screen that
// disappeared without closing (its host window destroyed) is created afresh.
void CriaRecConPag() {
    WaitCursor hourglass;
    if (!boIdCriado || frmRecCtPagar.isNull()) {
        auto *form = TfrmPadrao::create<TfrmRecCtPagar>();
        Norvela::showChild(form);
        frmRecCtPagar = form;
        boIdCriado = true;
    }
    Norvela::showChild(frmRecCtPagar);
}
