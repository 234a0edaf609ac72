#pragma once

#include "framework/core/dataset.h"
#include "framework/core/keylist.h"
#include "framework/core/rowkey.h"
#include "framework/ui/screens/tfrmpadrao.h"

#include <QPointer>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class TADOIBQuery;
class TBtnPesquisa;
class DataLabel;
class MaskedEdit;
class NetArg;
class TNetConnection;

// PAG00800, "Recálculo da Contabilização de Contas a Pagar": the user picks a company, marks the
// payable instalments whose accounting postings are to be recalculated and confirms.
class TfrmRecCtPagar : public TfrmPadrao {
    Q_OBJECT
public:
    explicit TfrmRecCtPagar(QWidget *parent = nullptr);
    ~TfrmRecCtPagar() override;

    void FormCreate() override;
    void FormActivate() override;
    void FormClose(CloseAction &action) override;
    void netRecContaPagarBeforeConnect();

    void cdsCntPagarCalcFields();
    void cdsCntPagarAfterOpen();
    void cdsCntPagarAfterClose();
    void cdsCntPagarAfterPost();
    // Enables the confirm command exactly while some payable is marked.
    void Bot_Confirma();

    // Recalculates the postings of the marked payables and judges the server's answer.
    void sbtConfirmarClick() override;
    // Fetches the payables again, silently, with the filter's current criteria.
    void sbtVerificarClick() override;
    // Opens the accounting preview for the posting of the current payable or adjustment.
    void sbtContabClick();
    // Checks the current row of source's dataset against the server for changes made by other users
    // since it was loaded (the instalment number, status, value and due date as the caller loaded them);
    // stops with the message of the first change found.
    void Veri_CntAlterada(DataSource *source, QString instalment, const QString &status, double value,
                          double dueDate);

    // Marking the payables (marking.cpp).
    void dbgPadraoDblClick() override;
    void dbgPadraoKeyDown(int &key, Qt::KeyboardModifiers shift) override;
    void dbgPadraoTitleClick(int column) override;
    void dbgPadraoDrawColumnCell(const QRect &rect, int column, int viewRow) override;

    // The adjustments page (adjustments.cpp).
    void cdsCntPagarAfterScroll();
    QString cdsAjusPagCDAJUCTPAGGetText(Field &sender);
    QString cdsAjusPagIDAJUCTPAGGetText(Field &sender);
    void mnuFormularioClick() override;
    void sbtProcurarClick() override;
    // Connects and disconnects cdsCntPagarAfterScroll; bulk work over the payables runs detached.
    void attachAfterScroll();
    void detachAfterScroll();

    // Company selection: a failed check shows its message, puts the cursor in medCdEmpresa and
    // stops the caller with the silent abort.
    void Vd_Empresa(bool required);
    void medCdEmpresaChange();
    void medCdEmpresaExit();
    void btpEmpresaBeforePesq();
    void btpEmpresaAfterPesq();
    void panFiltroEnter();
    void panFiltroExit();
    void sbtFiltroClick();
    void dtsPadraoStateChange() override;

    // The marked payables (keys of the marked rows); exists from the first activation to the close.
    TKeyList *markedSet() const { return lstMarcados.get(); }
    // Key of the current payable row in the marked set.
    QString markedKeyOfCurrentRow() const;

    // Tool bar.
    TButtonFlat *sbtFiltro;
    TButtonFlat *sbtContab;
    QLabel *ImgCheck;
    QLabel *imgUnCheck;

    // Company panel.
    QWidget *panFiltro;
    QLabel *Label1;
    MaskedEdit *medCdEmpresa;
    TBtnPesquisa *btpEmpresa;
    QLineEdit *edtNmEmpresa;

    DataGrid *dbgAjusPag;
    DataLabel *dbtNome;
    QAction *N1;
    QAction *mnuFiltro;

    TNetConnection *netRecContaPagar;
    TADOIBQuery *qryEmpresa;
    DataSource *dtsEmpresa;
    DataSource *dtsAjusPag;

    ClientDataSet *cdsCntPagar;
    ClientDataSet *cdsAjusPag;
    ClientDataSet *cdsPerContabil;
    ClientDataSet *cdsExistConta;
    ClientDataSet *cdsExistDoc;
    ClientDataSet *cdsTipoCnt;
    ClientDataSet *cdsVrBoleto;
    ClientDataSet *cdsCntProrrogada;
    ClientDataSet *cdsLancContTemp;
    ClientDataSet *cdsRateio;
    ClientDataSet *cdsErrosTemp;

private:
    ClientDataSet *newDataSet(const QString &name, const QList<FieldDef> &fields);
    void createDataSets();
    void buildWindow();
    void buildToolBar();
    void buildCompanyPanel();
    void buildPayableGrid();
    void buildAdjustmentsPage();
    void buildNavigator();
    void buildMenus();
    void buildConnection();
    void fillMessages();
    void bindDataSetEvents();
    void bindAdjustmentsEvents();
    void emptyAdjustments();

    void showMarkedRowsOnly();
    void showAllRowsAgain();
    QVariantList currentRowKey() const;
    void returnToRow(const QVariantList &key);
    QString sendMarkedRows();
    void judgeRunStatus(const QString &status);
    void handOffToPreview(const QString &postingNumber);
    void loadVerification(ClientDataSet *into, const QString &method, const QList<NetArg> &args);

    void bindCompanyEvents();
    [[noreturn]] void failCompany(const char *key);
    void loadAccountingPeriod();
    void setFilterCommandEnabled(bool enabled);

    std::unique_ptr<TKeyList> lstMarcados;
    std::optional<RowKey> markedKey;
    Field *markedFlag = nullptr;
    QString postedKey; // the posted row's key, built in one buffer kept between posts
};

// The open recalculation screen. It reads as empty once the screen is gone, so a stale reference
// can never reach a destroyed window.
extern "C" Q_DECL_EXPORT QPointer<TfrmRecCtPagar> frmRecCtPagar;
// True from the moment CriaRecConPag creates the screen until the screen's close handler runs.
extern "C" Q_DECL_EXPORT bool boIdCriado;

// Creates the screen once and shows it; later calls bring it to the front and restore it.
extern "C" Q_DECL_EXPORT void CriaRecConPag();
