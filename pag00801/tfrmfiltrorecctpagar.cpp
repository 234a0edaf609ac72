#include "pag00801/tfrmfiltrorecctpagar.h"

#include "framework/core/dataset.h"
#include "framework/core/routines.h"
#include "framework/core/tdatetime.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/radiogroup.h"
#include "framework/ui/feedback/waitcursor.h"
#include "framework/ui/messages/guard.h"
#include "server_contract/filtrorecconpag.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QMainWindow>
#include <QRadioButton>
#include <QScreen>

#include <optional>
#include <tuple>

// Cleared by the unit's initialization, which the package loader runs once per load.
QPointer<TfrmFiltroRecCtPagar> frmFiltroRecCtPagar;
bool FiltroCriado = false;
QString ListaFornecedor;
QString ListaFiliOrig;
QString ListaFiliLanc;
QString ListaTpConta;

namespace {

// A document number is 7 characters wide unless the branch parameters say otherwise.
constexpr int defaultDocumentWidth = 7;

// A whole number read from the first row of a parameter packet; a null value or no row gives 0.
int wholeNumber(ClientDataSet *parameters, const char *fieldName) {
    if (parameters->isEmpty())
        return 0;
    Field *field = parameters->fieldByName(fieldName);
    return field->isNull() ? 0 : qRound(field->asFloat());
}

// Centres the dialog over the host's window and keeps it wholly on the screen.
void placeOverHost(QWidget *dialog) {
    dialog->adjustSize();
    QWidget *host = Norvela::mainWindow();
    QScreen *screen = host ? host->screen() : QGuiApplication::primaryScreen();
    QRect frame(QPoint(), dialog->frameGeometry().size());
    frame.moveCenter(host ? host->frameGeometry().center() : screen->availableGeometry().center());
    const QRect visible = screen->availableGeometry();
    frame.moveRight(qMin(frame.right(), visible.right()));
    frame.moveBottom(qMin(frame.bottom(), visible.bottom()));
    frame.moveTopLeft(QPoint(qMax(frame.left(), visible.left()), qMax(frame.top(), visible.top())));
    dialog->move(frame.topLeft());
}

} // namespace

TfrmFiltroRecCtPagar::TfrmFiltroRecCtPagar(QWidget *parent)
    : TfrmFiltroPadrao(parent) {
    setObjectName(QStringLiteral("frmFiltroRecCtPagar"));
    buildWindow();
    buildDataSets();
    buildPageContaPagar();
    buildPageDocumento();
    buildHotKey();
    buildConnections();
    fillMessages();
    bindHandlers();
}

TfrmFiltroRecCtPagar::~TfrmFiltroRecCtPagar() = default;

void TfrmFiltroRecCtPagar::bindHandlers() {
    connect(netFiltroRecContaPagar, &TNetConnection::BeforeConnect, this,
            &TfrmFiltroRecCtPagar::netFiltroRecContaPagarBeforeConnect);
    connect(netRecContaPagar, &TNetConnection::BeforeConnect, this,
            &TfrmFiltroRecCtPagar::netRecContaPagarBeforeConnect);
    connect(sbtLimpa, &QAbstractButton::clicked, this, guarded([this] { sbtLimpaClick(); }));
    connect(mnuDesfazer, &QAction::triggered, this, guarded([this] { mnuDesfazerClick(); }));
    const auto bindPair = [this](QRadioButton *all, QRadioButton *lista,
                                 void (TfrmFiltroRecCtPagar::*handler)()) {
        for (QRadioButton *button : {all, lista})
            connect(button, &QRadioButton::toggled, this,
                    guarded([this, handler](bool) { (this->*handler)(); }));
    };
    bindPair(rbtTodosForn, rbtListaForn, &TfrmFiltroRecCtPagar::rbtListaFornClick);
    bindPair(rbtTodasFiliOrig, rbtListaFiliOrig, &TfrmFiltroRecCtPagar::rbtListaFiliOrigClick);
    bindPair(rbtTodasFiliLanc, rbtListaFiliLanc, &TfrmFiltroRecCtPagar::rbtListaFiliLancClick);
    bindPair(rbtTodosTipoCont, rbtTipoContLista, &TfrmFiltroRecCtPagar::rbtTipoContListaClick);
    bindExitHandlers();
    bindListGroups();
}

