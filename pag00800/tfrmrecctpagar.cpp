#include "pag00800/tfrmrecctpagar.h"

#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/feedback/waitcursor.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <exception>

// Cleared by the unit's initialization, which the package loader runs once per load.
QPointer<TfrmRecCtPagar> frmRecCtPagar;
bool boIdCriado = false;

namespace {

QMdiArea *hostMdiArea() {
    QMainWindow *host = Norvela::mainWindow();
    return host ? qobject_cast<QMdiArea *>(host->centralWidget()) : nullptr;
}

// Keeps the window's initial size but moves it into the visible part of the host's area when its
// initial position would leave part of it outside.
void fitIntoArea(QMdiSubWindow *window, QMdiArea *area) {
    QRect geometry = window->geometry();
    const QRect visible = area->viewport()->rect();
    geometry.moveRight(qMin(geometry.right(), visible.right()));
    geometry.moveBottom(qMin(geometry.bottom(), visible.bottom()));
    geometry.moveTopLeft(QPoint(qMax(geometry.left(), 0), qMax(geometry.top(), 0)));
    window->setGeometry(geometry);
}

} // namespace

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

// A failed connect is reported after the marked set exists and the focus is placed, so the screen
// stays usable and the next activation connects again.
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
        medCdEmpresa->setFocus();
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
// which is how its first activation knows to put the focus on the company code. A screen that
// disappeared without closing (its host window destroyed) is created afresh.
void CriaRecConPag() {
    WaitCursor hourglass;
    if (!boIdCriado || frmRecCtPagar.isNull()) {
        auto *form = TfrmPadrao::create<TfrmRecCtPagar>();
        if (QMdiArea *area = hostMdiArea())
            fitIntoArea(form->placeInMdiArea(area), area);
        form->showForm();
        frmRecCtPagar = form;
        boIdCriado = true;
    }
    frmRecCtPagar->showForm();
}
