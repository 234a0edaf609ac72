#pragma once

#include "framework/core/datasource.h"
#include "framework/ui/grid/gridcolumn.h"

#include <QAbstractTableModel>
#include <QPointer>

class ClientDataSet;
class DataSource;
class Field;

// Table model over the rows of a data source's dataset, one column per GridColumn. Cells are read
// with valueAt/displayTextAt, so painting never moves the dataset's cursor and only the rows on
// screen are ever asked for.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(QObject *parent = nullptr);

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return source; }
    ClientDataSet *dataSet() const;

    // Explicit columns; an empty list shows every visible field.
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return shownColumns; }
    Field *fieldOf(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    void columnsRebuilt();

private:
    void rebuild();
    void rowChanged(int viewRow);
    QList<GridColumn> defaultColumns() const;
    QString titleOf(const GridColumn &column, Field *field) const;

    QPointer<DataSource> source;
    QList<GridColumn> explicitColumns;
    QList<GridColumn> shownColumns;
    QList<int> fieldIndexes;
};
