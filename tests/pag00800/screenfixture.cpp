#include "screenfixture.h"

#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/ui/controls/maskedit.h"
#include "server_contract/recconpag.h"

#include <QCoreApplication>
#include <QTest>

void ScreenTest::SetUp() {
    host = std::make_unique<HostMainWindow>();
    host->resize(800, 600);
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
}

void ScreenTest::TearDown() {
    closeScreen();
    host.reset();
}

TfrmRecCtPagar *ScreenTest::openScreen() {
    host->openScreen(QStringLiteral("PAG00800"));
    EXPECT_EQ(messages.texts(), QStringList());
    return frmRecCtPagar;
}

void ScreenTest::browse(TfrmRecCtPagar *screen, const QString &company) {
    screen->medCdEmpresa->setFocus();
    screen->medCdEmpresa->setText(company);
    screen->dbgPadrao->setFocus();
    ASSERT_TRUE(screen->cdsCntPagar->active()) << "company " << company.toStdString();
}

void ScreenTest::closeScreen() {
    if (frmRecCtPagar)
        frmRecCtPagar->closeForm();
    destroyClosedWindows();
}

void ScreenTest::destroyClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

DataPacket ScreenTest::fetchPayables(TfrmRecCtPagar *screen, const QString &company) {
    QString fornecedores, filiaisOrigem, filiaisLancamento, tiposConta;
    QString contabil = QStringLiteral("T");
    const QList<NetArg> args = {
        company, false,    &fornecedores,  QString(), QString(),          0.0, 0.0, 0.0,
        0.0,     false,    &filiaisOrigem, false,     &filiaisLancamento, 0.0, 0.0, 0.0,
        0.0,     false,    false,          false,     &tiposConta,        0.0, 0.0, 0.0,
        0.0,     &contabil};
    const QVariant result = screen->netRecContaPagar->call(RecConPag::Method::GetCntPagar, args);
    return CheckResultServ(result, true, 0).value<DataPacket>();
}

DataPacket ScreenTest::payableRows(const QList<QVariantMap> &rows) {
    DataPacket packet(RecConPag::cntPagarFields());
    for (const QVariantMap &row : rows) {
        QVariantList values;
        for (const FieldDef &def : packet.fields())
            values << row.value(def.name);
        packet.appendRow(values);
    }
    return packet;
}
