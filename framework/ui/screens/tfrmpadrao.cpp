#include "framework/ui/screens/tfrmpadrao.h"

#include "framework/ui/dialogs/procura.h"
#include "framework/ui/messages/guard.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QVBoxLayout>

TfrmPadrao::TfrmPadrao(QWidget *parent)
    : QMainWindow(parent)
    , dtsPadrao(new DataSource(this)) {
    setObjectName(QStringLiteral("frmPadrao"));
    dtsPadrao->setObjectName(QStringLiteral("dtsPadrao"));
    auto *central = new QWidget(this);
    formLayout = new QVBoxLayout(central);
    formLayout->setContentsMargins(4, 4, 4, 4);
    setCentralWidget(central);
    setInitialGeometry(QRect(0, 0, 553, 422));
    buildToolBar();
    buildMenus();
    buildPages();
    buildNavigator();
    bindHandlers();
}

TfrmPadrao::~TfrmPadrao() = default;

void TfrmPadrao::bindHandlers() {
    auto bind = [this](auto *sender, auto signal, void (TfrmPadrao::*handler)()) {
        connect(sender, signal, this, guarded([this, handler] { (this->*handler)(); }));
    };
    bind(sbtConfirmar, &QAbstractButton::clicked, &TfrmPadrao::sbtConfirmarClick);
    bind(mnuConfirmar, &QAction::triggered, &TfrmPadrao::sbtConfirmarClick);
    bind(sbtProcurar, &QAbstractButton::clicked, &TfrmPadrao::sbtProcurarClick);
    bind(mnuProcurar, &QAction::triggered, &TfrmPadrao::sbtProcurarClick);
    bind(sbtVerificar, &QAbstractButton::clicked, &TfrmPadrao::sbtVerificarClick);
    bind(mnuVerificar, &QAction::triggered, &TfrmPadrao::sbtVerificarClick);
    bind(sbtImprimir, &QAbstractButton::clicked, &TfrmPadrao::sbtImprimirClick);
    bind(mnuListagem, &QAction::triggered, &TfrmPadrao::sbtImprimirClick);
    bind(mnuFormulario, &QAction::triggered, &TfrmPadrao::mnuFormularioClick);
    bind(mnuFolhaDados, &QAction::triggered, &TfrmPadrao::mnuFolhaDadosClick);
    bind(pgcPadrao, &QTabWidget::currentChanged, &TfrmPadrao::pgcPadraoChange);
    bind(dtsPadrao, &DataSource::stateChanged, &TfrmPadrao::dtsPadraoStateChange);
    bind(dbgPadrao, &DataGrid::dblClick, &TfrmPadrao::dbgPadraoDblClick);
    connect(sbtAjuda, &QAbstractButton::clicked, this, guarded([this] { showHelp(helpFile, helpContext); }));
    auto *help =
        new QShortcut(QKeySequence(Qt::Key_F1), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(help, &QShortcut::activated, this, guarded([this] { showHelp(helpFile, helpContext); }));
    connect(sbtFechar, &QAbstractButton::clicked, this, [this] { closeForm(); });
    connect(mnuSair, &QAction::triggered, this, [this] { closeForm(); });
    connect(dbgPadrao, &DataGrid::keyDown, this,
            guarded([this](int &key, Qt::KeyboardModifiers shift) { dbgPadraoKeyDown(key, shift); }));
    connect(dbgPadrao, &DataGrid::titleClick, this,
            guarded([this](int column) { dbgPadraoTitleClick(column); }));
    connect(dbgPadrao, &DataGrid::drawColumnCell, this,
            guarded([this](const QRect &rect, int column, int row) {
                dbgPadraoDrawColumnCell(rect, column, row);
            }));
}

void TfrmPadrao::runFormCreate() {
    formCreated = true;
    FormCreate();
}

void TfrmPadrao::adoptSubWindow(QMdiSubWindow *window) {
    subWindow = window;
    connect(subWindow, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                if (now.testFlag(Qt::WindowActive) && !before.testFlag(Qt::WindowActive))
                    guard([this] { FormActivate(); });
            });
}

void TfrmPadrao::showForm() {
    QWidget *window = subWindow ? static_cast<QWidget *>(subWindow) : this;
    window->show();
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->raise();
    if (subWindow && subWindow->mdiArea())
        subWindow->mdiArea()->setActiveSubWindow(subWindow);
    else
        activateWindow();
}

void TfrmPadrao::closeForm() {
    if (subWindow)
        subWindow->close();
    else
        close();
}

void TfrmPadrao::addToolButton(QAbstractButton *button, QAbstractButton *before) {
    auto *row = static_cast<QHBoxLayout *>(panMenu->layout());
    button->setParent(panMenu);
    if (auto *toolButton = qobject_cast<QToolButton *>(button))
        styleToolButton(toolButton);
    const int position = before ? row->indexOf(before) : row->indexOf(sbtFechar) + 1;
    row->insertWidget(position, button);
}

