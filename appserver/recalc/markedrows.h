#pragma once

#include "appserver/recalc/model.h"

class DataPacket;

// The keys of the rows marked "S" in IDMARCADO, each once, in key order (the order in which their
// rows are locked). Throws ServerFailure when the packet lacks a key field, a mark is neither "S" nor
// "N", or a marked row has an empty key part.
QList<InstalmentKey> readMarkedKeys(const DataPacket &payables);
