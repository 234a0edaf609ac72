#include "filterfixture.h"

#include "framework/core/datasource.h"
#include "framework/session/adoibquery.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/controls/radiogroup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>

namespace {

// The listed controls in the order the tab key reaches them, starting from the first one.
QStringList tabOrder(QWidget *first, const QStringList &names) {
    QStringList order;
    QWidget *widget = first;
    for (int step = 0; step < 500 && order.size() < names.size();
         ++step, widget = widget->nextInFocusChain()) {
        if (names.contains(widget->objectName()) && !order.contains(widget->objectName()))
            order << widget->objectName();
    }
    return order;
}

QStringList itemsOf(const QComboBox *box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

TEST_F(FilterTest, MakeUpHasEveryGroupWithItsCaptionsItemsAndDefaults) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    CriaFiltroRecContPagar(QStringLiteral("esconde_filtro"));
    TfrmFiltroRecCtPagar *f = frmFiltroRecCtPagar;
    EXPECT_EQ(f->objectName(), QStringLiteral("frmFiltroRecCtPagar"));
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Filtro de Recálculo de Contas a Pagar"));
    EXPECT_EQ(f->lblCodTela->text(), QStringLiteral("PAG00801"));
    EXPECT_EQ(f->HelpContext(), 11911002);
    EXPECT_EQ(f->pgcPadrao->count(), 2);
    EXPECT_EQ(f->pgcPadrao->tabText(0), QStringLiteral("Conta a Pagar"));
    EXPECT_EQ(f->pgcPadrao->tabText(1), QStringLiteral("Documento"));
    EXPECT_EQ(f->pgcPadrao->ActivePage(), f->tshDadosRecber);

    const QList<std::pair<const char *, const char *>> captions = {{"grbVencimento", "Vencimento"},
                                                                   {"grbTipoConta", "Tipo de Conta"},
                                                                   {"grbVrOriginal", "Valor Original"},
                                                                   {"grbVrLiquido", "Valor Líquido"},
                                                                   {"grbStatus", "Status"},
                                                                   {"grbSituacao", "Situação"},
                                                                   {"rdgCtbl", "Contabilização"},
                                                                   {"grbFornecedor", "Fornecedor"},
                                                                   {"grbDocumento", "Número"},
                                                                   {"grbDtEmissao", "Emissão"},
                                                                   {"grbDtEntrada", "Entrada"},
                                                                   {"grbFiliOrig", "Filial Origem"},
                                                                   {"grbFiliLanc", "Filial Lançamento"},
                                                                   {"grbVrDocumento", "Valor Documento"},
                                                                   {"rgpTipo", "Tipo"}};
    for (const auto &[name, caption] : captions) {
        auto *group = f->findChild<QGroupBox *>(QLatin1String(name));
        ASSERT_NE(group, nullptr) << name;
        EXPECT_EQ(group->title(), QString::fromUtf8(caption)) << name;
    }
    for (QGroupBox *range : {f->grbVencimento, f->grbVrOriginal, f->grbDocumento, f->grbVrDocumento}) {
        QStringList labels;
        for (QLabel *label : range->findChildren<QLabel *>())
            labels << label->text();
        EXPECT_EQ(labels, QStringList({"de", "até"}));
    }
    EXPECT_EQ(f->rdgCtbl->Items(), QStringList({"Contabilizadas", "Não contabilizadas", "Ambos"}));
    EXPECT_EQ(f->rdgCtbl->ItemIndex(), 2);
    EXPECT_EQ(f->rgpTipo->Items(), QStringList({"Real", "Previsto", "Ambos"}));
    EXPECT_EQ(f->rgpTipo->ItemIndex(), 0);
    EXPECT_EQ(itemsOf(f->cbbStatus), QStringList({"Baixada", "Em Aberto", "Planejada", "Todas"}));
    EXPECT_EQ(f->cbbStatus->currentIndex(), 3);
    EXPECT_EQ(f->chbAVencer->text(), QStringLiteral("A Vencer"));
    EXPECT_EQ(f->chbVencidas->text(), QStringLiteral("Vencidas"));
    EXPECT_FALSE(f->chbAVencer->isChecked() || f->chbVencidas->isChecked());

    struct ListGroup {
        QRadioButton *all;
        const char *allCaption;
        QRadioButton *lista;
        TBtnPesquisa *search;
        DataSource *source;
        const char *empty;
    };
    for (const ListGroup &g : {ListGroup{f->rbtTodosForn, "Todos", f->rbtListaForn, f->btnListForn,
                                         f->dtsFornecedor, "Não há fornecedor cadastrado."},
                               ListGroup{f->rbtTodasFiliOrig, "Todas", f->rbtListaFiliOrig, f->btnFiliOrig,
                                         f->dtsFilial, "Não há filial cadastrada."},
                               ListGroup{f->rbtTodasFiliLanc, "Todas", f->rbtListaFiliLanc, f->btnFiliLanc,
                                         f->dtsFilial, "Não há filial cadastrada."},
                               ListGroup{f->rbtTodosTipoCont, "Todos", f->rbtTipoContLista, f->btnTpConta,
                                         f->dtsTipoCtPagar, "Não há tipo de conta a pagar cadastrado."}}) {
        EXPECT_EQ(g.all->text(), QString::fromUtf8(g.allCaption));
        EXPECT_TRUE(g.all->isChecked());
        EXPECT_EQ(g.lista->text(), QStringLiteral("Lista"));
        EXPECT_FALSE(g.search->isEnabled());
        EXPECT_EQ(g.search->hint(), QStringLiteral("Pesquisar"));
        EXPECT_EQ(g.search->Associate(), g.lista);
        EXPECT_EQ(g.search->dataSource(), g.source);
        EXPECT_EQ(g.search->EmptyError(), QString::fromUtf8(g.empty));
        g.lista->setChecked(true);
        EXPECT_TRUE(g.search->isEnabled());
        g.all->setChecked(true);
        EXPECT_FALSE(g.search->isEnabled());
    }

    for (TDateEditPlus *date : {f->depVencIni, f->depVencFin, f->depDtEmissaoIni, f->depDtEmissaoFin,
                                f->depDtEntradaIni, f->depDtEntradaFin}) {
        EXPECT_FALSE(date->SaveTime());
        EXPECT_EQ(date->ValidDateColor(), QColor(Qt::blue));
        EXPECT_EQ(date->DayNames(),
                  QStringList({"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"}));
    }
    for (TNumberEdit *value :
         {f->nedVrOriginalIni, f->nedVrOriginalFin, f->nedVrLiquidoIni, f->nedVrLiquidoFin})
        EXPECT_TRUE(value->thousands());
    EXPECT_FALSE(f->nedVrDocuIni->thousands() || f->nedVrDocuFin->thousands());
    EXPECT_EQ(f->nedVrDocuIni->decimals(), 2);

    EXPECT_EQ(f->sbtLimpa->hint(), QStringLiteral("Desfazer"));
    EXPECT_EQ(f->sbtLimpa->parentWidget(), f->panHelp);
    EXPECT_EQ(f->mnuDesfazer->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    EXPECT_TRUE(f->pmnHotKey->actions().contains(f->mnuDesfazer));
    EXPECT_EQ(f->cdsGeralPag->fieldDefs().size(), 3);
    EXPECT_EQ(f->cdsParamFilial->fieldByName("NRTAMNUMNFUT")->def().origin,
              QStringLiteral("DBNORVELA.PARAMFILIAL.NRTAMNUMNFUT"));
    EXPECT_EQ(f->dtsFornecedor->dataSet(), f->qryFornecedor);

    EXPECT_EQ(f->msgPadrao.lines().size(), 33);
    EXPECT_EQ(f->msgPadrao.Msg(QStringLiteral("Filial_Lanc")), QStringLiteral("Filial"));
    EXPECT_EQ(f->msgPadrao.Msg(QStringLiteral("Tipo_Canta")), QStringLiteral("Tipo de Conta a Pagar"));
}

TEST_F(FilterTest, TabOrderFollowsTheGroupsOfEachPage) {
    ASSERT_NE(openWithCompany(QStringLiteral("01")), nullptr);
    CriaFiltroRecContPagar(QStringLiteral("esconde_filtro"));
    TfrmFiltroRecCtPagar *f = frmFiltroRecCtPagar;
    const QStringList accounts = {
        "depVencIni",       "depVencFin",       "rbtTodosTipoCont", "rbtTipoContLista", "btnTpConta",
        "nedVrOriginalIni", "nedVrOriginalFin", "nedVrLiquidoIni",  "nedVrLiquidoFin",  "cbbStatus",
        "chbAVencer",       "chbVencidas",      "rdgCtbl_0"};
    EXPECT_EQ(tabOrder(f->depVencIni, accounts), accounts);
    const QStringList document = {
        "rbtTodosForn",     "rbtListaForn",    "btnListForn",      "medNrDocuIni",     "medNrDocuFin",
        "depDtEmissaoIni",  "depDtEmissaoFin", "depDtEntradaIni",  "depDtEntradaFin",  "rbtTodasFiliOrig",
        "rbtListaFiliOrig", "btnFiliOrig",     "rbtTodasFiliLanc", "rbtListaFiliLanc", "btnFiliLanc",
        "nedVrDocuIni",     "nedVrDocuFin",    "rgpTipo_0"};
    EXPECT_EQ(tabOrder(f->rbtTodosForn, document), document);
}
