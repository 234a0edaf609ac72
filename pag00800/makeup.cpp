#include "pag00800/checkpictures.h"
#include "pag00800/tfrmrecctpagar.h"

#include "framework/net/netconnection.h"
#include "framework/session/adoibquery.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/toolicons.h"
#include "framework/ui/grid/dbtext.h"
#include "framework/ui/messages/guard.h"
#include "server_contract/recconpag.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

namespace {

QLabel *hiddenPicture(const QString &name, const QRect &geometry, bool ticked, QWidget *parent) {
    auto *picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setPixmap(checkBoxPicture(ticked));
    picture->setGeometry(geometry);
    picture->hide();
    return picture;
}

void setBaseColour(QWidget *control, QPalette::ColorRole role) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, palette.color(role));
    control->setPalette(palette);
}

GridColumn column(const char *fieldName, int width = -1, const QString &title = {},
                  Qt::Alignment alignment = Qt::AlignLeft, std::optional<QFont> font = {}) {
    GridColumn column;
    column.fieldName = QLatin1String(fieldName);
    column.width = width;
    column.title = title;
    column.titleAlignment = alignment | Qt::AlignVCenter;
    column.titleFont = font;
    return column;
}

QFont titleFont(const QString &family, bool bold) {
    QFont font(family);
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

} // namespace

void TfrmRecCtPagar::buildWindow() {
    setWindowTitle(QStringLiteral("Recálculo da Contabilização de Contas a Pagar"));
    setInitialGeometry(QRect(515, 334, 553, 422));
    setHelpFile(QStringLiteral("paghelp.hlp"));
    setHelpContext(11900800);
    lblCodTela->setText(QStringLiteral("PAG00800"));
    // Pixel sizes of the make-up are meant for an 11-pixel font.
    QFont screenFont = font();
    screenFont.setPixelSize(11);
    setFont(screenFont);
}

void TfrmRecCtPagar::buildToolBar() {
    sbtFiltro = new TButtonFlat(QStringLiteral("sbtFiltro"), QStringLiteral("Filtrar"), panMenu);
    sbtFiltro->setIcon(toolIcon(QStringLiteral("filtro")));
    sbtFiltro->setEnabled(false);
    sbtContab = new TButtonFlat(QStringLiteral("sbtContab"), QStringLiteral("Contabilizar"), panMenu);
    sbtContab->setIcon(toolIcon(QStringLiteral("contabilizar")));
    connect(sbtContab, &QAbstractButton::clicked, this, guarded([this] { sbtContabClick(); }));
    addToolButton(sbtFiltro, sbtImprimir);
    addToolButton(sbtContab, sbtImprimir);
    sbtImprimir->setEnabled(false);
    ImgCheck = hiddenPicture(QStringLiteral("ImgCheck"), QRect(502, 2, 16, 16), true, panMenu);
    imgUnCheck = hiddenPicture(QStringLiteral("imgUnCheck"), QRect(502, 12, 16, 16), false, panMenu);
}

void TfrmRecCtPagar::buildCompanyPanel() {
    panFiltro = new QWidget(this);
    panFiltro->setObjectName(QStringLiteral("panFiltro"));
    panFiltro->setFixedHeight(35);
    Label1 = new QLabel(QStringLiteral("Empresa"), panFiltro);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 11, 61, 13);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    medCdEmpresa = new MaskedEdit(QStringLiteral("medCdEmpresa"), panFiltro);
    medCdEmpresa->setEditMask(QStringLiteral("99;0; "));
    medCdEmpresa->setMaxLength(2);
    medCdEmpresa->setGeometry(71, 8, 25, 21);
    setBaseColour(medCdEmpresa, QPalette::ToolTipBase);
    btpEmpresa = new TBtnPesquisa(QStringLiteral("btpEmpresa"), panFiltro);
    btpEmpresa->setHint(QStringLiteral("Pesquisar"));
    btpEmpresa->setText(QStringLiteral("..."));
    btpEmpresa->setGeometry(101, 8, 21, 21);
    btpEmpresa->setAssociate(medCdEmpresa);
    btpEmpresa->setTitle(QStringLiteral("Empresa"));
    btpEmpresa->setDataSource(dtsEmpresa);
    btpEmpresa->setEmptyError(QStringLiteral("Não há empresa cadastrada."));
    // Tab takes the typed code straight out of the panel, to the payables; a click on the search
    // button keeps the focus inside it.
    btpEmpresa->setFocusPolicy(Qt::ClickFocus);
    edtNmEmpresa = new QLineEdit(panFiltro);
    edtNmEmpresa->setObjectName(QStringLiteral("edtNmEmpresa"));
    edtNmEmpresa->setGeometry(127, 8, 388, 21);
    edtNmEmpresa->setEnabled(false);
    setBaseColour(edtNmEmpresa, QPalette::Button);
    setTabOrder(medCdEmpresa, btpEmpresa);
    setTabOrder(btpEmpresa, edtNmEmpresa);
    setTabOrder(edtNmEmpresa, dbgPadrao);
    addTopPanel(panFiltro);
}

void TfrmRecCtPagar::buildPayableGrid() {
    dtsPadrao->setDataSet(cdsCntPagar);
    // The marking column's title is the check mark of a symbol font.
    dbgPadrao->setColumns({
        column("DTATUAVENPAG", 67),
        column("NMRAZSOCFORN", 249),
        column("NRPARCELAPAG"),
        column("DOCUMENTO", 63),
        column("VRATUAPAG", 70, {}, Qt::AlignRight),
        column("IDMARCADO", 20, QStringLiteral("4"), Qt::AlignHCenter,
               titleFont(QStringLiteral("Monotype Sorts"), true)),
    });
}

