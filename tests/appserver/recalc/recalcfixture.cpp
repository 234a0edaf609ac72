#include "recalcfixture.h"
#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/core/tdatetime.h"
#include "server_contract/recconpag.h"

#include <QSqlRecord>

void RecalcFixture::SetUp() {
    if (!TestDatabase::available(GetParam()))
        GTEST_SKIP() << "PAG_TEST_PG_URL is not set";
    test = std::make_unique<TestDatabase>(GetParam());
    seedDemo(test->db(), demoInstalments());
}

qint64 RecalcFixture::today() {
    return qint64(toDays(QDate::currentDate()));
}

RecalcFixture::Key RecalcFixture::addInstalment(const QString &branch, const QString &entry, qint64 cents,
                                                const QString &type, qint64 entryDay) {
    QSqlDatabase &db = test->db();
    runSql(db,
           "INSERT INTO NOTAFISCAL (CDFILIAL, NRLANCTONF, NRNOTAFISC, CDSERIEENTR, DTEMISSAO, DTENTRSAID,"
           " IDSTATUS, VRNOTAFISC, CDFORNECED) VALUES (?, ?, ?, 'U', ?, ?, 'N', ?, '000001')",
           {branch, entry, "NF" + entry, entryDay, entryDay, cents});
    runSql(db,
           "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, CDTPCTPAGAR,"
           " DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG, VRATUAPAG, VRLIQPAG, CDFILILANC)"
           " VALUES (?, ?, '01', '01', ?, ?, ?, ?, ?, ?, ?)",
           {branch, entry, type, entryDay + 30, entryDay + 30, cents, cents, cents, branch});
    return {branch, entry};
}

void RecalcFixture::addAdjustment(const Key &key, int sequence, const QString &type, qint64 cents,
                                  qint64 day) {
    runSql(test->db(),
           "INSERT INTO AJCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQAJUPAG, DTAJUSTEPAG,"
           " CDAJUCTPAG, DSAJUSTEPAG, VRAJUSTEPAG) VALUES (?, ?, ?, ?, ?, ?, ?, 'Ajuste', ?)",
           {key.branch, key.entry, key.sequence, key.instalment, sequence, day, type, cents});
}

void RecalcFixture::addRule(const Key &key, int sequence, const QString &branch, const QString &costCentre,
                            int share) {
    runSql(test->db(),
           "INSERT INTO RATEIOCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQRAT, CDFILIRAT,"
           " CDCENTCUST, QTPERCRAT) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
           {key.branch, key.entry, key.sequence, key.instalment, sequence, branch, costCentre, share});
}

void RecalcFixture::addHold(const Key &key, const QString &operatorCode, qint64 fromSecs, qint64 untilSecs) {
    runSql(test->db(),
           "INSERT INTO BLOQDOCUMENTO (CDFILIAL, NRLANCTONF, CDOPERADOR, DTHRINICBLOQ, DTHRFINABLOQ)"
           " VALUES (?, ?, ?, ?, ?)",
           {key.branch, key.entry, operatorCode, fromSecs, untilSecs});
}

DataPacket RecalcFixture::packet(const QList<Key> &marked) {
    DataPacket payables(RecConPag::cntPagarFields());
    const int columns = int(payables.fields().size());
    auto addRow = [&](const Key &key, const char *mark) {
        QVariantList row(columns);
        row[payables.fieldIndex(u"IDMARCADO")] = QString::fromLatin1(mark);
        row[payables.fieldIndex(u"CDFILIAL")] = key.branch;
        row[payables.fieldIndex(u"NRLANCTONF")] = key.entry;
        row[payables.fieldIndex(u"NRSEQVENPAG")] = key.sequence;
        row[payables.fieldIndex(u"NRPARCELAPAG")] = key.instalment;
        payables.appendRow(row);
    };
    addRow({"0101", "999999"}, "N");
    for (const Key &key : marked)
        addRow(key, "S");
    return payables;
}

RecalcResult RecalcFixture::recalc(const QList<Key> &marked, const QString &operatorCode,
                                   const QString &company) {
    return recalculate(test->db(), packet(marked), operatorCode, company);
}

QVariant RecalcFixture::value(const QString &sql, const QVariantList &values) {
    return selectValue(test->db(), sql, values);
}

QStringList RecalcFixture::ledgerRows() {
    QStringList rows;
    for (const QString &sql :
         {QStringLiteral(
              "SELECT CDEMPRESA, NRLANCCTB, NRSEQCTB, DTLANCCTB, CDCONTCTBL, IDDEBCRED, VRLANCCTB,"
              " CDHISTPADR, DSHISTCTB, IDLANCCTBCOME, CDLANCCTBCOME, CDDOCUCONT, CDFILIAL, NRLANCTONF,"
              " NRSEQVENPAG, NRPARCELAPAG, NRSEQAJUPAG FROM LANCCONTABIL ORDER BY 1, 2, 3"),
          QStringLiteral("SELECT * FROM RATEIOLANC ORDER BY 1, 2, 3, 4"),
          QStringLiteral(
              "SELECT CDFILIAL, NRLANCTONF, IDCTBLCTPAG, NRLANCTBDOC FROM CONTAPAGAR ORDER BY 1, 2"),
          QStringLiteral(
              "SELECT CDFILIAL, NRLANCTONF, NRSEQAJUPAG, NRLCTBAJPAG FROM AJCTPAGAR ORDER BY 1, 2, 3"),
          QStringLiteral("SELECT * FROM NUMLANCCTB ORDER BY 1")}) {
        QSqlQuery query = runSql(test->db(), sql);
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < query.record().count(); ++i)
                fields << query.value(i).toString();
            rows << fields.join(u'|');
        }
    }
    return rows;
}

QStringList columnTexts(const DataPacket &packet, const QString &field) {
    QStringList texts;
    const int column = packet.fieldIndex(field);
    for (int row = 0; row < packet.rowCount(); ++row)
        texts << packet.value(row, column).toString();
    return texts;
}
