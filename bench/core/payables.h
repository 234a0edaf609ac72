#pragma once

#include "framework/core/dataset.h"

// The payable list of the recalculation screen: its 30 fields and realistic rows.
QList<FieldDef> payableFields();
DataPacket payablePacket(int rowCount);
// Declares the payable fields on a dataset, the two calculated ones included.
void declarePayableFields(ClientDataSet &set);
// The marked-set key of a row: CDFILIAL + NRPARCELAPAG + NRLANCTONF + NRSEQVENPAG.
QString payableKey(const DataPacket &packet, int row);
