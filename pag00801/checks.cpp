#include "pag00801/tfrmfiltrorecctpagar.h"

#include "framework/core/abort.h"
#include "framework/core/routines.h"
#include "framework/ui/controls/dateeditplus.h"
#include "framework/ui/controls/maskedit.h"
#include "framework/ui/controls/numberedit.h"
#include "framework/ui/focus/focusevents.h"

#include <QRadioButton>

// One date range: its entries, its page and the keys of its three failures.
struct TfrmFiltroRecCtPagar::DateRange {
    TDateEditPlus *initial;
    TDateEditPlus *final;
    QWidget *page;
    const char *initialMissing;
    const char *finalBeforeInitial;
    const char *finalMissing;
};

namespace {

// Runs a check; on any failure brings the page to the front and the control into focus, so the
// user sees what to correct, and lets the failure go on.
template <typename Check>
void withRecovery(PageControl *pages, QWidget *page, QWidget *control, Check check) {
    try {
        check();
    } catch (...) {
        pages->setActivePage(page);
        control->setFocus(Qt::OtherFocusReason);
        throw;
    }
}

bool isEmpty(const QLineEdit *entry) {
    return EmptyString(entry->text());
}

} // namespace

void TfrmFiltroRecCtPagar::report(const QString &key) const {
    MensErro(msgPadrao.Msg(key), true);
}

TfrmFiltroRecCtPagar::DateRange TfrmFiltroRecCtPagar::dueRange() const {
    return {depVencIni, depVencFin, tshDadosRecber, "VencIni_inf", "VencIni_menor", "VencFin_inf"};
}

TfrmFiltroRecCtPagar::DateRange TfrmFiltroRecCtPagar::issueRange() const {
    return {depDtEmissaoIni,    depDtEmissaoFin,      tshDocumento,
            "DtEmissaoIni_inf", "DtEmissaoIni_menor", "DtEmissaoFin_inf"};
}

TfrmFiltroRecCtPagar::DateRange TfrmFiltroRecCtPagar::entryRange() const {
    return {depDtEntradaIni,    depDtEntradaFin,      tshDocumento,
            "DtEntradaIni_inf", "DtEntradaIni_menor", "DtEntradaFin_inf"};
}

// Leaving the entry checks only its date; confirming needs both ends or neither, the final one not
// before the initial one.
void TfrmFiltroRecCtPagar::checkRangeStart(const DateRange &range, bool confirmando) {
    withRecovery(pgcPadrao, range.page, range.initial, [&] {
        const bool initialEmpty = isEmpty(range.initial);
        if (!confirmando) {
            range.initial->CheckValidDate();
            return;
        }
        if (initialEmpty && !isEmpty(range.final))
            report(QLatin1String(range.initialMissing));
        if (!initialEmpty && !isEmpty(range.final) && !(range.final->GetDate() >= range.initial->GetDate()))
            report(QLatin1String(range.finalBeforeInitial));
    });
}

void TfrmFiltroRecCtPagar::checkRangeEnd(const DateRange &range, bool confirmando) {
    withRecovery(pgcPadrao, range.page, range.final, [&] {
        if (!confirmando) {
            range.final->CheckValidDate();
            return;
        }
        if (isEmpty(range.final) && !isEmpty(range.initial))
            report(QLatin1String(range.finalMissing));
    });
}

void TfrmFiltroRecCtPagar::Vd_DtVencIni(bool Confirmando) {
    checkRangeStart(dueRange(), Confirmando);
}

void TfrmFiltroRecCtPagar::Vd_DtVencFin(bool Confirmando) {
    checkRangeEnd(dueRange(), Confirmando);
}

void TfrmFiltroRecCtPagar::Vd_DtEmissaoIni(bool Confirmando) {
    checkRangeStart(issueRange(), Confirmando);
}

void TfrmFiltroRecCtPagar::Vd_DtEmissaoFin(bool Confirmando) {
    checkRangeEnd(issueRange(), Confirmando);
}

void TfrmFiltroRecCtPagar::Vd_DtEntradaIni(bool Confirmando) {
    checkRangeStart(entryRange(), Confirmando);
}

void TfrmFiltroRecCtPagar::Vd_DtEntradaFin(bool Confirmando) {
    checkRangeEnd(entryRange(), Confirmando);
}

// Document numbers are brought to the width of their entry, so that numbers of digits compare as
// texts in numeric order.
void TfrmFiltroRecCtPagar::adjustDocumentNumber(MaskedEdit *entry) {
    entry->setText(Ajusta(entry->text(), entry->maxLength()));
}

void TfrmFiltroRecCtPagar::Vd_NrDocuIni() {
    withRecovery(pgcPadrao, tshDocumento, medNrDocuIni, [this] {
        const bool initialEmpty = isEmpty(medNrDocuIni);
        if (initialEmpty && !isEmpty(medNrDocuFin))
            report(QStringLiteral("NrNotaFiscIni_inf"));
        if (initialEmpty)
            return;
        adjustDocumentNumber(medNrDocuIni);
        if (isEmpty(medNrDocuFin))
            return;
        adjustDocumentNumber(medNrDocuFin);
        if (QString::compare(medNrDocuIni->text(), medNrDocuFin->text(), Qt::CaseSensitive) > 0)
            report(QStringLiteral("NrNotaFisc_menor"));
    });
}

