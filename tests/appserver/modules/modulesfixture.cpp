#include "modulesfixture.h"
#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "appserver/modules/modules.h"
#include "server_contract/recconpag.h"

void ModulesFixture::SetUp() {
    if (!TestDatabase::available(GetParam()))
        GTEST_SKIP() << "PAG_TEST_PG_URL not set";
    test = std::make_unique<TestDatabase>(GetParam());
    seedDemo(test->db(), 0);
    addDocuments();
    registerModules(registry);
}

qint64 ModulesFixture::day(int offset) {
    return QDate::currentDate().addDays(offset).toJulianDay() - QDate(1899, 12, 30).toJulianDay();
}

void ModulesFixture::addDocuments() {
    QSqlDatabase &db = test->db();
    const QString document =
        "INSERT INTO NOTAFISCAL (CDFILIAL, NRLANCTONF, NRNOTAFISC, CDSERIEENTR, DTEMISSAO,"
        " DTENTRSAID, IDSTATUS, VRNOTAFISC, CDFORNECED) VALUES (?, ?, ?, ?, ?, ?, 'N', ?, ?)";
    runSql(db, document, {"0101", "1", "123", "1", day(-40), day(-38), 30000, "000001"});
    runSql(db, document, {"0102", "7", "99", "U", day(-10), day(-9), 35000, "000002"});
    runSql(db, document, {"0201", "1", "5000", "1", day(-5), day(-5), 100000, "000001"});
    runSql(db, document, {"0103", "3", "1000", QVariant(), day(-100), day(-95), 4000, "000003"});
    const QString instalment =
        "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, CDTPCTPAGAR, DTORIGVENPAG,"
        " DTATUAVENPAG, VRORIGPAG, VRATUAPAG, VRLIQPAG, CDFILILANC, IDCTBLCTPAG, IDSITUCNABP)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    runSql(db, instalment,
           {"0101", "1", "01", "01", "MAT", day(-8), day(-8), 10000, 10000, 9500, "0101", "S", {}});
    runSql(db, instalment,
           {"0101", "1", "02", "01", "SERV", day(22), day(22), 20000, 20000, 20000, "0102", "N", "02"});
    runSql(db, instalment,
           {"0102", "7", "01", "01", "ALUG", day(5), day(5), 30000, 30000, 31000, "0102", "N", "01"});
    runSql(db, instalment,
           {"0102", "7", "01", "02", "MAT", day(35), day(35), 5000, 5000, 5000, "0101", "S", {}});
    runSql(db, instalment,
           {"0201", "1", "01", "01", "MAT", day(10), day(10), 100000, 100000, 100000, "0201", "N", {}});
    runSql(db, instalment,
           {"0103", "3", "01", "01", "ENERG", day(-60), day(-60), 4000, 4000, 4000, "0103", "S", {}});
    const QString adjustment =
        "INSERT INTO AJCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQAJUPAG,"
        " DTAJUSTEPAG, CDAJUCTPAG, DSAJUSTEPAG, VRAJUSTEPAG) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";
    runSql(db, adjustment, {"0101", "1", "01", "01", 2, day(-20), "0001", "Desconto", 300});
    runSql(db, adjustment, {"0101", "1", "01", "01", 1, day(-30), "0004", "Abatimento", 200});
    runSql(db, adjustment, {"0102", "7", "01", "01", 1, day(-2), "0002", "Juros", 1000});
}

QVariant ModulesFixture::call(const QString &module, const QString &method, CallArgs &args,
                              const QString &operatorCode) {
    auto &instance = modules[module];
    if (!instance)
        instance = registry.create(module);
    CallContext ctx{operatorCode, test->db()};
    return instance->call(method, args, ctx);
}

DataPacket ModulesFixture::callPacket(const QString &module, const QString &method,
                                      const QVariantList &values, const QString &operatorCode) {
    CallArgs args(values, QList<bool>(values.size(), false));
    return call(module, method, args, operatorCode).value<DataPacket>();
}

QVariantList ModulesFixture::cntPagarArgs() {
    return {"01", 0,   "",  "",  "", 0.0, 0.0, 0.0, 0.0, 0,   "",  0,   "",
            0.0,  0.0, 0.0, 0.0, 0,  0,   0,   "",  0.0, 0.0, 0.0, 0.0, "T"};
}

CallArgs ModulesFixture::cntPagarCall(const QVariantList &values) {
    QList<bool> byReference(values.size(), false);
    for (int index : {RecConPag::ArgFornecedores, RecConPag::ArgFiliOrig, RecConPag::ArgFiliLanc,
                      RecConPag::ArgTiposConta, RecConPag::ArgContabil})
        if (index < values.size())
            byReference[index] = true;
    return CallArgs(values, byReference);
}

QStringList ModulesFixture::fetchKeys(const QVariantList &values, const QString &operatorCode) {
    CallArgs args = cntPagarCall(values);
    const DataPacket packet = call(recModule, "GetCntPagar", args, operatorCode).value<DataPacket>();
    QStringList keys;
    for (int row = 0; row < packet.rowCount(); ++row) {
        QStringList parts;
        for (const char *field : {"CDFILIAL", "NRLANCTONF", "NRSEQVENPAG", "NRPARCELAPAG"})
            parts << packet.value(row, packet.fieldIndex(QString::fromLatin1(field))).toString();
        keys << parts.join(u'/');
    }
    return keys;
}
