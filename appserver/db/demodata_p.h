#pragma once

#include "appserver/db/sqlutil.h"

#include <QDate>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QStringList>

// One prepared INSERT reused for every row of a table.
class Inserter {
public:
    Inserter(QSqlDatabase &db, const QString &table, const QStringList &columns);
    void insert(const QVariantList &values);

private:
    QSqlQuery m_query;
};

struct Branch {
    QString code;
    QString company;
};

// What the organisation part of the demo data leaves for the documents part.
struct DemoOrganisation {
    QList<Branch> branches;
    QStringList suppliers;
    QStringList accountTypes;
    QStringList adjustmentTypes;
    QStringList costCentres;
};

// Day count from 1899-12-30, the representation of dates in the database.
qint64 dayNumber(const QDate &date);

// The first day of the open accounting period of every demo company.
QDate openPeriodStart(const QDate &today);

DemoOrganisation seedOrganisation(QSqlDatabase &db, QRandomGenerator &rng, const QDate &today);