// Connects both modules, reads the parameters and sets the held criteria to the defaults.
void TfrmFiltroRecCtPagar::FormCreate() {
    TfrmFiltroPadrao::FormCreate();
    if (!netRecContaPagar->connected())
        netRecContaPagar->setConnected(true);
    if (!netFiltroRecContaPagar->connected())
        netFiltroRecContaPagar->setConnected(true);
    loadGeralPag();
    loadParamFilial();
    setDocumentWidth();
    setDefaultCriteria();
}

void TfrmFiltroRecCtPagar::loadGeralPag() {
    const QVariant result = netFiltroRecContaPagar->call(FiltroRecContPagar::Method::GetGeralPag);
    cdsGeralPag->setData(CheckResultServ(result, true, 0).value<DataPacket>());
}

void TfrmFiltroRecCtPagar::loadParamFilial() {
    const QVariant result =
        netFiltroRecContaPagar->call(FiltroRecContPagar::Method::GetParamFilial, {Norvela::FiliProc()});
    cdsParamFilial->setData(CheckResultServ(result, true, 0).value<DataPacket>());
}

void TfrmFiltroRecCtPagar::setDocumentWidth() {
    int width = defaultDocumentWidth;
    if (!cdsParamFilial->isEmpty() && !EmptyString(cdsParamFilial->fieldByName("NRTAMNUMNFUT")->asString()))
        width = wholeNumber(cdsParamFilial, "NRTAMNUMNFUT");
    medNrDocuIni->setMaxLength(width);
    medNrDocuFin->setMaxLength(width);
}

void TfrmFiltroRecCtPagar::setDefaultCriteria() {
    Filtro = TFILTRO();
    std::tie(Filtro.VencIni, Filtro.VencFin) = defaultDueRange();
}

std::pair<double, double> TfrmFiltroRecCtPagar::defaultDueRange() const {
    return {today() - wholeNumber(cdsGeralPag, "QTDIAANTLANP"),
            today() + wholeNumber(cdsGeralPag, "QTDIAAPOLANP")};
}

// Runs each time the dialog is shown and at the start of every silent run.
void TfrmFiltroRecCtPagar::FormActivate() {
    repaint();
    rgpTipo->setEnabled(false);
    cbbStatus->setEnabled(false);
    if (!netRecContaPagar->connected())
        netRecContaPagar->setConnected(true);
    if (!netFiltroRecContaPagar->connected())
        netFiltroRecContaPagar->setConnected(true);
    restoreCriteria();
}

// The screen is only hidden; it stays for the next use.
void TfrmFiltroRecCtPagar::FormClose(CloseAction &action) {
    action = CloseAction::Hide;
    netFiltroRecContaPagar->setConnected(false);
    netRecContaPagar->setConnected(false);
}

void TfrmFiltroRecCtPagar::netFiltroRecContaPagarBeforeConnect() {
    netFiltroRecContaPagar->setHost(Norvela::WebURL());
    netFiltroRecContaPagar->setPort(quint16(Norvela::WebPort()));
}

void TfrmFiltroRecCtPagar::netRecContaPagarBeforeConnect() {
    netRecContaPagar->setHost(Norvela::WebURL());
    netRecContaPagar->setPort(quint16(Norvela::WebPort()));
}

// The screen belongs to the host's window, over which it is shown; one that went with a closed host
// window is created afresh. The wait cursor covers the creation and the silent run, not the time
// the user spends in the dialog, and it goes on every way out.
void CriaFiltroRecContPagar(const QString &mode) {
    std::optional<WaitCursor> hourglass(std::in_place);
    if (!FiltroCriado || frmFiltroRecCtPagar.isNull()) {
        frmFiltroRecCtPagar = TfrmFiltroPadrao::create<TfrmFiltroRecCtPagar>(Norvela::mainWindow());
        FiltroCriado = true;
    }
    if (mode == QStringLiteral("BOTAO_FILTRO")) {
        hourglass.reset();
        placeOverHost(frmFiltroRecCtPagar);
        frmFiltroRecCtPagar->exec();
    } else if (mode == QStringLiteral("ESCONDE_FILTRO")) {
        frmFiltroRecCtPagar->FormActivate();
        frmFiltroRecCtPagar->sbtConfirmaClick();
    }
}
