#pragma once

#include "framework/ui/screens/tfrmfiltropadrao.h"

#include <QPointer>
#include <utility>

class ClientDataSet;
class DataSource;
class Field;
class MaskedEdit;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QRadioButton;
class RadioGroup;
class TADOIBQuery;
class TBtnPesquisa;
class TDateEditPlus;
class TNetConnection;
class TNumberEdit;
class TabPage;

// The criteria of the last confirmed filter. Dates are day counts (0 = no date); Tipo, Status and
// Ctbl are item indexes of rgpTipo, cbbStatus and rdgCtbl. A new record holds the defaults, but for
// the due range, which comes from the general payable parameters.
struct TFORNECEDOR {
    bool Todos = true;
    QString Lista;

    bool operator==(const TFORNECEDOR &) const = default;
};
struct TDOCUMENTO {
    QString NrDocuIni;
    QString NrDocuFin;

    bool operator==(const TDOCUMENTO &) const = default;
};
struct TFILIORIG {
    bool Todas = true;
    QString Lista;

    bool operator==(const TFILIORIG &) const = default;
};
struct TFILILANC {
    bool Todas = true;
    QString Lista;

    bool operator==(const TFILILANC &) const = default;
};
struct TTIPOCONTA {
    bool Todos = true;
    QString Lista;

    bool operator==(const TTIPOCONTA &) const = default;
};
struct TFILTRO {
    TFORNECEDOR Fornecedor;
    TDOCUMENTO Documento;
    double DtEmissaoIni = 0;
    double DtEmissaoFin = 0;
    double DtEntradaIni = 0;
    double DtEntradaFin = 0;
    TFILIORIG FiliOrig;
    TFILILANC FiliLanc;
    double VrDocuIni = 0;
    double VrDocuFin = 0;
    qint32 Tipo = 0;
    double VencIni = 0;
    double VencFin = 0;
    TTIPOCONTA TipoConta;
    double VrOriginalIni = 0;
    double VrOriginalFin = 0;
    double VrLiquidoIni = 0;
    double VrLiquidoFin = 0;
    qint32 Status = 3;
    qint32 Ctbl = 2;

    bool operator==(const TFILTRO &) const = default;
};

// PAG00801, "Filtro de Recálculo de Contas a Pagar": the criteria with which the recalculation
// screen fetches its payable instalments. Created once, then only hidden and shown again; it runs
// as a modal dialog or hidden (restore the held criteria and confirm at once).
class TfrmFiltroRecCtPagar : public TfrmFiltroPadrao {
    Q_OBJECT
public:
    explicit TfrmFiltroRecCtPagar(QWidget *parent = nullptr);
    ~TfrmFiltroRecCtPagar() override;

    void FormCreate() override;
    void FormActivate() override;
    void FormClose(CloseAction &action) override;
    void sbtConfirmaClick() override;
    void netFiltroRecContaPagarBeforeConnect();
    void netRecContaPagarBeforeConnect();

    // Checks of the criteria: each reports its failure, brings its page to the front, focuses its
    // control and lets the silent abort go on.
    void Vd_DtVencIni(bool Confirmando);
    void Vd_DtVencFin(bool Confirmando);
    void Vd_DtEmissaoIni(bool Confirmando);
    void Vd_DtEmissaoFin(bool Confirmando);
    void Vd_DtEntradaIni(bool Confirmando);
    void Vd_DtEntradaFin(bool Confirmando);
    void Vd_NrDocuIni();
    void Vd_NrDocuFin();
    void Vd_Fornecedor();
    void Vd_FiliOrig();
    void Vd_FiliLanc();
    void Vd_TipoCont();
    void Vd_VrDocuIni();
    void Vd_VrOriginalIni();
    void Vd_VrLiquidoIni();

    void depVencIniExit();
    void depVencFinExit();
    void depDtEmissaoIniExit();
    void depDtEmissaoFinExit();
    void depDtEntradaIniExit();
    void depDtEntradaFinExit();
    void medNrDocuIniExit();
    void medNrDocuFinExit();
    // Key filter of the six value entries: no minus sign, at most 10 whole digits and 2 decimals.
    void nedValorKeyPress(TNumberEdit *entry, QChar &key);

    // The list groups: each radio handler serves both buttons of its group.
    void rbtListaFornClick();
    void rbtListaFiliOrigClick();
    void rbtListaFiliLancClick();
    void rbtTipoContListaClick();

    // The search buttons of the list groups and the supplier's registration number as shown.
    void btnListFornClick();
    void btnFiliOrigClick();
    void btnFiliLancClick();
    void btnTpContaClick();
    void qryFornecedorNRINSJURFORNGetText(Field &Sender, QString &Text, bool DisplayText);

    // Clearing of the criteria ("Desfazer", Ctrl+D).
    void sbtLimpaClick();
    void mnuDesfazerClick();

    // Saved options: the four list texts are kept with the controls.
    void btfSaveOpcClick() override;
    void btfLoadOpcClick() override;
    void checkOptionValues(const QStringList &values) override;

    // Criteria of the last confirmation.
    TFILTRO Filtro;

