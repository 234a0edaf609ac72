#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>

// The reference data of one company that postings are built from: its open accounting period, its
// default cost centre, the chart of accounts, standard histories, cost centres, branches and the
// account and adjustment types. Read once per run; all of these are small tables.
struct Account {
    QString reduced; // CDCONTREDU
    QString name;
    bool analytic = false;
};

struct AccountType {
    QString expenseAccount;
    QString history;
};

struct AdjustmentType {
    bool discount = false;
    QString account;
    QString history;
};

struct Ledger {
    QString company;
    QString companyName;
    QString defaultCostCentre;
    bool hasOpenPeriod = false;
    qint64 periodStart = 0;
    qint64 periodEnd = 0;
    QHash<QString, Account> accounts;
    QHash<QString, QString> histories; // code -> template text
    QHash<QString, QString> costCentres;
    QHash<QString, QString> branches; // the company's branches: code -> name
    QHash<QString, AccountType> accountTypes;
    QHash<QString, AdjustmentType> adjustmentTypes;

    bool inPeriod(qint64 day) const { return hasOpenPeriod && day >= periodStart && day <= periodEnd; }
};

// Reads the company's ledger. Throws ServerFailure for an unknown company.
Ledger readLedger(QSqlDatabase &db, const QString &company);
