#include "ctb10200/tfrmpreviacontabil.h"
#include "ctb10200/storedposting.h"

#include "framework/core/abort.h"
#include "framework/core/dataset.h"
#include "framework/core/datasource.h"
#include "framework/core/money.h"
#include "framework/core/routines.h"
#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/ui/feedback/waitcursor.h"
#include "framework/ui/grid/dbgrid.h"
#include "server_contract/errocontabil.h"

#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>

QPointer<TfrmPreviaContabil> frmPreviaContabil;

namespace {

const QString semConta = QStringLiteral("(sem conta)");

// A line's value in the column of its side: debits are positive, credits negative.
void poeNoLado(ClientDataSet *dataSet, double valor, const char *debito, const char *credito,
               const QVariant &debitoValor, const QVariant &creditoValor) {
    dataSet->fieldByName(valor >= 0 ? debito : credito)->setValue(valor >= 0 ? debitoValor : creditoValor);
}

struct Totais {
    qint64 debitos = 0;
    qint64 creditos = 0;
};

Totais totaisDe(ClientDataSet *lancamentos) {
    Totais totais;
    const int valor = lancamentos->fieldByName("VRLANCCTBTEMP")->index();
    for (int row = 0; row < lancamentos->recordCount(); ++row) {
        const qint64 cents = toCents(lancamentos->valueAt(row, valor).toDouble());
        (cents >= 0 ? totais.debitos : totais.creditos) += qAbs(cents);
    }
    return totais;
}

// A new preview opens at the top left of the host's area, at its own size as far as the area allows;
// one opened again comes back from being minimized.
void placeInArea(TfrmPreviaContabil *screen, bool nova) {
    auto *window = qobject_cast<QMdiSubWindow *>(screen->parentWidget());
    if (!window || !window->mdiArea())
        return;
    if (nova)
        window->setGeometry(QRect(QPoint(0, 0), TfrmPreviaContabil::tamanhoInicial.boundedTo(
                                                    window->mdiArea()->viewport()->size())));
    else if (window->isMinimized())
        window->showNormal();
}

} // namespace

TfrmPreviaContabil::TfrmPreviaContabil(QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("frmPreviaContabil"));
    setAttribute(Qt::WA_DeleteOnClose);
    createDataSets();
    buildWindow();
    buildHeader();
    buildEntries();
    buildApportionment();
    buildErrors();
    bindEvents();
}

TfrmPreviaContabil::~TfrmPreviaContabil() = default;

void TfrmPreviaContabil::Mostra(const PreviaContabil &previa) {
    if (!previa.pedeLancamentoGravado()) {
        carrega(previa, false);
        return;
    }
    if (previa.lancamento.isEmpty())
        MensErro(
            QStringLiteral("Não há lançamento contábil para mostrar: a conta não tem número de lançamento."),
            true);
    if (previa.empresa.isEmpty())
        MensErro(QStringLiteral("A prévia da contabilização não recebeu a empresa do lançamento %1.")
                     .arg(previa.lancamento),
                 true);
    LancamentoGravado gravado;
    {
        WaitCursor hourglass;
        gravado = buscaLancamentoGravado(*netLancContabil, previa.empresa, previa.lancamento);
    }
    if (gravado.linhas.rowCount() == 0)
        MensErro(QStringLiteral("O lançamento contábil %1 não foi encontrado na empresa %2.")
                     .arg(previa.lancamento, previa.empresa),
                 true);
    PreviaContabil lancamento = previa;
    lancamento.lancamentos = gravado.linhas;
    lancamento.rateio = gravado.rateio;
    carrega(lancamento, true);
}

void TfrmPreviaContabil::Fecha() {
    if (auto *window = qobject_cast<QMdiSubWindow *>(parentWidget()))
        window->close();
    else
        close();
}

void TfrmPreviaContabil::carrega(const PreviaContabil &previa, bool gravado) {
    cdsLancamentos->setData(previa.lancamentos);
    cdsRateio->setData(previa.rateio);
    indexaLinhas();
    cdsErros->setData(previa.erros);
    indexaErros();
    mostraCabecalho(previa, gravado);
    mostraTotais();
    const int erros = cdsErros->recordCount();
    grbErros->setTitle(QStringLiteral("Erros de contabilização (%1)").arg(erros));
    grbErros->setVisible(erros > 0);
}

void TfrmPreviaContabil::mostraCabecalho(const PreviaContabil &previa, bool gravado) {
    const QString nome =
        cdsLancamentos->isEmpty() ? QString() : cdsLancamentos->fieldByName("NMEMPRESA")->asString();
    lblEmpresa->setText(
        QStringLiteral("Empresa: %1").arg(nome.isEmpty() ? previa.empresa : previa.empresa + " - " + nome));
    lblLancamento->setText(
        QStringLiteral("Lançamento: %1")
            .arg(previa.lancamento.isEmpty() ? QStringLiteral("(sem número)") : previa.lancamento));
    if (gravado)
        lblOrigem->setText(QStringLiteral("Lançamento gravado na contabilidade."));
    else if (!cdsErros->isEmpty())
        lblOrigem->setText(QStringLiteral("Lançamentos calculados pelo recálculo e não gravados: há erros de "
                                          "contabilização."));
    else
        lblOrigem->setText(QStringLiteral("Lançamentos calculados pelo recálculo."));
}

