#include "pag00801/tfrmfiltrorecctpagar.h"

#include "framework/core/datasource.h"
#include "framework/net/netconnection.h"
#include "framework/session/adoibquery.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/controls/radiogroup.h"
#include "server_contract/filtrorecconpag.h"
#include "server_contract/recconpag.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <tuple>

namespace {

const QStringList weekDayNames = {
    QStringLiteral("Domingo"), QStringLiteral("Segunda"), QStringLiteral("Terça"), QStringLiteral("Quarta"),
    QStringLiteral("Quinta"),  QStringLiteral("Sexta"),   QStringLiteral("Sábado")};

QGroupBox *groupBox(const QString &name, const QString &caption, QWidget *parent) {
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    return group;
}

// The criteria sit close together, so that both pages fit a small screen.
template <typename Layout> Layout *compact(Layout *layout) {
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(4);
    return layout;
}

// A range group: "de" beside the initial control, "até" beside the final one.
QGroupBox *rangeGroup(const QString &name, const QString &caption, QWidget *parent, QWidget *initial,
                      QWidget *final) {
    QGroupBox *group = groupBox(name, caption, parent);
    auto *row = compact(new QHBoxLayout(group));
    row->addWidget(new QLabel(QStringLiteral("de"), group));
    row->addWidget(initial, 1);
    row->addSpacing(6);
    row->addWidget(new QLabel(QStringLiteral("até"), group));
    row->addWidget(final, 1);
    return group;
}

TDateEditPlus *dateEdit(const QString &name) {
    auto *edit = new TDateEditPlus(name, nullptr);
    edit->setSaveTime(false);
    edit->setValidDateColor(Qt::blue);
    edit->setDayNames(weekDayNames);
    return edit;
}

TNumberEdit *numberEdit(const QString &name, bool thousands) {
    auto *edit = new TNumberEdit(name, nullptr);
    edit->setDecimals(2);
    edit->setThousands(thousands);
    return edit;
}

QRadioButton *radioButton(const QString &name, const QString &caption, QWidget *parent) {
    auto *radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    return radio;
}

// A list group: "Todos"/"Todas" (checked), "Lista", and the search button tied to "Lista", disabled
// until it is checked. names: the group, its two radio buttons and its search button.
std::tuple<QGroupBox *, QRadioButton *, QRadioButton *, TBtnPesquisa *>
listGroup(const QStringList &names, const QString &caption, const QString &allCaption, DataSource *source,
          const QString &empty, QWidget *parent) {
    QGroupBox *group = groupBox(names[0], caption, parent);
    QRadioButton *all = radioButton(names[1], allCaption, group);
    QRadioButton *lista = radioButton(names[2], QStringLiteral("Lista"), group);
    auto *search = new TBtnPesquisa(names[3], group);
    search->setIcon(search->style()->standardIcon(QStyle::SP_FileDialogContentsView));
    search->setToolButtonStyle(Qt::ToolButtonIconOnly);
    search->setEnabled(false);
    search->setAssociate(lista);
    search->setDataSource(source);
    search->setEmptyError(empty);
    all->setChecked(true);
    auto *row = compact(new QHBoxLayout(group));
    row->addWidget(all);
    row->addWidget(lista);
    row->addWidget(search);
    row->addStretch();
    return {group, all, lista, search};
}

// Chains the tab order of the controls as listed.
void chainTabOrder(const QList<QWidget *> &controls) {
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

} // namespace

void TfrmFiltroRecCtPagar::buildWindow() {
    setWindowTitle(QStringLiteral("Filtro de Recálculo de Contas a Pagar"));
    resize(641, 234);
    setHelpFile(QStringLiteral("paghelp.hlp"));
    setHelpContext(11911002);
    lblCodTela->setText(QStringLiteral("PAG00801"));
    QFont screenFont = font();
    screenFont.setPixelSize(11);
    setFont(screenFont);
    sbtLimpa = new TButtonFlat(QStringLiteral("sbtLimpa"), QStringLiteral("Desfazer"), panHelp);
    sbtLimpa->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    sbtLimpa->setToolButtonStyle(Qt::ToolButtonIconOnly);
    panHelp->layout()->addWidget(sbtLimpa);
}

void TfrmFiltroRecCtPagar::buildDataSets() {
    cdsGeralPag = new ClientDataSet(this);
    cdsGeralPag->setObjectName(QStringLiteral("cdsGeralPag"));
    for (const FieldDef &def : FiltroRecContPagar::geralPagFields())
        cdsGeralPag->addField(def);
    cdsParamFilial = new ClientDataSet(this);
    cdsParamFilial->setObjectName(QStringLiteral("cdsParamFilial"));
    for (const FieldDef &def : FiltroRecContPagar::paramFilialFields())
        cdsParamFilial->addField(def);
    const auto query = [this](const QString &queryName, const QString &sourceName, DataSource *&source) {
        auto *query = new TADOIBQuery(this);
        query->setObjectName(queryName);
        source = new DataSource(this);
        source->setObjectName(sourceName);
        source->setDataSet(query);
        return query;
    };
    qryFornecedor = query(QStringLiteral("qryFornecedor"), QStringLiteral("dtsFornecedor"), dtsFornecedor);
    qryFilial = query(QStringLiteral("qryFilial"), QStringLiteral("dtsFilial"), dtsFilial);
    qryTipoCtPagar =
        query(QStringLiteral("qryTipoCtPagar"), QStringLiteral("dtsTipoCtPagar"), dtsTipoCtPagar);
}

void TfrmFiltroRecCtPagar::buildPageContaPagar() {
    tshDadosRecber = new TabPage(QStringLiteral("tshDadosRecber"));
    pgcPadrao->addPage(tshDadosRecber, QStringLiteral("Conta a Pagar"));
    GroupBox12 = groupBox(QStringLiteral("GroupBox12"), {}, tshDadosRecber);
    compact(new QVBoxLayout(tshDadosRecber))->addWidget(GroupBox12);
    auto *grid = compact(new QGridLayout(GroupBox12));

    depVencIni = dateEdit(QStringLiteral("depVencIni"));
    depVencFin = dateEdit(QStringLiteral("depVencFin"));
    grbVencimento = rangeGroup(QStringLiteral("grbVencimento"), QStringLiteral("Vencimento"), GroupBox12,
                               depVencIni, depVencFin);

    std::tie(grbTipoConta, rbtTodosTipoCont, rbtTipoContLista, btnTpConta) =
        listGroup({"grbTipoConta", "rbtTodosTipoCont", "rbtTipoContLista", "btnTpConta"},
                  QStringLiteral("Tipo de Conta"), QStringLiteral("Todos"), dtsTipoCtPagar,
                  QStringLiteral("Não há tipo de conta a pagar cadastrado."), GroupBox12);

    nedVrOriginalIni = numberEdit(QStringLiteral("nedVrOriginalIni"), true);
    nedVrOriginalFin = numberEdit(QStringLiteral("nedVrOriginalFin"), true);
    grbVrOriginal = rangeGroup(QStringLiteral("grbVrOriginal"), QStringLiteral("Valor Original"), GroupBox12,
                               nedVrOriginalIni, nedVrOriginalFin);
    nedVrLiquidoIni = numberEdit(QStringLiteral("nedVrLiquidoIni"), true);
    nedVrLiquidoFin = numberEdit(QStringLiteral("nedVrLiquidoFin"), true);
    grbVrLiquido = rangeGroup(QStringLiteral("grbVrLiquido"), QStringLiteral("Valor Líquido"), GroupBox12,
                              nedVrLiquidoIni, nedVrLiquidoFin);

    grbStatus = groupBox(QStringLiteral("grbStatus"), QStringLiteral("Status"), GroupBox12);
    cbbStatus = new QComboBox(grbStatus);
    cbbStatus->setObjectName(QStringLiteral("cbbStatus"));
    cbbStatus->addItems({QStringLiteral("Baixada"), QStringLiteral("Em Aberto"), QStringLiteral("Planejada"),
                         QStringLiteral("Todas")});
    cbbStatus->setCurrentIndex(3);
    compact(new QHBoxLayout(grbStatus))->addWidget(cbbStatus);

    grbSituacao = groupBox(QStringLiteral("grbSituacao"), QStringLiteral("Situação"), GroupBox12);
    chbAVencer = new QCheckBox(QStringLiteral("A Vencer"), grbSituacao);
    chbAVencer->setObjectName(QStringLiteral("chbAVencer"));
    chbVencidas = new QCheckBox(QStringLiteral("Vencidas"), grbSituacao);
    chbVencidas->setObjectName(QStringLiteral("chbVencidas"));
    auto *situations = compact(new QHBoxLayout(grbSituacao));
    situations->addWidget(chbAVencer);
    situations->addWidget(chbVencidas);

    rdgCtbl = new RadioGroup(QStringLiteral("rdgCtbl"), QStringLiteral("Contabilização"), GroupBox12);
    rdgCtbl->setItems(
        {QStringLiteral("Contabilizadas"), QStringLiteral("Não contabilizadas"), QStringLiteral("Ambos")});
    rdgCtbl->setItemIndex(2);
    compact(rdgCtbl->layout());

    grid->addWidget(grbVencimento, 0, 0);
    grid->addWidget(grbTipoConta, 0, 1);
    grid->addWidget(grbVrOriginal, 1, 0);
    grid->addWidget(grbStatus, 1, 1);
    grid->addWidget(grbVrLiquido, 2, 0);
    grid->addWidget(grbSituacao, 2, 1);
    grid->addWidget(rdgCtbl, 0, 2, 3, 1);
    chainTabOrder({depVencIni, depVencFin, rbtTodosTipoCont, rbtTipoContLista, btnTpConta, nedVrOriginalIni,
                   nedVrOriginalFin, nedVrLiquidoIni, nedVrLiquidoFin, cbbStatus, chbAVencer, chbVencidas,
                   rdgCtbl->button(0), rdgCtbl->button(1), rdgCtbl->button(2)});
}

void TfrmFiltroRecCtPagar::buildPageDocumento() {
    tshDocumento = new TabPage(QStringLiteral("tshDocumento"));
    pgcPadrao->addPage(tshDocumento, QStringLiteral("Documento"));
    GroupBox9 = groupBox(QStringLiteral("GroupBox9"), {}, tshDocumento);
    compact(new QVBoxLayout(tshDocumento))->addWidget(GroupBox9);
    auto *grid = compact(new QGridLayout(GroupBox9));

    std::tie(grbFornecedor, rbtTodosForn, rbtListaForn, btnListForn) = listGroup(
        {"grbFornecedor", "rbtTodosForn", "rbtListaForn", "btnListForn"}, QStringLiteral("Fornecedor"),
        QStringLiteral("Todos"), dtsFornecedor, QStringLiteral("Não há fornecedor cadastrado."), GroupBox9);

    medNrDocuIni = new MaskedEdit(QStringLiteral("medNrDocuIni"), nullptr);
    medNrDocuFin = new MaskedEdit(QStringLiteral("medNrDocuFin"), nullptr);
    medNrDocuIni->setMaxLength(7);
    medNrDocuFin->setMaxLength(7);
    grbDocumento = rangeGroup(QStringLiteral("grbDocumento"), QStringLiteral("Número"), GroupBox9,
                              medNrDocuIni, medNrDocuFin);

    depDtEmissaoIni = dateEdit(QStringLiteral("depDtEmissaoIni"));
    depDtEmissaoFin = dateEdit(QStringLiteral("depDtEmissaoFin"));
    grbDtEmissao = rangeGroup(QStringLiteral("grbDtEmissao"), QStringLiteral("Emissão"), GroupBox9,
                              depDtEmissaoIni, depDtEmissaoFin);
    depDtEntradaIni = dateEdit(QStringLiteral("depDtEntradaIni"));
    depDtEntradaFin = dateEdit(QStringLiteral("depDtEntradaFin"));
    grbDtEntrada = rangeGroup(QStringLiteral("grbDtEntrada"), QStringLiteral("Entrada"), GroupBox9,
                              depDtEntradaIni, depDtEntradaFin);

    std::tie(grbFiliOrig, rbtTodasFiliOrig, rbtListaFiliOrig, btnFiliOrig) =
        listGroup({"grbFiliOrig", "rbtTodasFiliOrig", "rbtListaFiliOrig", "btnFiliOrig"},
                  QStringLiteral("Filial Origem"), QStringLiteral("Todas"), dtsFilial,
                  QStringLiteral("Não há filial cadastrada."), GroupBox9);
    std::tie(grbFiliLanc, rbtTodasFiliLanc, rbtListaFiliLanc, btnFiliLanc) =
        listGroup({"grbFiliLanc", "rbtTodasFiliLanc", "rbtListaFiliLanc", "btnFiliLanc"},
                  QStringLiteral("Filial Lançamento"), QStringLiteral("Todas"), dtsFilial,
                  QStringLiteral("Não há filial cadastrada."), GroupBox9);

    nedVrDocuIni = numberEdit(QStringLiteral("nedVrDocuIni"), false);
    nedVrDocuFin = numberEdit(QStringLiteral("nedVrDocuFin"), false);
    grbVrDocumento = rangeGroup(QStringLiteral("grbVrDocumento"), QStringLiteral("Valor Documento"),
                                GroupBox9, nedVrDocuIni, nedVrDocuFin);

    rgpTipo = new RadioGroup(QStringLiteral("rgpTipo"), QStringLiteral("Tipo"), GroupBox9);
    rgpTipo->setItems({QStringLiteral("Real"), QStringLiteral("Previsto"), QStringLiteral("Ambos")});
    rgpTipo->setItemIndex(0);
    compact(rgpTipo->layout());

    grid->addWidget(grbFornecedor, 0, 0);
    grid->addWidget(grbDocumento, 1, 0);
    grid->addWidget(grbDtEmissao, 2, 0);
    grid->addWidget(grbDtEntrada, 3, 0);
    grid->addWidget(grbFiliOrig, 0, 1);
    grid->addWidget(grbFiliLanc, 1, 1);
    grid->addWidget(grbVrDocumento, 2, 1);
    grid->addWidget(rgpTipo, 3, 1);
    chainTabOrder({rbtTodosForn,     rbtListaForn,       btnListForn,        medNrDocuIni,
                   medNrDocuFin,     depDtEmissaoIni,    depDtEmissaoFin,    depDtEntradaIni,
                   depDtEntradaFin,  rbtTodasFiliOrig,   rbtListaFiliOrig,   btnFiliOrig,
                   rbtTodasFiliLanc, rbtListaFiliLanc,   btnFiliLanc,        nedVrDocuIni,
                   nedVrDocuFin,     rgpTipo->button(0), rgpTipo->button(1), rgpTipo->button(2)});
}

// The clearing shortcut lives on a menu that never pops up; the action is also the dialog's own, so
// that Ctrl+D fires while the focus is in the dialog and only then.
void TfrmFiltroRecCtPagar::buildHotKey() {
    pmnHotKey = new QMenu(this);
    pmnHotKey->setObjectName(QStringLiteral("pmnHotKey"));
    mnuDesfazer = pmnHotKey->addAction(QStringLiteral("Desfazer"));
    mnuDesfazer->setObjectName(QStringLiteral("mnuDesfazer"));
    mnuDesfazer->setShortcut(shortcutOf(16452));
    mnuDesfazer->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(mnuDesfazer);
}

void TfrmFiltroRecCtPagar::buildConnections() {
    netFiltroRecContaPagar = new TNetConnection(this);
    netFiltroRecContaPagar->setObjectName(QStringLiteral("netFiltroRecContaPagar"));
    netFiltroRecContaPagar->setServerName(FiltroRecContPagar::serverName);
    netFiltroRecContaPagar->setThrowException(false);
    netRecContaPagar = new TNetConnection(this);
    netRecContaPagar->setObjectName(QStringLiteral("netRecContaPagar"));
    netRecContaPagar->setServerName(RecConPag::serverName);
    netRecContaPagar->setThrowException(false);
}

void TfrmFiltroRecCtPagar::fillMessages() {
    msgPadrao.setLines({
        QStringLiteral("Fornecedor|Fornecedor"),
        QStringLiteral("Filial_origem|Filial"),
        QStringLiteral("Filial_lanc|Filial"),
        QStringLiteral("Tipo_Canta|Tipo de Conta a Pagar"),
        QStringLiteral("NrNotaFisc_menor|Número inicial deve ser menor ou igual ao número final."),
        QStringLiteral("NrNotaFiscIni_inf|Número inicial deve ser informado."),
        QStringLiteral("NrNotaFiscFin_inf|Número final deve ser informado."),
        QStringLiteral("DtEmissaoIni_inf|Data de emissão inicial deve ser informada."),
        QStringLiteral(
            "DtEmissaoIni_menor|Data de emissão inicial deve ser menor ou igual a data de emissão final."),
        QStringLiteral("DtEmissaoFin_inf|Data de emissão final deve ser informada."),
        QStringLiteral("DtEntradaIni_inf|Data de entrada inicial deve ser informada."),
        QStringLiteral(
            "DtEntradaIni_menor|Data de entrada inicial deve ser menor ou igual a data de entrada final."),
        QStringLiteral("DtEntradaFin_inf|Data de entrada final deve ser informada."),
        QStringLiteral("VrDocuIni_inf|Valor documento inicial deve ser informado."),
        QStringLiteral(
            "VrDocuIni_menor|Valor documento inicial deve ser menor ou igual ao valor documento final."),
        QStringLiteral("VrDocuFin_inf|Valor documento final deve ser informado."),
        QStringLiteral(
            "VencIni_menor|Data de vencimento inicial deve ser menor ou igual a data de vencimento final."),
        QStringLiteral("VencIni_inf|Data de vencimento inicial deve ser informado."),
        QStringLiteral("VencFin_inf|Data de vencimento final deve ser informado."),
        QStringLiteral("VrOrigIni_inf|Valor original inicial deve ser informado."),
        QStringLiteral(
            "VrOrigIni_menor|Valor original inicial deve ser menor ou igual ao valor original final."),
        QStringLiteral("VrOrigFin_inf|Valor original final deve ser informado."),
        QStringLiteral("VrLiquIni_inf|Valor líquido inicial deve ser informado."),
        QStringLiteral(
            "VrLiquIni_menor|Valor líquido inicial deve ser menor ou igual ao valor líquido final."),
        QStringLiteral("VrLiquFin_inf|Valor líquido final deve ser informado."),
        QStringLiteral("Tipo_Conta|Tipo de Conta"),
        QStringLiteral("Forn_inf|Fornecedor deve ser informado."),
        QStringLiteral("FiliOrig_inf|Filial origem deve ser informada."),
        QStringLiteral("FiliLanc_inf|Filial lançamento deve ser informada."),
        QStringLiteral("TipoConta_inf|Tipo de conta deve ser informado."),
        QStringLiteral("Fili_Cad|Não há filial cadastrada."),
        QStringLiteral("Fornec_Cad|Não há fornecedor cadastrado."),
        QStringLiteral("TipoCt_Cad|Não há tipo de conta a pagar cadastrado."),
    });
}
