#include "pag00801/listpicker.h"
#include "pag00801/listqueries.h"
#include "pag00801/tfrmfiltrorecctpagar.h"

#include "framework/core/abort.h"
#include "framework/core/datasource.h"
#include "framework/core/routines.h"
#include "framework/session/adoibquery.h"
#include "framework/ui/controls/btnpesquisa.h"
#include "framework/ui/controls/pagecontrol.h"
#include "framework/ui/feedback/waitcursor.h"

#include <QRadioButton>

// What one search button works with: its query and data source, the key of its codes, its message
// keys, its list text, and the page and button that take the focus when the table is empty.
struct TfrmFiltroRecCtPagar::ListGroup {
    TADOIBQuery *query;
    DataSource *source;
    QString keyField;
    QString titleKey;
    QString emptyKey;
    QString &list;
    TabPage *page;
    QRadioButton *all;
};

namespace {

// The registration number through the mask of its person type; shown as stored when the type has
// no mask or the digits do not fill it, so that no digit is hidden.
QString maskedRegistration(const QString &stored, const QString &mask) {
    qsizetype digits = 0, places = mask.count(u'9');
    for (QChar c : stored)
        digits += c.isDigit();
    return places > 0 && digits == places ? applyMask(stored, mask) : stored;
}

} // namespace

void TfrmFiltroRecCtPagar::bindListGroups() {
    prepareFornecedorQuery(qryFornecedor);
    prepareFilialQuery(qryFilial);
    prepareTipoCtPagarQuery(qryTipoCtPagar);
    qryFornecedor->FieldByName(QStringLiteral("NRINSJURFORN"))->setOnGetText([this](Field &field) {
        QString text;
        qryFornecedorNRINSJURFORNGetText(field, text, true);
        return text;
    });
    btnListForn->OnClick = [this] { btnListFornClick(); };
    btnFiliOrig->OnClick = [this] { btnFiliOrigClick(); };
    btnFiliLanc->OnClick = [this] { btnFiliLancClick(); };
    btnTpConta->OnClick = [this] { btnTpContaClick(); };
}

// Each search button is usable exactly while its "Lista" button is checked; the list text stays.
void TfrmFiltroRecCtPagar::rbtListaFornClick() {
    btnListForn->setEnabled(rbtListaForn->isChecked());
}

void TfrmFiltroRecCtPagar::rbtListaFiliOrigClick() {
    btnFiliOrig->setEnabled(rbtListaFiliOrig->isChecked());
}

void TfrmFiltroRecCtPagar::rbtListaFiliLancClick() {
    btnFiliLanc->setEnabled(rbtListaFiliLanc->isChecked());
}

void TfrmFiltroRecCtPagar::rbtTipoContListaClick() {
    btnTpConta->setEnabled(rbtTipoContLista->isChecked());
}

void TfrmFiltroRecCtPagar::btnListFornClick() {
    searchList({qryFornecedor, dtsFornecedor, QStringLiteral("CDFORNECED"), QStringLiteral("Fornecedor"),
                QStringLiteral("Fornec_Cad"), ListaFornecedor, tshDocumento, rbtTodosForn});
}

void TfrmFiltroRecCtPagar::btnFiliOrigClick() {
    searchList({qryFilial, dtsFilial, QStringLiteral("CDFILIAL"), QStringLiteral("Filial_origem"),
                QStringLiteral("Fili_Cad"), ListaFiliOrig, tshDocumento, rbtTodasFiliOrig});
}

void TfrmFiltroRecCtPagar::btnFiliLancClick() {
    searchList({qryFilial, dtsFilial, QStringLiteral("CDFILIAL"), QStringLiteral("Filial_Lanc"),
                QStringLiteral("Fili_Cad"), ListaFiliLanc, tshDocumento, rbtTodasFiliLanc});
}

void TfrmFiltroRecCtPagar::btnTpContaClick() {
    searchList({qryTipoCtPagar, dtsTipoCtPagar, QStringLiteral("CDTPCTPAGAR"), QStringLiteral("Tipo_Conta"),
                QStringLiteral("TipoCt_Cad"), ListaTpConta, tshDadosRecber, rbtTodosTipoCont});
}

// Reads the group's table afresh; an empty table is reported on the group's page with the focus on
// "Todos"/"Todas", otherwise the user chooses the codes of the list.
void TfrmFiltroRecCtPagar::searchList(const ListGroup &group) {
    {
        WaitCursor wait;
        group.query->Close();
        group.query->Open();
    }
    if (group.query->IsEmpty()) {
        pgcPadrao->setActivePage(group.page);
        group.all->setFocus();
        MensErro(msgPadrao.Msg(group.emptyKey), true);
    }
    PesquisaLista(group.source, group.keyField, msgPadrao.Msg(group.titleKey), false, group.list);
}

void TfrmFiltroRecCtPagar::qryFornecedorNRINSJURFORNGetText(Field &Sender, QString &Text, bool) {
    const QString kind = qryFornecedor->FieldByName(QStringLiteral("IDTPIJURFORN"))->asString();
    Text = maskedRegistration(Sender.asString(), PictPess(kind));
}
