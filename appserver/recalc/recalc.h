#pragma once

#include "framework/core/datapacket.h"

#include <QSqlDatabase>
#include <QString>

// The answer of a recalculation run: the status of SetConfirmar and its three packets, which always
// carry the fields of RecConPag::lancContTempFields, rateioFields and errosTempFields.
struct RecalcResult {
    QString status;
    DataPacket entries;       // accounting entries
    DataPacket apportionment; // their split over branches and cost centres
    DataPacket errors;        // accounting errors
};

// Recalculates the accounting postings of the rows of `payables` marked "S" in IDMARCADO, for the
// company, on behalf of the operator (whose right to the company the caller has checked).
// Throws ServerFailure for a request the user must correct.
RecalcResult recalculate(QSqlDatabase &db, const DataPacket &payables, const QString &operatorCode,
                         const QString &company);