void TfrmPreviaContabil::mostraTotais() {
    const Totais totais = totaisDe(cdsLancamentos);
    lblTotalDebito->setText(QStringLiteral("Total a débito: %1").arg(formatMoney(fromCents(totais.debitos))));
    lblTotalCredito->setText(
        QStringLiteral("Total a crédito: %1").arg(formatMoney(fromCents(totais.creditos))));
    const bool conferem = totais.debitos == totais.creditos;
    lblConferencia->setText(
        conferem
            ? QStringLiteral("Débitos e créditos conferem.")
            : QStringLiteral("Diferença: %1").arg(formatMoney(fromCents(totais.debitos - totais.creditos))));
    lblConferencia->setStyleSheet(conferem ? QStringLiteral("color: #1b5e20;")
                                           : QStringLiteral("color: #b71c1c;"));
}

void TfrmPreviaContabil::indexaLinhas() {
    linhas.clear();
    const int sequencia = cdsLancamentos->fieldByName("NRSEQCTBTEMP")->index();
    const int lancamento = cdsLancamentos->fieldByName("NRLANCCTBTEMP")->index();
    const int conta = cdsLancamentos->fieldByName("CDCONTCTBL")->index();
    for (int row = 0; row < cdsLancamentos->recordCount(); ++row)
        linhas.insert(cdsLancamentos->valueAt(row, sequencia).toString().trimmed(),
                      {cdsLancamentos->valueAt(row, lancamento).toString(),
                       cdsLancamentos->valueAt(row, conta).toString()});
}

void TfrmPreviaContabil::indexaErros() {
    linhasComErro.clear();
    const int sequencia = cdsErros->fieldByName("NRSEQCTBTEMP")->index();
    for (int row = 0; row < cdsErros->recordCount(); ++row)
        linhasComErro.insert(cdsErros->valueAt(row, sequencia).toString().trimmed());
}

void TfrmPreviaContabil::cdsLancamentosAfterScroll() {
    if (!cdsLancamentos->isEmpty())
        cdsRateio->locate(QStringLiteral("NRLANCCTBTEMP;NRSEQCTBTEMP"),
                          {cdsLancamentos->fieldByName("NRLANCCTBTEMP")->asString(),
                           cdsLancamentos->fieldByName("NRSEQCTBTEMP")->asString()});
}

void TfrmPreviaContabil::cdsErrosAfterScroll() {
    if (!cdsErros->isEmpty())
        cdsLancamentos->locate(QStringLiteral("NRSEQCTBTEMP"),
                               {cdsErros->fieldByName("NRSEQCTBTEMP")->asString()});
}

void TfrmPreviaContabil::dbgLancamentosDrawColumnCell(const QRect &rect, int, int viewRow) {
    const int sequencia = cdsLancamentos->fieldByName("NRSEQCTBTEMP")->index();
    if (linhasComErro.contains(cdsLancamentos->valueAt(viewRow, sequencia).toString().trimmed()))
        dbgLancamentos->canvas()->fillRect(rect, QColor(183, 28, 28, 48));
}

void TfrmPreviaContabil::netLancContabilBeforeConnect() {
    netLancContabil->setHost(Norvela::WebURL());
    netLancContabil->setPort(quint16(Norvela::WebPort()));
}

void TfrmPreviaContabil::cdsLancamentosCalcFields() {
    const double valor = cdsLancamentos->fieldByName("VRLANCCTBTEMP")->asFloat();
    const QString conta = cdsLancamentos->fieldByName("CDCONTCTBL")->asString();
    const QString mostrada = EmptyString(conta) ? semConta : conta;
    poeNoLado(cdsLancamentos, valor, "CONTADEBITO", "CONTACREDITO", mostrada, mostrada);
    poeNoLado(cdsLancamentos, valor, "VRDEBITO", "VRCREDITO", valor, -valor);
}

void TfrmPreviaContabil::cdsRateioCalcFields() {
    const double valor = cdsRateio->fieldByName("VRLANCCUST")->asFloat();
    poeNoLado(cdsRateio, valor, "VRDEBITO", "VRCREDITO", valor, -valor);
}

void TfrmPreviaContabil::cdsErrosCalcFields() {
    cdsErros->fieldByName("DSERRO")->setAsString(
        ErroContabil::descricao(cdsErros->fieldByName("CDERROTEMP")->asString()));
    const auto linha = linhas.constFind(cdsErros->fieldByName("NRSEQCTBTEMP")->asString().trimmed());
    if (linha == linhas.constEnd())
        return;
    cdsErros->fieldByName("NRLANCCTB")->setAsString(linha->lancamento);
    cdsErros->fieldByName("CDCONTCTBL")->setAsString(EmptyString(linha->conta) ? semConta : linha->conta);
}

void CriaPreviaContabil(const QVariantList &params) {
    const PreviaContabil previa = lePrevia(params);
    const bool nova = frmPreviaContabil.isNull();
    TfrmPreviaContabil *screen = nova ? new TfrmPreviaContabil : frmPreviaContabil.data();
    try {
        screen->Mostra(previa);
    } catch (...) {
        if (nova)
            delete screen;
        throw;
    }
    frmPreviaContabil = screen;
    Norvela::showChild(screen);
    placeInArea(screen, nova);
}
