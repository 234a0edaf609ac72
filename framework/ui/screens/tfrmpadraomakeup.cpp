// The make-up of the base screen: tool bar, menus, pages and navigator.
#include "framework/ui/screens/tfrmpadrao.h"

#include "framework/ui/controls/toolicons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

QWidget *filledPanel(const QString &objectName, QWidget *parent) {
    auto *panel = new QWidget(parent);
    panel->setObjectName(objectName);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    parent->layout()->addWidget(panel);
    return panel;
}

QAction *menuItem(QMenu *menu, const QString &objectName, const QString &caption) {
    QAction *item = menu->addAction(caption);
    item->setObjectName(objectName);
    return item;
}

} // namespace

// Tool bar buttons show their icon with the caption under it.
void TfrmPadrao::styleToolButton(QToolButton *button) {
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(20, 20));
}

void TfrmPadrao::buildToolBar() {
    panMenu = new QWidget(this);
    panMenu->setObjectName(QStringLiteral("panMenu"));
    auto *row = new QHBoxLayout(panMenu);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    sbtConfirmar = new TButtonFlat(QStringLiteral("sbtConfirmar"), QStringLiteral("Confirmar"), panMenu);
    sbtProcurar = new TButtonFlat(QStringLiteral("sbtProcurar"), QStringLiteral("Procurar"), panMenu);
    sbtVerificar = new TButtonFlat(QStringLiteral("sbtVerificar"), QStringLiteral("Verificar"), panMenu);
    sbtImprimir = new TButtonFlat(QStringLiteral("sbtImprimir"), QStringLiteral("Imprimir"), panMenu);
    sbtAjuda = new TButtonFlat(QStringLiteral("sbtAjuda"), QStringLiteral("Ajuda"), panMenu);
    sbtFechar = new TButtonFlat(QStringLiteral("sbtFechar"), QStringLiteral("Fechar"), panMenu);
    const std::pair<TButtonFlat *, const char *> icons[] = {
        {sbtConfirmar, "confirmar"}, {sbtProcurar, "procurar"}, {sbtVerificar, "verificar"},
        {sbtImprimir, "imprimir"},   {sbtAjuda, "ajuda"},       {sbtFechar, "fechar"}};
    for (const auto &[button, icon] : icons) {
        button->setIcon(toolIcon(QLatin1String(icon)));
        styleToolButton(button);
        row->addWidget(button);
    }
    row->addStretch();
    lblCodTela = new QLabel(panMenu);
    lblCodTela->setObjectName(QStringLiteral("lblCodTela"));
    row->addWidget(lblCodTela);
    formLayout->addWidget(panMenu);
}

void TfrmPadrao::buildMenus() {
    mnuMenu = new QMenuBar(this);
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    setMenuBar(mnuMenu);
    mnuOperacao = mnuMenu->addMenu(QStringLiteral("&Operação"));
    mnuOperacao->setObjectName(QStringLiteral("mnuOperacao"));
    mnuFolhaDados = menuItem(mnuOperacao, QStringLiteral("mnuFolhaDados"), QStringLiteral("Folha de &Dados"));
    mnuFormulario = menuItem(mnuOperacao, QStringLiteral("mnuFormulario"), QStringLiteral("&Formulário"));
    mnuFolhaDados->setCheckable(true);
    mnuFormulario->setCheckable(true);
    mnuOperacao->addSeparator();
    mnuListagem = menuItem(mnuOperacao, QStringLiteral("mnuListagem"), QStringLiteral("&Listagem"));
    mnuConfigImpressora = menuItem(mnuOperacao, QStringLiteral("mnuConfigImpressora"),
                                   QStringLiteral("&Configurar Impressora"));
    mnuOperacao->addSeparator();
    mnuSair = menuItem(mnuOperacao, QStringLiteral("mnuSair"), QStringLiteral("&Sair"));
    mnuManutencao = mnuMenu->addMenu(QStringLiteral("&Manutenção"));
    mnuManutencao->setObjectName(QStringLiteral("mnuManutencao"));
    mnuIncluir = menuItem(mnuManutencao, QStringLiteral("mnuIncluir"), QStringLiteral("&Incluir"));
    mnuAlterar = menuItem(mnuManutencao, QStringLiteral("mnuAlterar"), QStringLiteral("&Alterar"));
    mnuExcluir = menuItem(mnuManutencao, QStringLiteral("mnuExcluir"), QStringLiteral("&Excluir"));
    mnuConfirmar = menuItem(mnuManutencao, QStringLiteral("mnuConfirmar"), QStringLiteral("C&onfirmar"));
    mnuCancelar = menuItem(mnuManutencao, QStringLiteral("mnuCancelar"), QStringLiteral("&Cancelar"));
    mnuVerificar = menuItem(mnuManutencao, QStringLiteral("mnuVerificar"), QStringLiteral("&Verificar"));
    mnuProcurar = menuItem(mnuManutencao, QStringLiteral("mnuProcurar"), QStringLiteral("&Procurar"));
    mnuProcurar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
}

void TfrmPadrao::buildPages() {
    pgcPadrao = new PageControl(QStringLiteral("pgcPadrao"), this);
    tshFolhaDados = new TabPage(QStringLiteral("tshFolhaDados"));
    new QVBoxLayout(tshFolhaDados);
    panDbgPadrao = filledPanel(QStringLiteral("panDbgPadrao"), tshFolhaDados);
    scbFolhaDados = filledPanel(QStringLiteral("scbFolhaDados"), panDbgPadrao);
    dbgPadrao = new DataGrid(QStringLiteral("dbgPadrao"), scbFolhaDados);
    scbFolhaDados->layout()->addWidget(dbgPadrao);
    dbgPadrao->setDataSource(dtsPadrao);
    tshFormulario = new TabPage(QStringLiteral("tshFormulario"));
    new QVBoxLayout(tshFormulario);
    panFormulario = filledPanel(QStringLiteral("panFormulario"), tshFormulario);
    scbFormulario = filledPanel(QStringLiteral("scbFormulario"), panFormulario);
    pgcPadrao->addPage(tshFolhaDados, QStringLiteral("Folha de Dados"));
    pgcPadrao->addPage(tshFormulario, QStringLiteral("Formulário"));
    formLayout->addWidget(pgcPadrao, 1);
}

void TfrmPadrao::buildNavigator() {
    panNavigator = new QWidget(this);
    panNavigator->setObjectName(QStringLiteral("panNavigator"));
    auto *row = new QHBoxLayout(panNavigator);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch();
    dbnPadrao = new DataNavigator(QStringLiteral("dbnPadrao"), panNavigator);
    dbnPadrao->setDataSource(dtsPadrao);
    row->addWidget(dbnPadrao);
    formLayout->addWidget(panNavigator);
}
