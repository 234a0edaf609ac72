#pragma once

#include "framework/core/dataset.h"
#include "framework/core/keylist.h"

#include <array>

// The payable list of the recalculation screen: its 30 fields and realistic rows.
QList<FieldDef> payableFields();
DataPacket payablePacket(int rowCount);
// An instalment's key: CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG.
using PayableKey = std::array<QString, 4>;
// Rows with the keys given, the other fields as payablePacket makes them.
DataPacket payablePacket(const QList<PayableKey> &keys);
// Declares the payable fields on a dataset, the two calculated ones included.
void declarePayableFields(ClientDataSet &set);
// The marked-set key of a row: CDFILIAL + NRPARCELAPAG + NRLANCTONF + NRSEQVENPAG.
QString payableKey(const DataPacket &packet, int row);

// The screen's marking as the data layer does it: edit, set the mark, post, with afterPost keeping
// the key list in step.
void connectMarkedSet(ClientDataSet &set, TKeyList &marked);
void markAll(ClientDataSet &set);
