#pragma once

#include "framework/core/datapacket.h"

// The declared fields of the screen's datasets: the server's packet fields with the labels,
// visibility and formats that grids and search dialogs show. Fields without a label given here
// are hidden.
namespace RecCtPagarFields {

// The payable rows, with the calculated DOCUMENTO and IDCONTA in their places.
QList<FieldDef> cntPagar();
QList<FieldDef> ajusPag();
QList<FieldDef> lancContTemp();
QList<FieldDef> rateio();
QList<FieldDef> errosTemp();

} // namespace RecCtPagarFields
