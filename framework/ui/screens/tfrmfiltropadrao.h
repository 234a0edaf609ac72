#pragma once

#include "framework/core/messages.h"
#include "framework/ui/controls/buttonflat.h"
#include "framework/ui/controls/pagecontrol.h"
#include "framework/ui/screens/formhelp.h"

#include <QDialog>

class ClientDataSet;
class QGroupBox;
class QLabel;
class QMenu;
class QVBoxLayout;

// Base of the filter dialogs, shown modally.
//
// Make-up: the criteria frame grbFiltroPadrao holding the page control pgcPadrao, and the side
// panel panMenu with panHelp (sbtHelp, the saved-options buttons btfSaveOpc and btfLoadOpc and
// their menu ppmOpcoes, also in the context menu PopupMenu1) and panBotoes (sbtConfirma);
// lblCodTela shows the screen code, msgPadrao is the message table and cdsCarregaOpcoes lists the
// saved option names (field NMOPCAO) when options are loaded. Each component carries its name as objectName.
//
// Handlers (virtual, run through the handler guard when Qt calls them): FormCreate (run by
// create()), FormActivate (each time the dialog is shown, not when it becomes active again after
// one of its own child dialogs, so that what the user typed stays), FormClose (whenever the dialog
// is done: accepted, rejected or closed; Hide keeps the dialog for the next use, Keep keeps it
// open), sbtConfirmaClick (accepts), btfSaveOpcClick / btfLoadOpcClick (saved options).
//
// Saved options: btfSaveOpcClick asks for a name (an existing one or a new one) and stores the
// dialog's controls with optionValues under that name for the current operator; btfLoadOpcClick
// asks for one of the saved names and restores them; when nothing is loaded (no saved options,
// cancelled, name gone, an entry damaged on disk or refused by checkOptionValues) it reports why
// where there is a reason and ends with the silent abort, changing nothing, so a derived handler
// stops after it. The screen code (lblCodTela's text) keeps the options of different dialogs apart.
class TfrmFiltroPadrao : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFiltroPadrao(QWidget *parent = nullptr);

    // Creates a dialog and runs its FormCreate; a failure deletes the dialog and reaches the caller.
    template <typename Form, typename... Args> static Form *create(Args &&...args) {
        auto *form = new Form(std::forward<Args>(args)...);
        try {
            static_cast<TfrmFiltroPadrao *>(form)->FormCreate();
        } catch (...) {
            delete form;
            throw;
        }
        return form;
    }

    void setHelpFile(const QString &file) { helpFile = file; }
    void setHelpContext(int context) { helpContext = context; }
    int HelpContext() const { return helpContext; }

    virtual void FormCreate();
    virtual void FormActivate();
    virtual void FormClose(CloseAction &action);
    virtual void sbtConfirmaClick();
    virtual void btfSaveOpcClick();
    virtual void btfLoadOpcClick();
    // Runs when loaded options are about to be restored, before anything changes: a derived dialog
    // checks its option values and refuses them with the silent abort (MensErro).
    virtual void checkOptionValues(const QStringList &values);

    void done(int result) override;

    QLabel *lblCodTela;
    QGroupBox *grbFiltroPadrao;
    PageControl *pgcPadrao;
    QWidget *panMenu;
    QWidget *panHelp;
    TButtonFlat *sbtHelp;
    TButtonFlat *btfSaveOpc;
    TButtonFlat *btfLoadOpc;
    QMenu *ppmOpcoes;
    QMenu *PopupMenu1;
    ClientDataSet *cdsCarregaOpcoes;
    QWidget *panBotoes;
    TButtonFlat *sbtConfirma;
    TMessages msgPadrao;
    // "name=value" lines stored and restored with the saved options.
    QStringList optionValues;

protected:
    void showEvent(QShowEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildSidePanel(QVBoxLayout *side);
    void bindHandlers();
    QString screenCode() const;
    QStringList loadSavedNames();

    QString helpFile;
    int helpContext = 0;
};
