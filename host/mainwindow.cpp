#include "host/mainwindow.h"

#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"
#include "framework/session/packageloader.h"
#include "framework/ui/messages/guard.h"
#include "framework/ui/messages/messageservice.h"
#include "framework/ui/screens/screenplacement.h"
#include "host/identity.h"

#include <QSettings>

#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>

namespace {
const QString geometryKey = QStringLiteral("principal/geometria");
}

HostMainWindow::HostMainWindow(QWidget *parent)
    : QMainWindow(parent)
    , mdiTelas(new QMdiArea(this))
    , lblOperador(new QLabel(this))
    , lblBanco(new QLabel(this))
    , lblServidor(new QLabel(this)) {
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(systemName());
    mdiTelas->setObjectName(QStringLiteral("mdiTelas"));
    setCentralWidget(mdiTelas);
    buildMenu();
    buildStatusLine();
    resize(1024, 700);
    Norvela::setMainWindow(this);
}

HostMainWindow::~HostMainWindow() {
    if (Norvela::mainWindow() == this)
        Norvela::setMainWindow(nullptr);
}

void HostMainWindow::buildMenu() {
    QMenu *telas = menuBar()->addMenu(QStringLiteral("&Telas"));
    telas->setObjectName(QStringLiteral("mnuTelas"));
    QAction *recalculo =
        telas->addAction(QStringLiteral("PAG00800 - Recálculo da Contabilização de Contas a Pagar"));
    recalculo->setObjectName(QStringLiteral("actPAG00800"));
    connect(recalculo, &QAction::triggered, this, [this] { openScreen(QStringLiteral("PAG00800")); });
    QAction *abrir = telas->addAction(QStringLiteral("Abrir tela..."));
    abrir->setObjectName(QStringLiteral("actAbrirTela"));
    connect(abrir, &QAction::triggered, this, [this] { askScreenCode(); });
    telas->addSeparator();
    QAction *sair = telas->addAction(QStringLiteral("Sair"));
    sair->setObjectName(QStringLiteral("actSair"));
    connect(sair, &QAction::triggered, this, &QWidget::close);
}

void HostMainWindow::buildStatusLine() {
    lblOperador->setObjectName(QStringLiteral("lblOperador"));
    lblBanco->setObjectName(QStringLiteral("lblBanco"));
    lblServidor->setObjectName(QStringLiteral("lblServidor"));
    statusBar()->addWidget(lblOperador);
    statusBar()->addWidget(lblBanco, 1);
    statusBar()->addPermanentWidget(lblServidor);
    refreshStatus();
}

void HostMainWindow::refreshStatus() {
    lblOperador->setText(QStringLiteral("Operador: %1").arg(Norvela::Operador()));
    lblBanco->setText(QStringLiteral("Banco: %1").arg(dtmDBGeral()->displayUrl()));
    lblServidor->setText(QStringLiteral("Servidor: %1:%2").arg(Norvela::WebURL()).arg(Norvela::WebPort()));
}

void HostMainWindow::openScreen(const QString &code) {
    guard([&] { Norvela::LoadBPL(code.trimmed().toUpper(), {}); });
}

void HostMainWindow::askScreenCode() {
    const QString code = MessageService::current().chooseName(QStringLiteral("Código da tela:"),
                                                              Norvela::availablePackages(), true);
    if (!code.trimmed().isEmpty())
        openScreen(code);
}

bool HostMainWindow::hasOpenScreen() const {
    return !mdiTelas->subWindowList().isEmpty();
}

void HostMainWindow::showAsLeft() {
    if (restoreGeometry(windowSettings()->value(geometryKey).toByteArray()))
        show();
    else
        showMaximized();
}

void HostMainWindow::closeEvent(QCloseEvent *event) {
    windowSettings()->setValue(geometryKey, saveGeometry());
    QMainWindow::closeEvent(event);
}