void TfrmPadrao::addTopPanel(QWidget *panel) {
    formLayout->insertWidget(formLayout->indexOf(pgcPadrao), panel);
}

bool TfrmPadrao::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate && !subWindow)
        guard([this] { FormActivate(); });
    if (event->type() == QEvent::ParentChange) {
        auto *window = qobject_cast<QMdiSubWindow *>(parentWidget());
        if (window && window != subWindow)
            adoptSubWindow(window);
    }
    return QMainWindow::event(event);
}

void TfrmPadrao::showEvent(QShowEvent *event) {
    if (!formCreated)
        guard([this] { runFormCreate(); });
    scopeMenuShortcuts();
    QMainWindow::showEvent(event);
}

// Several screens live in one main window: the shortcuts of a screen's menu items answer only
// while the focus is inside that screen.
void TfrmPadrao::scopeMenuShortcuts() {
    for (QMenu *menu : mnuMenu->findChildren<QMenu *>()) {
        for (QAction *item : menu->actions()) {
            if (item->shortcut().isEmpty())
                continue;
            item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            addAction(item);
        }
    }
}

void TfrmPadrao::closeEvent(QCloseEvent *event) {
    CloseAction action = CloseAction::Free;
    if (!guardCompleted([&] { FormClose(action); }))
        action = CloseAction::Keep;
    applyCloseAction(action, event);
}

void TfrmPadrao::applyCloseAction(CloseAction action, QCloseEvent *event) {
    QWidget *window = subWindow ? static_cast<QWidget *>(subWindow) : this;
    switch (action) {
    case CloseAction::Keep:
        event->ignore();
        return;
    case CloseAction::Hide:
        event->ignore();
        window->hide();
        return;
    case CloseAction::Minimize:
        event->ignore();
        window->showMinimized();
        return;
    case CloseAction::Free:
        setAttribute(Qt::WA_DeleteOnClose);
        if (subWindow)
            subWindow->setAttribute(Qt::WA_DeleteOnClose);
        event->accept();
        return;
    }
}

void TfrmPadrao::updateDataCommands() {
    ClientDataSet *rows = dtsPadrao->dataSet();
    const bool browsing = dtsPadrao->state() == DataSetState::Browse;
    const bool hasRows = browsing && rows && !rows->isEmpty();
    mnuVerificar->setEnabled(hasRows);
    sbtVerificar->setEnabled(hasRows);
    mnuProcurar->setEnabled(browsing);
    sbtProcurar->setEnabled(browsing);
}

void TfrmPadrao::FormCreate() {
    pgcPadrao->setActivePage(tshFolhaDados);
    pgcPadraoChange();
    updateDataCommands();
}

void TfrmPadrao::FormActivate() {}

void TfrmPadrao::FormClose(CloseAction &action) {
    action = CloseAction::Free;
}

// Confirming posts a row being edited.
void TfrmPadrao::sbtConfirmarClick() {
    ClientDataSet *rows = dtsPadrao->dataSet();
    if (rows && (rows->state() == DataSetState::Edit || rows->state() == DataSetState::Insert))
        rows->post();
}

void TfrmPadrao::sbtProcurarClick() {
    ClientDataSet *rows = dtsPadrao->dataSet();
    if (rows && rows->active())
        Procura(rows);
}

void TfrmPadrao::sbtVerificarClick() {}

void TfrmPadrao::sbtImprimirClick() {}

void TfrmPadrao::pgcPadraoChange() {
    mnuFolhaDados->setChecked(pgcPadrao->ActivePage() == tshFolhaDados);
    mnuFormulario->setChecked(pgcPadrao->ActivePage() == tshFormulario);
}

void TfrmPadrao::mnuFormularioClick() {
    if (tshFormulario->isEnabled())
        pgcPadrao->setActivePage(tshFormulario);
}

void TfrmPadrao::mnuFolhaDadosClick() {
    pgcPadrao->setActivePage(tshFolhaDados);
    pgcPadraoChange();
}

// Enter on a row opens the form page.
void TfrmPadrao::dbgPadraoKeyDown(int &key, Qt::KeyboardModifiers shift) {
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && tshFormulario->isEnabled()) {
        mnuFormularioClick();
        key = 0;
    }
}

void TfrmPadrao::dbgPadraoDblClick() {}

void TfrmPadrao::dbgPadraoTitleClick(int column) {}

void TfrmPadrao::dbgPadraoDrawColumnCell(const QRect &rect, int column, int viewRow) {}

void TfrmPadrao::dtsPadraoStateChange() {
    updateDataCommands();
}
