#pragma once

#include "framework/core/datapacket.h"

#include <QSqlDatabase>
#include <QString>

#include <chrono>

// The answer of a recalculation run: the status of SetConfirmar and its three packets, which always
// carry the fields of RecConPag::lancContTempFields, rateioFields and errosTempFields.
struct RecalcResult {
    QString status;
    DataPacket entries;       // accounting entries
    DataPacket apportionment; // their split over branches and cost centres
    DataPacket errors;        // accounting errors
};

// How long a run waits at most, in all, for other runs and for locks held by other users.
inline constexpr std::chrono::milliseconds maxRunWait = std::chrono::seconds(60);

// Recalculates the accounting postings of the rows of `payables` marked "S" in IDMARCADO, for the
// company, on behalf of the operator, in one transaction (docs/recalculation.md gives the rules).
// Statuses: "OK" (postings replaced), "ALT_BLOQ" (a document is held or locked by another user),
// "ERRO_CONTABILIZACAO" / "AJUST_CONTAB" (accounting errors on an instalment / only on adjustments;
// nothing written), or a Portuguese text for the user. A run in progress makes the run queue; all its
// waits together last at most `maxWait`.
// Throws ServerFailure for a request the user must correct (operator without right to the company,
// a marked row that names no instalment of the company, a malformed packet), DatabaseError when the
// database fails (nothing is written).
RecalcResult recalculate(QSqlDatabase &db, const DataPacket &payables, const QString &operatorCode,
                         const QString &company, std::chrono::milliseconds maxWait = maxRunWait);
