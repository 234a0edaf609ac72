#pragma once

#include "framework/core/datapacket.h"
#include "framework/ui/grid/dbgrid.h"

#include <QPoint>

// Driving a data grid as a user does, and the data that marking needs.
namespace GridSupport {

// The grid column that shows field, or -1.
int columnOf(DataGrid *grid, const QString &field);
// The centre of a cell, in the coordinates of the grid's viewport.
QPoint cellCentre(DataGrid *grid, int row, const QString &field);
// Clicks a cell (making its row current) and double-clicks it.
void doubleClickRow(DataGrid *grid, int row);
// Clicks the title of the column that shows field.
void clickTitle(DataGrid *grid, const QString &field);
// The one row of cdsPerContabil: the accounting period from start to end, both days included.
DataPacket accountingPeriod(double start, double end);

} // namespace GridSupport