void TfrmFiltroRecCtPagar::Vd_NrDocuFin() {
    withRecovery(pgcPadrao, tshDocumento, medNrDocuFin, [this] {
        if (!isEmpty(medNrDocuFin))
            adjustDocumentNumber(medNrDocuFin);
        if (isEmpty(medNrDocuFin) && !isEmpty(medNrDocuIni))
            report(QStringLiteral("NrNotaFiscFin_inf"));
    });
}

// "Lista" checked needs some chosen code; the focus goes to the "Lista" button.
void TfrmFiltroRecCtPagar::checkList(QRadioButton *lista, const QString &list, const QString &key) {
    QWidget *page = lista == rbtTipoContLista ? tshDadosRecber : tshDocumento;
    withRecovery(pgcPadrao, page, lista, [&] {
        if (lista->isChecked() && list.isEmpty())
            report(key);
    });
}

void TfrmFiltroRecCtPagar::Vd_Fornecedor() {
    checkList(rbtListaForn, ListaFornecedor, QStringLiteral("Forn_inf"));
}

void TfrmFiltroRecCtPagar::Vd_FiliOrig() {
    checkList(rbtListaFiliOrig, ListaFiliOrig, QStringLiteral("FiliOrig_inf"));
}

void TfrmFiltroRecCtPagar::Vd_FiliLanc() {
    checkList(rbtListaFiliLanc, ListaFiliLanc, QStringLiteral("FiliLanc_inf"));
}

void TfrmFiltroRecCtPagar::Vd_TipoCont() {
    checkList(rbtTipoContLista, ListaTpConta, QStringLiteral("TipoConta_inf"));
}

// An empty value counts as 0; the final value must not be less than the initial one.
void TfrmFiltroRecCtPagar::checkValueRange(TNumberEdit *initial, TNumberEdit *final, QWidget *page,
                                           const QString &key) {
    withRecovery(pgcPadrao, page, initial, [&] {
        if (isEmpty(initial))
            initial->setText(QStringLiteral("0"));
        if (isEmpty(final))
            final->setText(QStringLiteral("0"));
        if (!(final->GetNumber() >= initial->GetNumber()))
            report(key);
    });
}

void TfrmFiltroRecCtPagar::Vd_VrDocuIni() {
    checkValueRange(nedVrDocuIni, nedVrDocuFin, tshDocumento, QStringLiteral("VrDocuIni_menor"));
}

void TfrmFiltroRecCtPagar::Vd_VrOriginalIni() {
    checkValueRange(nedVrOriginalIni, nedVrOriginalFin, tshDadosRecber, QStringLiteral("VrOrigIni_menor"));
}

void TfrmFiltroRecCtPagar::Vd_VrLiquidoIni() {
    checkValueRange(nedVrLiquidoIni, nedVrLiquidoFin, tshDadosRecber, QStringLiteral("VrLiquIni_menor"));
}

void TfrmFiltroRecCtPagar::depVencIniExit() {
    Vd_DtVencIni(false);
}

void TfrmFiltroRecCtPagar::depVencFinExit() {
    Vd_DtVencFin(false);
}

void TfrmFiltroRecCtPagar::depDtEmissaoIniExit() {
    Vd_DtEmissaoIni(false);
}

void TfrmFiltroRecCtPagar::depDtEmissaoFinExit() {
    Vd_DtEmissaoFin(false);
}

void TfrmFiltroRecCtPagar::depDtEntradaIniExit() {
    Vd_DtEntradaIni(false);
}

void TfrmFiltroRecCtPagar::depDtEntradaFinExit() {
    Vd_DtEntradaFin(false);
}

// A single number typed in the initial entry becomes the whole range.
void TfrmFiltroRecCtPagar::medNrDocuIniExit() {
    adjustDocumentNumber(medNrDocuIni);
    if (isEmpty(medNrDocuFin))
        medNrDocuFin->setText(medNrDocuIni->text());
}

void TfrmFiltroRecCtPagar::medNrDocuFinExit() {
    adjustDocumentNumber(medNrDocuFin);
}

// Values are never negative and have at most 10 whole digits and 2 decimals, wherever the key goes.
void TfrmFiltroRecCtPagar::nedValorKeyPress(TNumberEdit *entry, QChar &key) {
    if (key == QLatin1Char('-'))
        key = QChar();
    const int start = entry->hasSelectedText() ? entry->selectionStart() : entry->cursorPosition();
    MaxNumber(entry->text(), 10, 2, key, start, int(entry->selectedText().size()));
}

void TfrmFiltroRecCtPagar::bindExitHandlers() {
    onFocusExit(depVencIni, [this] { depVencIniExit(); });
    onFocusExit(depVencFin, [this] { depVencFinExit(); });
    onFocusExit(depDtEmissaoIni, [this] { depDtEmissaoIniExit(); });
    onFocusExit(depDtEmissaoFin, [this] { depDtEmissaoFinExit(); });
    onFocusExit(depDtEntradaIni, [this] { depDtEntradaIniExit(); });
    onFocusExit(depDtEntradaFin, [this] { depDtEntradaFinExit(); });
    onFocusExit(medNrDocuIni, [this] { medNrDocuIniExit(); });
    onFocusExit(medNrDocuFin, [this] { medNrDocuFinExit(); });
    for (TNumberEdit *entry :
         {nedVrDocuIni, nedVrDocuFin, nedVrOriginalIni, nedVrOriginalFin, nedVrLiquidoIni, nedVrLiquidoFin})
        entry->setOnKeyPress([this, entry](QChar &key) { nedValorKeyPress(entry, key); });
}
