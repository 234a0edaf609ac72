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
// company, on behalf of the operator, in one transaction (docs/recalculation.md gives the rules).
// Statuses: "OK" (postings replaced), "ALT_BLOQ" (a document is held by another user, or another run
// kept the instalments locked too long), "ERRO_CONTABILIZACAO" / "AJUST_CONTAB" (accounting errors on
// an instalment / only on adjustments; nothing written), or a Portuguese text for the user.
// Throws ServerFailure for a request the user must correct (operator without right to the company,
// a marked row that names no instalment of the company, a malformed packet).
RecalcResult recalculate(QSqlDatabase &db, const DataPacket &payables, const QString &operatorCode,
                         const QString &company);
