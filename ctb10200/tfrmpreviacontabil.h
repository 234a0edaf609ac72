#pragma once

#include "ctb10200/handoff.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QWidget>

class ClientDataSet;
class DataGrid;
class DataSource;
class QGroupBox;
class QLabel;
class QPushButton;
class TNetConnection;

// CTB10200, "Prévia da Contabilização": the accounting entries that a screen hands over, their
// apportionment over branches and cost centres and the accounting errors with their meaning, or the
// posting stored under the number handed over; with the debit and credit totals side by side.
class TfrmPreviaContabil : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize tamanhoInicial{860, 600};

    explicit TfrmPreviaContabil(QWidget *parent = nullptr);
    ~TfrmPreviaContabil() override;

    // Shows a hand-off, fetching the stored posting when it brings no rows. When the fetch fails
    // (reported with MensErro) the screen keeps what it showed.
    void Mostra(const PreviaContabil &previa);
    // Closes the screen, or its child window in the host.
    void Fecha();

    void netLancContabilBeforeConnect();
    void cdsLancamentosCalcFields();
    void cdsRateioCalcFields();
    void cdsErrosCalcFields();
    // The apportionment follows the current entry line to its first part.
    void cdsLancamentosAfterScroll();
    // The entries follow the current error to the line it points at.
    void cdsErrosAfterScroll();
    // Tints the entry lines that an error points at.
    void dbgLancamentosDrawColumnCell(const QRect &rect, int column, int viewRow);

    QWidget *panCabecalho;
    QLabel *lblEmpresa;
    QLabel *lblLancamento;
    QLabel *lblOrigem;
    QLabel *lblCodTela;
    QGroupBox *grbLancamentos;
    DataGrid *dbgLancamentos;
    QLabel *lblTotalDebito;
    QLabel *lblTotalCredito;
    QLabel *lblConferencia;
    QGroupBox *grbRateio;
    DataGrid *dbgRateio;
    QGroupBox *grbErros;
    DataGrid *dbgErros;
    QPushButton *btnFechar;

    TNetConnection *netLancContabil;
    ClientDataSet *cdsLancamentos;
    ClientDataSet *cdsRateio;
    ClientDataSet *cdsErros;
    DataSource *dtsLancamentos;
    DataSource *dtsRateio;
    DataSource *dtsErros;

private:
    struct Linha {
        QString lancamento;
        QString conta;
    };

    void createDataSets();
    void buildWindow();
    void buildHeader();
    void buildEntries();
    void buildApportionment();
    void buildErrors();
    void bindEvents();

    void carrega(const PreviaContabil &previa, bool gravado);
    void mostraCabecalho(const PreviaContabil &previa, bool gravado);
    void mostraTotais();
    void indexaLinhas();
    void indexaErros();

    // Posting number and account of each entry line, by its NRSEQCTBTEMP: what an error points at.
    QHash<QString, Linha> linhas;
    // NRSEQCTBTEMP of the lines with errors.
    QSet<QString> linhasComErro;
};

// The open preview; empty once the screen is gone.
extern "C" Q_DECL_EXPORT QPointer<TfrmPreviaContabil> frmPreviaContabil;

// Creates the preview once and shows the hand-off in it; later calls show their hand-off in the same
// screen and bring it to the front. A bad hand-off or a failed fetch is reported and ends with the
// silent abort, leaving an open preview as it was.
void CriaPreviaContabil(const QVariantList &params);
