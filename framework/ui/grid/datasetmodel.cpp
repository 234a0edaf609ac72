#include "framework/ui/grid/datasetmodel.h"

#include "framework/core/datasource.h"

namespace {

bool isMarkingCaption(const GridColumn &column) {
    return column.title == QLatin1String("4") && column.titleFont &&
           column.titleFont->family().contains(QLatin1String("Sorts"), Qt::CaseInsensitive);
}

// The field's own alignment, or right for numbers and left for the rest.
Qt::Alignment cellAlignment(const Field *field) {
    const FieldDef &def = field->def();
    Qt::Alignment horizontal = def.alignment & Qt::AlignHorizontal_Mask;
    if (!horizontal)
        horizontal =
            def.kind == FieldKind::Float || def.kind == FieldKind::Integer ? Qt::AlignRight : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter;
}

} // namespace

DataSetModel::DataSetModel(QObject *parent)
    : QAbstractTableModel(parent) {}

void DataSetModel::setDataSource(DataSource *newSource) {
    if (source)
        disconnect(source, nullptr, this, nullptr);
    source = newSource;
    if (source) {
        connect(source, &DataSource::layoutChanged, this, &DataSetModel::rebuild);
        connect(source, &DataSource::dataChanged, this, &DataSetModel::rowChanged);
        connect(source, &QObject::destroyed, this, &DataSetModel::rebuild);
    }
    rebuild();
}

ClientDataSet *DataSetModel::dataSet() const {
    return source ? source->dataSet() : nullptr;
}

void DataSetModel::setColumns(const QList<GridColumn> &columns) {
    explicitColumns = columns;
    rebuild();
}

Field *DataSetModel::fieldOf(int column) const {
    ClientDataSet *rows = dataSet();
    if (!rows || column < 0 || column >= fieldIndexes.size() || fieldIndexes[column] < 0)
        return nullptr;
    return rows->field(fieldIndexes[column]);
}

// Rows and columns are taken afresh after an open, close, filter, load, append or cancel.
void DataSetModel::rebuild() {
    beginResetModel();
    shownColumns = explicitColumns.isEmpty() ? defaultColumns() : explicitColumns;
    fieldIndexes.clear();
    ClientDataSet *rows = dataSet();
    for (const GridColumn &column : shownColumns) {
        Field *field = rows ? rows->findField(column.fieldName) : nullptr;
        fieldIndexes.append(field ? field->index() : -1);
    }
    endResetModel();
    emit columnsRebuilt();
}

void DataSetModel::rowChanged(int viewRow) {
    if (viewRow < 0 || viewRow >= rowCount())
        return;
    emit dataChanged(index(viewRow, 0), index(viewRow, columnCount() - 1));
}

QList<GridColumn> DataSetModel::defaultColumns() const {
    QList<GridColumn> result;
    ClientDataSet *rows = dataSet();
    if (!rows)
        return result;
    for (const FieldDef &def : rows->fieldDefs())
        if (def.visible) {
            GridColumn column;
            column.fieldName = def.name;
            result.append(column);
        }
    return result;
}

int DataSetModel::rowCount(const QModelIndex &parent) const {
    ClientDataSet *rows = dataSet();
    if (parent.isValid() || !rows || !rows->active())
        return 0;
    return rows->recordCount();
}

int DataSetModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(shownColumns.size());
}

QVariant DataSetModel::data(const QModelIndex &index, int role) const {
    Field *field = fieldOf(index.column());
    if (!field || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return dataSet()->displayTextAt(index.row(), field->index());
    case Qt::EditRole:
        return dataSet()->valueAt(index.row(), field->index());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cellAlignment(field));
    default:
        return {};
    }
}

QString DataSetModel::titleOf(const GridColumn &column, Field *field) const {
    if (isMarkingCaption(column))
        return checkMarkCaption;
    if (!column.title.isEmpty())
        return column.title;
    if (field && !field->def().displayLabel.isEmpty())
        return field->def().displayLabel;
    return column.fieldName;
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= shownColumns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn &column = shownColumns[section];
    switch (role) {
    case Qt::DisplayRole:
        return titleOf(column, fieldOf(section));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.titleAlignment | Qt::AlignVCenter);
    case Qt::FontRole:
        if (column.titleFont && !isMarkingCaption(column))
            return *column.titleFont;
        if (column.titleFont) {
            QFont bold;
            bold.setBold(column.titleFont->bold());
            return bold;
        }
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
