#include "appserver/recalc/recalc.h"
#include "server_contract/recconpag.h"

RecalcResult recalculate(QSqlDatabase &db, const DataPacket &payables, const QString &operatorCode,
                         const QString &company) {
    return {RecConPag::StatusOk, DataPacket(RecConPag::lancContTempFields()),
            DataPacket(RecConPag::rateioFields()), DataPacket(RecConPag::errosTempFields())};
}
