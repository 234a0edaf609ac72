#pragma once

#include "framework/core/datasource.h"
#include "framework/core/messages.h"
#include "framework/ui/controls/buttonflat.h"
#include "framework/ui/controls/pagecontrol.h"
#include "framework/ui/grid/dbgrid.h"
#include "framework/ui/grid/dbnavigator.h"
#include "framework/ui/screens/formhelp.h"

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QVBoxLayout;

// Base of the data screens, shown as a child window of the host's main window.
//
// Make-up: tool bar panMenu (sbtConfirmar, sbtProcurar, sbtVerificar, sbtImprimir, sbtAjuda,
// sbtFechar, and lblCodTela at its right end), main menu mnuMenu with mnuOperacao (mnuFolhaDados,
// mnuFormulario, mnuListagem, mnuConfigImpressora, mnuSair) and mnuManutencao (mnuIncluir,
// mnuAlterar, mnuExcluir, mnuConfirmar, mnuCancelar, mnuVerificar, mnuProcurar), page control
// pgcPadrao with tshFolhaDados (panDbgPadrao > scbFolhaDados > grid dbgPadrao on dtsPadrao) and
// tshFormulario (panFormulario > scbFormulario), bottom panel panNavigator with dbnPadrao, and
// the message table msgPadrao. Each component carries its name as objectName.
//
// Handlers: the virtual handlers below are bound to their events; a derived screen overrides
// them and usually calls the base version first. Qt-called handlers run through the handler
// guard. Window activation reaches FormActivate (in an MDI area: when its sub-window becomes the
// active one), closing reaches FormClose, F1 and sbtAjuda open the help of helpContext.
//
// Data commands: the pair mnuVerificar/sbtVerificar follows "dtsPadrao browsing a non-empty
// dataset", the pair mnuProcurar/sbtProcurar follows "dtsPadrao browsing" (updateDataCommands,
// run by the base dtsPadraoStateChange).
class TfrmPadrao : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmPadrao(QWidget *parent = nullptr);
    ~TfrmPadrao() override;

    // Creates a screen and runs its FormCreate. A failure in FormCreate deletes the screen and
    // reaches the caller.
    template <typename Form, typename... Args> static Form *create(Args &&...args) {
        auto *form = new Form(std::forward<Args>(args)...);
        try {
            static_cast<TfrmPadrao *>(form)->runFormCreate();
        } catch (...) {
            delete form;
            throw;
        }
        return form;
    }

    // The child window that holds the screen once it is put into an MDI area (a package does that
    // with Norvela::showChild): its activations are the screen's, and it goes when the screen is
    // freed on close.
    QMdiSubWindow *mdiSubWindow() const { return subWindow; }
    // Shows the screen (its sub-window when in an MDI area), brought to the front and restored.
    void showForm();
    // Closes the screen, or its sub-window when in an MDI area.
    void closeForm();
    // The size the screen first appears at (its child window's, in the host), and its place outside
    // the host.
    void setInitialGeometry(const QRect &geometry) { setGeometry(geometry); }

    void setHelpFile(const QString &file) { helpFile = file; }
    void setHelpContext(int context) { helpContext = context; }
    int HelpContext() const { return helpContext; }

    // Inserts a tool button into panMenu before another (at the end of the buttons when null),
    // styled as the others.
    void addToolButton(QAbstractButton *button, QAbstractButton *before = nullptr);
    // Adds a panel between the tool bar and the page control.
    void addTopPanel(QWidget *panel);

    void updateDataCommands();

    virtual void FormCreate();
    virtual void FormActivate();
    virtual void FormClose(CloseAction &action);
    virtual void sbtConfirmarClick();
    virtual void sbtProcurarClick();
    virtual void sbtVerificarClick();
    virtual void sbtImprimirClick();
    virtual void pgcPadraoChange();
    virtual void mnuFormularioClick();
    virtual void mnuFolhaDadosClick();
    virtual void dbgPadraoKeyDown(int &key, Qt::KeyboardModifiers shift);
    virtual void dbgPadraoDblClick();
    virtual void dbgPadraoTitleClick(int column);
    virtual void dbgPadraoDrawColumnCell(const QRect &rect, int column, int viewRow);
    virtual void dtsPadraoStateChange();

    QLabel *lblCodTela;
    QWidget *panMenu;
    TButtonFlat *sbtConfirmar;
    TButtonFlat *sbtProcurar;
    TButtonFlat *sbtVerificar;
    TButtonFlat *sbtImprimir;
    TButtonFlat *sbtAjuda;
    TButtonFlat *sbtFechar;
    QMenuBar *mnuMenu;
    QMenu *mnuOperacao;
    QAction *mnuFolhaDados;
    QAction *mnuFormulario;
    QAction *mnuListagem;
    QAction *mnuConfigImpressora;
    QAction *mnuSair;
    QMenu *mnuManutencao;
    QAction *mnuIncluir;
    QAction *mnuAlterar;
    QAction *mnuExcluir;
    QAction *mnuConfirmar;
    QAction *mnuCancelar;
    QAction *mnuVerificar;
    QAction *mnuProcurar;
    PageControl *pgcPadrao;
    TabPage *tshFolhaDados;
    QWidget *panDbgPadrao;
    QWidget *scbFolhaDados;
    DataGrid *dbgPadrao;
    TabPage *tshFormulario;
    QWidget *panFormulario;
    QWidget *scbFormulario;
    DataSource *dtsPadrao;
    QWidget *panNavigator;
    DataNavigator *dbnPadrao;
    TMessages msgPadrao;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void runFormCreate();
    static void styleToolButton(QToolButton *button);
    void adoptSubWindow(QMdiSubWindow *window);
    void buildToolBar();
    void buildMenus();
    void buildPages();
    void buildNavigator();
    void bindHandlers();
    void applyCloseAction(CloseAction action, QCloseEvent *event);
    void scopeMenuShortcuts();

    QVBoxLayout *formLayout;
    QPointer<QMdiSubWindow> subWindow;
    QString helpFile;
    int helpContext = 0;
    bool formCreated = false;
};