void TfrmRecCtPagar::buildAdjustmentsPage() {
    pgcPadrao->setTabText(pgcPadrao->indexOf(tshFormulario), QStringLiteral("Ajustes"));
    tshFormulario->setEnabled(false);
    dtsAjusPag->setDataSet(cdsAjusPag);
    dbgAjusPag = new DataGrid(QStringLiteral("dbgAjusPag"), scbFormulario);
    scbFormulario->layout()->addWidget(dbgAjusPag);
    dbgAjusPag->setDataSource(dtsAjusPag);
    dbgAjusPag->setFrameShape(QFrame::NoFrame);
    setBaseColour(dbgAjusPag, QPalette::ToolTipBase);
    dbgAjusPag->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgAjusPag->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgAjusPag->setTabKeyNavigation(false);
    dbgAjusPag->verticalHeader()->hide();
    const QFont font = titleFont(QStringLiteral("MS Sans Serif"), false);
    dbgAjusPag->setColumns({
        column("DTAJUSTEPAG", 68, QStringLiteral("Data"), Qt::AlignLeft, font),
        column("CDAJUCTPAG", 115, QStringLiteral("Tipo de Ajuste"), Qt::AlignLeft, font),
        column("IDAJUCTPAG", 62, QStringLiteral("Acre/Desc"), Qt::AlignLeft, font),
        column("DSAJUSTEPAG", 135, QStringLiteral("Descrição"), Qt::AlignLeft, font),
        column("VRAJUSTEPAG", 87, QStringLiteral("Valor"), Qt::AlignRight, font),
    });
}

void TfrmRecCtPagar::buildNavigator() {
    dbtNome = new DataLabel(QStringLiteral("dbtNome"), panNavigator);
    dbtNome->setDataSource(dtsPadrao);
    dbtNome->setDataField(QStringLiteral("IDCONTA"));
    static_cast<QHBoxLayout *>(panNavigator->layout())->insertWidget(0, dbtNome, 1);
}

void TfrmRecCtPagar::buildMenus() {
    mnuFormulario->setText(QStringLiteral("&Ajustes"));
    mnuFormulario->setEnabled(true);
    for (QAction *item :
         {mnuListagem, mnuConfigImpressora, mnuIncluir, mnuAlterar, mnuExcluir, mnuVerificar, mnuCancelar})
        item->setEnabled(false);
    N1 = mnuManutencao->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    mnuFiltro = mnuManutencao->addAction(QStringLiteral("&Filtro"));
    mnuFiltro->setObjectName(QStringLiteral("mnuFiltro"));
    mnuFiltro->setShortcut(shortcutOf(16460));
}

void TfrmRecCtPagar::buildConnection() {
    netRecContaPagar = new TNetConnection(this);
    netRecContaPagar->setObjectName(QStringLiteral("netRecContaPagar"));
    netRecContaPagar->setServerName(RecConPag::serverName);
    netRecContaPagar->setThrowException(false);
    connect(netRecContaPagar, &TNetConnection::BeforeConnect, this,
            &TfrmRecCtPagar::netRecContaPagarBeforeConnect);
}

void TfrmRecCtPagar::fillMessages() {
    msgPadrao.setLines({
        QStringLiteral("HistPd_nc|Não há histórico padrão cadastrado para integração contábil."),
        QStringLiteral("Emp_Deve|Empresa deve ser informada."),
        QStringLiteral("Emp_Nc|Empresa não cadastrada."),
        QStringLiteral("DOC_EXC|Documento foi excluído por outro usuário."),
        QStringLiteral("CNTBAIXADA|Conta foi baixada por outro usuário."),
        QStringLiteral("DOC_TP|Tipo do documento foi alterado por outro usuário."),
        QStringLiteral("CNT_VRDIF|Valor da conta foi alterado por outro usuário."),
        QStringLiteral("CNT_PROR|Conta foi prorrogada por outro usuário."),
        QStringLiteral("BOL_CNAB|Conta de um boleto enviado ao banco (via CNAB) não pode ser alterada"),
        QStringLiteral("Desc|Desconto"),
        QStringLiteral("Acres|Acrescimo"),
        QStringLiteral("AJUST_CONTAB|Ajuste não pode ser lançada com erros de contabilização."),
        QStringLiteral("ERRO_CONTABILIZACAO|Conta a pagar não pode ser lançada com erros de contabilização."),
        QStringLiteral(
            "STATUS_INV|A baixa deve ser real para que possa ser feito o recálculo da contabilização."),
        QStringLiteral("DESMARCA_CONTA|Deseja desmarcar todas as contas?"),
        QStringLiteral("MARCA_CONTA|Deseja marcar todas as contas?"),
        QStringLiteral("ALT_BLOQ|Operação bloqueada. Documento em alteração por outro usuário."),
        QStringLiteral("CNT_PAR|Conta foi parcelada por outro usuário."),
        QStringLiteral(
            "RecCont_suc|O Recálculo da Contabilização de Contas a Pagar foi realizado com sucesso."),
        QStringLiteral("LANCCTB_INV|Não é possivel realizar lançamento com erros de contabilização."),
        QStringLiteral("Emp_NRelac|Empresa não relacionada ao operador logado."),
        QStringLiteral("Fora_Per_CTB|Lançamento fora do período contábil."),
    });
}
