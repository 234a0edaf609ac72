#include "gridsupport.h"

#include "server_contract/recconpag.h"

#include <QHeaderView>
#include <QTest>

namespace GridSupport {

int columnOf(DataGrid *grid, const QString &field) {
    for (int column = 0; column < grid->columns().size(); ++column)
        if (grid->columns().at(column).fieldName == field)
            return column;
    return -1;
}

QPoint cellCentre(DataGrid *grid, int row, const QString &field) {
    const QModelIndex cell = grid->model()->index(row, columnOf(grid, field));
    grid->scrollTo(cell);
    return grid->visualRect(cell).center();
}

void doubleClickRow(DataGrid *grid, int row) {
    const QPoint where = cellCentre(grid, row, QStringLiteral("NMRAZSOCFORN"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, where);
}

void clickTitle(DataGrid *grid, const QString &field) {
    QHeaderView *titles = grid->horizontalHeader();
    const int column = columnOf(grid, field);
    const QPoint where(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
                       titles->height() / 2);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, where);
}

DataPacket accountingPeriod(double start, double end) {
    DataPacket packet(RecConPag::perContabilFields());
    packet.appendRow({start, end});
    return packet;
}

} // namespace GridSupport
