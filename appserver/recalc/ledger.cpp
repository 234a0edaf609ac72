#include "appserver/recalc/ledger.h"
#include "appserver/db/database.h"
#include "appserver/recalc/runsql.h"
#include "appserver/server/module.h"

namespace {

void readCompany(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery query =
        selectRun(db, QStringLiteral("SELECT NMEMPRESA, CDCENTCUST FROM EMPRESA WHERE CDEMPRESA = ?"),
                  {ledger.company});
    if (!nextRow(query))
        throw ServerFailure(QStringLiteral("Empresa %1 não cadastrada.").arg(ledger.company));
    ledger.companyName = query.value(0).toString();
    ledger.defaultCostCentre = query.value(1).toString();
}

void readOpenPeriod(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery query = selectRun(db,
                                QStringLiteral("SELECT DTINICCTBL, DTFINACCTBL FROM PERCONTABIL"
                                               " WHERE CDEMPRESA = ? AND IDSITUPER = 'A'") +
                                    (isPostgres(db) ? QStringLiteral(" FOR SHARE") : QString()),
                                {ledger.company});
    ledger.hasOpenPeriod = nextRow(query);
    if (ledger.hasOpenPeriod) {
        ledger.periodStart = query.value(0).toLongLong();
        ledger.periodEnd = query.value(1).toLongLong();
    }
}

void readChart(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery accounts = selectRun(
        db, QStringLiteral("SELECT CDCONTCTBL, CDCONTREDU, NMCONTCTBL, IDCONTANALI FROM PLANOCONTAS"));
    while (nextRow(accounts))
        ledger.accounts.insert(accounts.value(0).toString(),
                               {accounts.value(1).toString(), accounts.value(2).toString(),
                                accounts.value(3).toString() == QLatin1String("S")});
    QSqlQuery histories = selectRun(db, QStringLiteral("SELECT CDHISTPADR, DSHISTPADR FROM HISTPADRAO"));
    while (nextRow(histories))
        ledger.histories.insert(histories.value(0).toString(), histories.value(1).toString());
}

void readPlaces(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery centres = selectRun(db, QStringLiteral("SELECT CDCENTCUST, NMCENTCUST FROM CENTROCUSTO"));
    while (nextRow(centres))
        ledger.costCentres.insert(centres.value(0).toString(), centres.value(1).toString());
    QSqlQuery branches = selectRun(
        db, QStringLiteral("SELECT CDFILIAL, NMFILIAL FROM FILIAL WHERE CDEMPRESA = ?"), {ledger.company});
    while (nextRow(branches))
        ledger.branches.insert(branches.value(0).toString(), branches.value(1).toString());
}

void readTypes(QSqlDatabase &db, Ledger &ledger) {
    QSqlQuery accountTypes =
        selectRun(db, QStringLiteral("SELECT CDTPCTPAGAR, CDCONTDESP, CDHISTPADR FROM TIPOCTPAGAR"));
    while (nextRow(accountTypes))
        ledger.accountTypes.insert(accountTypes.value(0).toString(),
                                   {accountTypes.value(1).toString(), accountTypes.value(2).toString()});
    QSqlQuery adjustmentTypes = selectRun(
        db, QStringLiteral("SELECT CDAJUCTPAG, IDAJUCTPAG, CDCONTCTBL, CDHISTPADR FROM TIPOAJPAGAR"));
    while (nextRow(adjustmentTypes))
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
