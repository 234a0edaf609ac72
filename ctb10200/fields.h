#pragma once

#include "framework/core/datapacket.h"

// The declared fields of the preview's datasets: the fields of the recalculation's answer packets
// followed by what the preview calculates for the user.
namespace PreviaFields {

// Entries, with CONTADEBITO / CONTACREDITO and VRDEBITO / VRCREDITO: the account and value of a line
// in the column of its side.
QList<FieldDef> lancamentos();
// Apportionment, with VRDEBITO / VRCREDITO.
QList<FieldDef> rateio();
// Errors, with DSERRO (the meaning of the code), NRLANCCTB and CDCONTCTBL (posting and account of
// the line concerned).
QList<FieldDef> erros();

} // namespace PreviaFields
