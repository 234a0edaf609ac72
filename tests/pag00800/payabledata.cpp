#include "payabledata.h"

#include "appserver/db/database.h"
#include "appserver/db/sqlutil.h"
#include "framework/core/tdatetime.h"
#include "tests/support/sessionenvironment.h"

#include <QDate>

namespace {

int companiesMade = 0;

qint64 todayNumber() {
    return qint64(toDays(QDate::currentDate()));
}

} // namespace

PayableData::PayableData()
    : m_connection(QStringLiteral("payabledata-%1").arg(quintptr(this))) {
    m_db = openDatabase(SessionEnvironment::server().databaseUrl(), m_connection);
}

PayableData::~PayableData() {
    m_db.close();
    m_db = {};
    QSqlDatabase::removeDatabase(m_connection);
}

QString PayableData::addCompany() {
    const QString company = QString::number(50 + companiesMade++);
    const QString branch = company + QStringLiteral("01");
    exec("INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA, CDCENTCUST) VALUES (?, ?, '0001')",
         {company, QStringLiteral("Empresa de teste %1").arg(company)});
    exec("INSERT INTO FILIAL (CDFILIAL, NMFILIAL, CDEMPRESA, CDCENTCUST) VALUES (?, 'Matriz', ?, '0001')",
         {branch, company});
    exec("INSERT INTO PARAMFILIAL (CDFILIAL, NRTAMNUMNFUT) VALUES (?, 9)", {branch});
    exec("INSERT INTO PERCONTABIL (CDEMPRESA, DTINICCTBL, DTFINACCTBL, IDSITUPER) VALUES (?, ?, ?, 'A')",
         {company, todayNumber() - 40, todayNumber() + 40});
    exec("INSERT INTO OPEREMPRESA (CDOPERADOR, CDEMPRESA) VALUES ('admin', ?)", {company});
    return company;
}

PayableData::Key PayableData::addInstalment(const QString &company, const QString &entry, qint64 cents,
                                            const QString &type) {
    const Key key{company + QStringLiteral("01"), entry};
    const qint64 day = todayNumber();
    exec("INSERT INTO NOTAFISCAL (CDFILIAL, NRLANCTONF, NRNOTAFISC, CDSERIEENTR, DTEMISSAO, DTENTRSAID,"
         " IDSTATUS, VRNOTAFISC, CDFORNECED) VALUES (?, ?, ?, 'U', ?, ?, 'N', ?, '000001')",
         {key.branch, key.entry, "NF" + key.entry, day, day, cents});
    exec("INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, CDTPCTPAGAR,"
         " DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG, VRATUAPAG, VRLIQPAG, CDFILILANC)"
         " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
         keyValues(key) + QVariantList{type, day + 10, day + 10, cents, cents, cents, key.branch});
    return key;
}

void PayableData::addAdjustment(const Key &key, int sequence, qint64 cents, const QString &postingNumber) {
    exec("INSERT INTO AJCTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, NRSEQAJUPAG, DTAJUSTEPAG,"
         " CDAJUCTPAG, DSAJUSTEPAG, VRAJUSTEPAG, NRLCTBAJPAG) VALUES (?, ?, ?, ?, ?, ?, '0001', 'Desconto', "
         "?, ?)",
         keyValues(key) + QVariantList{sequence, todayNumber(), cents,
                                       postingNumber.isEmpty() ? QVariant() : QVariant(postingNumber)});
}

void PayableData::exec(const QString &sql, const QVariantList &values) {
    runSql(m_db, sql, values);
}

QVariant PayableData::value(const QString &sql, const QVariantList &values) {
    return selectValue(m_db, sql, values);
}
