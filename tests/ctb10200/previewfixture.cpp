#include "previewfixture.h"

#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/session/norvela.h"
#include "framework/ui/grid/dbgrid.h"
#include "framework/ui/messages/guard.h"
#include "server_contract/recconpag.h"

#include <QCoreApplication>
#include <QDate>
#include <QTest>

namespace {

const QString instalmentKey = QStringLiteral(" WHERE CDFILIAL = '0101' AND NRLANCTONF = ?");

qint64 today() {
    return QDate(1899, 12, 30).daysTo(QDate::currentDate());
}

} // namespace

void PreviewTest::SetUp() {
    db = QSqlDatabase::database(QStringLiteral("preview-test"));
    if (!db.isValid())
        db = openDatabase(SessionEnvironment::server().databaseUrl(), QStringLiteral("preview-test"));
    host = std::make_unique<HostMainWindow>();
    host->resize(1024, 700);
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
}

void PreviewTest::TearDown() {
    closePreview();
    host.reset();
}

void PreviewTest::addInstalment(const QString &entry, const QString &type, qint64 cents) {
    runSql(db,
           "INSERT INTO NOTAFISCAL (CDFILIAL, NRLANCTONF, NRNOTAFISC, CDSERIEENTR, DTEMISSAO, DTENTRSAID,"
           " IDSTATUS, VRNOTAFISC, CDFORNECED) VALUES ('0101', ?, ?, '1', ?, ?, 'N', ?, '000001')",
           {entry, entry, today(), today(), cents});
    runSql(
        db,
        "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, CDTPCTPAGAR, DTORIGVENPAG,"
        " DTATUAVENPAG, VRORIGPAG, VRATUAPAG, VRLIQPAG, CDFILILANC, IDCTBLCTPAG)"
        " VALUES ('0101', ?, '01', '01', ?, ?, ?, ?, ?, ?, '0101', 'N')",
        {entry, type, today() + 30, today() + 30, cents, cents, cents});
    const QString rule =
        "INSERT INTO RATEIOCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQRAT,"
        " CDFILIRAT, CDCENTCUST, QTPERCRAT) VALUES ('0101', ?, '01', '01', ?, ?, ?, ?)";
    runSql(db, rule, {entry, 1, "0101", "0001", 6000});
    runSql(db, rule, {entry, 2, "0102", "0002", 4000});
}

QVariantList PreviewTest::confirm(const QString &entry) {
    DataPacket payables(RecConPag::cntPagarFields());
    QVariantList row(payables.fields().size());
    const QVariantMap values{{"IDMARCADO", "S"},    {"CDFILIAL", "0101"},   {"NRLANCTONF", entry},
                             {"NRSEQVENPAG", "01"}, {"NRPARCELAPAG", "01"}, {"CDEMPRESA", "01"}};
    for (auto it = values.begin(); it != values.end(); ++it)
        row[payables.fieldIndex(it.key())] = it.value();
    payables.appendRow(row);
    const auto connection = SessionEnvironment::server().connection(RecConPag::serverName);
    const QVariant answer = connection->call(RecConPag::Method::SetConfirmar, {payables, "admin", "01"});
    return CheckResultServ(answer, true, 0).toList();
}

QString PreviewTest::postingNumber(const QString &entry) {
    return selectValue(db, "SELECT NRLANCTBDOC FROM CONTAPAGAR" + instalmentKey, {entry}).toString();
}

QVariantList PreviewTest::handOff(const QString &company, const QString &number, const DataPacket &entries,
                                  const DataPacket &apportionment, const DataPacket &errors) {
    return {company, number, QVariant::fromValue(entries), QVariant::fromValue(apportionment),
            QVariant::fromValue(errors)};
}

QVariantList PreviewTest::emptyHandOff(const QString &company, const QString &number) {
    return handOff(company, number, DataPacket(RecConPag::lancContTempFields()),
                   DataPacket(RecConPag::rateioFields()), DataPacket(RecConPag::errosTempFields()));
}

TfrmPreviaContabil *PreviewTest::open(const QVariantList &params) {
    guard([&] { Norvela::LoadBPL(QStringLiteral("CTB10200"), params); });
    return frmPreviaContabil;
}

void PreviewTest::closePreview() {
    if (frmPreviaContabil)
        frmPreviaContabil->Fecha();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList PreviewTest::column(DataGrid *grid, const QString &title) {
    QAbstractItemModel *model = grid->model();
    for (int col = 0; col < model->columnCount(); ++col)
        if (model->headerData(col, Qt::Horizontal).toString() == title) {
            QStringList texts;
            for (int row = 0; row < model->rowCount(); ++row)
                texts << model->index(row, col).data().toString();
            return texts;
        }
    ADD_FAILURE() << "no column " << title.toStdString();
    return {};
}
