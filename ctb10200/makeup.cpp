#include "ctb10200/fields.h"
#include "ctb10200/tfrmpreviacontabil.h"

#include "framework/core/datasource.h"
#include "framework/net/netconnection.h"
#include "framework/ui/grid/dbgrid.h"
#include "framework/ui/messages/guard.h"
#include "server_contract/recconpag.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace {

GridColumn column(const char *fieldName, const QString &title, int width = -1) {
    GridColumn column;
    column.fieldName = QLatin1String(fieldName);
    column.title = title;
    column.width = width;
    return column;
}

QLabel *label(const QString &name, QWidget *parent, bool bold = false) {
    auto *text = new QLabel(parent);
    text->setObjectName(name);
    if (bold) {
        QFont font = text->font();
        font.setBold(true);
        text->setFont(font);
    }
    return text;
}

// A read-only grid in a titled group.
DataGrid *groupedGrid(QGroupBox *group, const QString &name, DataSource *source,
                      const QList<GridColumn> &columns) {
    auto *grid = new DataGrid(name, group);
    grid->setDataSource(source);
    grid->setColumns(columns);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(grid);
    return grid;
}

QGroupBox *group(const QString &name, const QString &title, QWidget *parent) {
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

void TfrmPreviaContabil::createDataSets() {
    const auto dataSet = [this](const QString &name, const QList<FieldDef> &fields) {
        auto *created = new ClientDataSet(this);
        created->setObjectName(name);
        for (const FieldDef &def : fields)
            created->addField(def);
        created->createDataSet();
        return created;
    };
    const auto source = [this](const QString &name, ClientDataSet *dataSet) {
        auto *created = new DataSource(this);
        created->setObjectName(name);
        created->setDataSet(dataSet);
        return created;
    };
    cdsLancamentos = dataSet(QStringLiteral("cdsLancamentos"), PreviaFields::lancamentos());
    cdsRateio = dataSet(QStringLiteral("cdsRateio"), PreviaFields::rateio());
    cdsErros = dataSet(QStringLiteral("cdsErros"), PreviaFields::erros());
    dtsLancamentos = source(QStringLiteral("dtsLancamentos"), cdsLancamentos);
    dtsRateio = source(QStringLiteral("dtsRateio"), cdsRateio);
    dtsErros = source(QStringLiteral("dtsErros"), cdsErros);

    netLancContabil = new TNetConnection(this);
    netLancContabil->setObjectName(QStringLiteral("netLancContabil"));
    netLancContabil->setServerName(RecConPag::serverName);
    netLancContabil->setThrowException(false);
}

void TfrmPreviaContabil::buildWindow() {
    setWindowTitle(QStringLiteral("Prévia da Contabilização"));
    QFont screenFont = font();
    screenFont.setPixelSize(11);
    setFont(screenFont);
    resize(tamanhoInicial);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
}

void TfrmPreviaContabil::buildHeader() {
    panCabecalho = new QWidget(this);
    panCabecalho->setObjectName(QStringLiteral("panCabecalho"));
    lblEmpresa = label(QStringLiteral("lblEmpresa"), panCabecalho, true);
    lblLancamento = label(QStringLiteral("lblLancamento"), panCabecalho, true);
    lblOrigem = label(QStringLiteral("lblOrigem"), panCabecalho);
    lblCodTela = label(QStringLiteral("lblCodTela"), panCabecalho);
    lblCodTela->setText(QStringLiteral("CTB10200"));
    auto *layout = new QGridLayout(panCabecalho);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(24);
    layout->addWidget(lblEmpresa, 0, 0);
    layout->addWidget(lblLancamento, 0, 1);
    layout->addWidget(lblCodTela, 0, 2, Qt::AlignRight);
    layout->addWidget(lblOrigem, 1, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    static_cast<QVBoxLayout *>(this->layout())->addWidget(panCabecalho);
}

void TfrmPreviaContabil::buildEntries() {
    grbLancamentos = group(QStringLiteral("grbLancamentos"), QStringLiteral("Lançamentos"), this);
    dbgLancamentos = groupedGrid(grbLancamentos, QStringLiteral("dbgLancamentos"), dtsLancamentos,
                                 {column("NRLANCCTBTEMP", QStringLiteral("Lançamento"), 100),
                                  column("NRSEQCTBTEMP", QStringLiteral("Seq."), 36),
                                  column("DTLANCCTBTEMP", QStringLiteral("Data"), 76),
                                  column("CONTADEBITO", QStringLiteral("Conta Débito"), 80),
                                  column("CONTACREDITO", QStringLiteral("Conta Crédito"), 80),
                                  column("NMCONTCTBL", QStringLiteral("Nome da Conta"), 160),
                                  column("VRDEBITO", QStringLiteral("Débito"), 85),
                                  column("VRCREDITO", QStringLiteral("Crédito"), 85),
                                  column("CDHISTPADR", QStringLiteral("Histórico"), 60),
                                  column("DSHISTCTB", QStringLiteral("Descrição do Histórico"), 260)});
    auto *totais = new QHBoxLayout;
    lblTotalDebito = label(QStringLiteral("lblTotalDebito"), grbLancamentos, true);
    lblTotalCredito = label(QStringLiteral("lblTotalCredito"), grbLancamentos, true);
    lblConferencia = label(QStringLiteral("lblConferencia"), grbLancamentos, true);
    totais->addWidget(lblConferencia);
    totais->addStretch();
    totais->addWidget(lblTotalDebito);
    totais->addSpacing(24);
    totais->addWidget(lblTotalCredito);
    static_cast<QVBoxLayout *>(grbLancamentos->layout())->addLayout(totais);
    static_cast<QVBoxLayout *>(layout())->addWidget(grbLancamentos, 3);
}

void TfrmPreviaContabil::buildApportionment() {
    grbRateio =
        group(QStringLiteral("grbRateio"), QStringLiteral("Rateio por filial e centro de custo"), this);
    dbgRateio = groupedGrid(grbRateio, QStringLiteral("dbgRateio"), dtsRateio,
                            {column("NRLANCCTBTEMP", QStringLiteral("Lançamento"), 100),
                             column("NRSEQCTBTEMP", QStringLiteral("Seq."), 36),
                             column("CDFILIAL", QStringLiteral("Filial"), 44),
                             column("NMFILIAL", QStringLiteral("Nome da Filial"), 140),
                             column("CDCENTCUST", QStringLiteral("C. Custo"), 54),
                             column("NMCENTCUST", QStringLiteral("Nome do Centro de Custo"), 170),
                             column("VRDEBITO", QStringLiteral("Débito"), 85),
                             column("VRCREDITO", QStringLiteral("Crédito"), 85)});
    static_cast<QVBoxLayout *>(layout())->addWidget(grbRateio, 2);
}

void TfrmPreviaContabil::buildErrors() {
    grbErros = group(QStringLiteral("grbErros"), QStringLiteral("Erros de contabilização"), this);
    grbErros->setStyleSheet(QStringLiteral("QGroupBox { color: #b71c1c; }"));
    dbgErros = groupedGrid(grbErros, QStringLiteral("dbgErros"), dtsErros,
                           {column("CDERROTEMP", QStringLiteral("Código"), 46),
                            column("NRLANCCTB", QStringLiteral("Lançamento"), 100),
                            column("NRSEQCTBTEMP", QStringLiteral("Seq."), 36),
                            column("CDCONTCTBL", QStringLiteral("Conta"), 80),
                            column("DSERRO", QStringLiteral("Descrição do Erro"), 480)});
    static_cast<QVBoxLayout *>(layout())->addWidget(grbErros, 2);

    btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnFechar);
    static_cast<QVBoxLayout *>(layout())->addLayout(bottom);
}

void TfrmPreviaContabil::bindEvents() {
    connect(netLancContabil, &TNetConnection::BeforeConnect, this,
            &TfrmPreviaContabil::netLancContabilBeforeConnect);
    connect(cdsLancamentos, &ClientDataSet::calcFields, this, &TfrmPreviaContabil::cdsLancamentosCalcFields);
    connect(cdsRateio, &ClientDataSet::calcFields, this, &TfrmPreviaContabil::cdsRateioCalcFields);
    connect(cdsErros, &ClientDataSet::calcFields, this, &TfrmPreviaContabil::cdsErrosCalcFields);
    connect(cdsLancamentos, &ClientDataSet::afterScroll, this,
            guarded([this] { cdsLancamentosAfterScroll(); }));
    connect(cdsErros, &ClientDataSet::afterScroll, this, guarded([this] { cdsErrosAfterScroll(); }));
    connect(dbgLancamentos, &DataGrid::drawColumnCell, this,
            guarded([this](const QRect &rect, int column, int viewRow) {
                dbgLancamentosDrawColumnCell(rect, column, viewRow);
            }));
    connect(btnFechar, &QPushButton::clicked, this, guarded([this] { Fecha(); }));
    auto *escape =
        new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, guarded([this] { Fecha(); }));
}
