#include "appserver/recalc/ledger.h"
#include "appserver/db/sqlutil.h"
#include "appserver/server/module.h"

namespace {

void readCompany(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery query =
        runSql(db, QStringLiteral("SELECT NMEMPRESA, CDCENTCUST FROM EMPRESA WHERE CDEMPRESA = ?"),
               {ledger.company});
    if (!query.next())
        throw ServerFailure(QStringLiteral("Empresa %1 não cadastrada.").arg(ledger.company));
    ledger.companyName = query.value(0).toString();
    ledger.defaultCostCentre = query.value(1).toString();
}

void readOpenPeriod(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery query = runSql(db,
                             QStringLiteral("SELECT DTINICCTBL, DTFINACCTBL FROM PERCONTABIL"
                                            " WHERE CDEMPRESA = ? AND IDSITUPER = 'A'"),
                             {ledger.company});
    ledger.hasOpenPeriod = query.next();
    if (ledger.hasOpenPeriod) {
        ledger.periodStart = query.value(0).toLongLong();
        ledger.periodEnd = query.value(1).toLongLong();
    }
}

void readChart(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery accounts =
        runSql(db, QStringLiteral("SELECT CDCONTCTBL, CDCONTREDU, NMCONTCTBL, IDCONTANALI FROM PLANOCONTAS"));
    while (accounts.next())
        ledger.accounts.insert(accounts.value(0).toString(),
                               {accounts.value(1).toString(), accounts.value(2).toString(),
                                accounts.value(3).toString() == QLatin1String("S")});
    QSqlQuery histories = runSql(db, QStringLiteral("SELECT CDHISTPADR, DSHISTPADR FROM HISTPADRAO"));
    while (histories.next())
        ledger.histories.insert(histories.value(0).toString(), histories.value(1).toString());
}

void readPlaces(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery centres = runSql(db, QStringLiteral("SELECT CDCENTCUST, NMCENTCUST FROM CENTROCUSTO"));
    while (centres.next())
        ledger.costCentres.insert(centres.value(0).toString(), centres.value(1).toString());
    QSqlQuery branches = runSql(
        db, QStringLiteral("SELECT CDFILIAL, NMFILIAL FROM FILIAL WHERE CDEMPRESA = ?"), {ledger.company});
    while (branches.next())
        ledger.branches.insert(branches.value(0).toString(), branches.value(1).toString());
}

void readTypes(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery accountTypes =
        runSql(db, QStringLiteral("SELECT CDTPCTPAGAR, CDCONTDESP, CDHISTPADR FROM TIPOCTPAGAR"));
    while (accountTypes.next())
        ledger.accountTypes.insert(accountTypes.value(0).toString(),
                                   {accountTypes.value(1).toString(), accountTypes.value(2).toString()});
    QSqlQuery adjustmentTypes =
        runSql(db, QStringLiteral("SELECT CDAJUCTPAG, IDAJUCTPAG, CDCONTCTBL, CDHISTPADR FROM TIPOAJPAGAR"));
    while (adjustmentTypes.next())
        ledger.adjustmentTypes.insert(adjustmentTypes.value(0).toString(),
                                      {adjustmentTypes.value(1).toString() == QLatin1String("D"),
                                       adjustmentTypes.value(2).toString(),
                                       adjustmentTypes.value(3).toString()});
}

} // namespace

Ledger readLedger(QSqlDatabase &db, const QString &company) {
    Ledger ledger;
    ledger.company = company;
    readCompany(db, ledger);
    readOpenPeriod(db, ledger);
    readChart(db, ledger);
    readPlaces(db, ledger);
    readTypes(db, ledger);
    return ledger;
}
