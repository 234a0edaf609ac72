#pragma once

#include "framework/ui/grid/datasetmodel.h"
#include "framework/ui/grid/deferredupdate.h"

#include <QTableView>

class QPainter;

// Data grid over a data source. The selected row and the dataset's cursor follow each other:
// a scroll of the dataset selects its row, and picking a row moves the cursor there. Rows are read
// only when painted, so large datasets open and scroll at the cost of the visible rows.
//
// Owner drawing: after a cell is drawn, drawColumnCell is emitted with canvas() set to the
// painter, the cell's rectangle, the column and the view row (read the row with valueAt, never by
// moving the cursor). Slots that may throw are connected through guarded().
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);
    DataGrid(const QString &objectName, QWidget *parent);

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return rowsModel.dataSource(); }
    ClientDataSet *dataSet() const { return rowsModel.dataSet(); }

    void setColumns(const QList<GridColumn> &columns) { rowsModel.setColumns(columns); }
    const QList<GridColumn> &columns() const { return rowsModel.columns(); }
    Field *fieldOf(int column) const { return rowsModel.fieldOf(column); }
    DataSetModel *dataModel() { return &rowsModel; }

    // The painter of the cell being drawn while drawColumnCell runs, otherwise nullptr.
    QPainter *canvas() const { return currentPainter; }

signals:
    void titleClick(int column);
    void dblClick();
    void keyDown(int &key, Qt::KeyboardModifiers shift);
    void drawColumnCell(const QRect &rect, int column, int viewRow);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    friend class GridCellDelegate;
    void drawCellExtras(QPainter *painter, const QRect &rect, int column, int viewRow);
    void applyColumnWidths();
    int titleWidth(int column) const;
    void followCursor();

    DataSetModel rowsModel;
    QPainter *currentPainter = nullptr;
    DeferredUpdate follow{this, [this] { followCursor(); }};
    bool following = false;
};

// Draws pixmap centred in rect of grid's cell being painted; pixels of transparentColor are left
// out, so the cell's background shows through them.
void InsereImagem(DataGrid *grid, const QRect &rect, const QPixmap &pixmap, const QColor &transparentColor);

// A colour given as a 0xBBGGRR value (32896 is olive).
QColor colorOf(int value);