    TButtonFlat *sbtLimpa;
    QMenu *pmnHotKey;
    QAction *mnuDesfazer;

    TabPage *tshDadosRecber;
    QGroupBox *GroupBox12;
    QGroupBox *grbVencimento;
    TDateEditPlus *depVencIni;
    TDateEditPlus *depVencFin;
    QGroupBox *grbTipoConta;
    QRadioButton *rbtTodosTipoCont;
    QRadioButton *rbtTipoContLista;
    TBtnPesquisa *btnTpConta;
    QGroupBox *grbVrOriginal;
    TNumberEdit *nedVrOriginalIni;
    TNumberEdit *nedVrOriginalFin;
    QGroupBox *grbVrLiquido;
    TNumberEdit *nedVrLiquidoIni;
    TNumberEdit *nedVrLiquidoFin;
    QGroupBox *grbStatus;
    QComboBox *cbbStatus;
    QGroupBox *grbSituacao;
    QCheckBox *chbAVencer;
    QCheckBox *chbVencidas;
    RadioGroup *rdgCtbl;

    TabPage *tshDocumento;
    QGroupBox *GroupBox9;
    QGroupBox *grbFornecedor;
    QRadioButton *rbtTodosForn;
    QRadioButton *rbtListaForn;
    TBtnPesquisa *btnListForn;
    QGroupBox *grbDocumento;
    MaskedEdit *medNrDocuIni;
    MaskedEdit *medNrDocuFin;
    QGroupBox *grbDtEmissao;
    TDateEditPlus *depDtEmissaoIni;
    TDateEditPlus *depDtEmissaoFin;
    QGroupBox *grbDtEntrada;
    TDateEditPlus *depDtEntradaIni;
    TDateEditPlus *depDtEntradaFin;
    QGroupBox *grbFiliOrig;
    QRadioButton *rbtTodasFiliOrig;
    QRadioButton *rbtListaFiliOrig;
    TBtnPesquisa *btnFiliOrig;
    QGroupBox *grbFiliLanc;
    QRadioButton *rbtTodasFiliLanc;
    QRadioButton *rbtListaFiliLanc;
    TBtnPesquisa *btnFiliLanc;
    QGroupBox *grbVrDocumento;
    TNumberEdit *nedVrDocuIni;
    TNumberEdit *nedVrDocuFin;
    RadioGroup *rgpTipo;

    TNetConnection *netFiltroRecContaPagar;
    TNetConnection *netRecContaPagar;
    ClientDataSet *cdsGeralPag;
    ClientDataSet *cdsParamFilial;
    TADOIBQuery *qryFornecedor;
    TADOIBQuery *qryFilial;
    TADOIBQuery *qryTipoCtPagar;
    DataSource *dtsFornecedor;
    DataSource *dtsFilial;
    DataSource *dtsTipoCtPagar;

private:
    void buildWindow();
    void buildPageContaPagar();
    void buildPageDocumento();
    void buildHotKey();
    void buildConnections();
    void buildDataSets();
    void fillMessages();
    void bindHandlers();
    void bindExitHandlers();
    void bindListGroups();

    void loadGeralPag();
    void loadParamFilial();
    void setDocumentWidth();
    void setDefaultCriteria();
    // Today minus QTDIAANTLANP and today plus QTDIAAPOLANP days, from cdsGeralPag.
    std::pair<double, double> defaultDueRange() const;
    void restoreCriteria();
    void storeCriteria();

    // The date checks of one range, with its initial and final entries and keys.
    struct DateRange;
    DateRange dueRange() const;
    DateRange issueRange() const;
    DateRange entryRange() const;
    void checkRangeStart(const DateRange &range, bool confirmando);
    void checkRangeEnd(const DateRange &range, bool confirmando);
    // One list group's search: its query, codes, messages, list text, page and "Todos"/"Todas".
    struct ListGroup;
    void searchList(const ListGroup &group);
    void checkList(QRadioButton *lista, const QString &list, const QString &key);
    void checkValueRange(TNumberEdit *initial, TNumberEdit *final, QWidget *page, const QString &key);
    void adjustDocumentNumber(MaskedEdit *entry);
    void validateCriteria();
    QString ctblLetter() const;
    void fetchPayables(const QString &ctbl);
    void report(const QString &key) const;
};

// The unit's single filter screen and whether it was created.
extern QPointer<TfrmFiltroRecCtPagar> frmFiltroRecCtPagar;
extern bool FiltroCriado;

// The chosen codes of the list groups (the list picker's form); what the fetch sends.
extern QString ListaFornecedor;
extern QString ListaFiliOrig;
extern QString ListaFiliLanc;
extern QString ListaTpConta;

// "BOTAO_FILTRO" shows the filter as a modal dialog; "ESCONDE_FILTRO" restores the held criteria
// and confirms them without showing the screen, fetching the payables into the recalculation
// screen (a failed check or a server failure ends it with the silent abort, so the caller stops).
// Any other mode only creates the screen. The screen is created on first use.
extern "C" Q_DECL_EXPORT void CriaFiltroRecContPagar(const QString &mode);
