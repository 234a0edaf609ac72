#include "framework/ui/grid/dbgrid.h"

#include "framework/core/datasource.h"
#include "framework/ui/messages/guard.h"

#include <QBitmap>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

class GridCellDelegate : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(DataGrid *grid)
        : QStyledItemDelegate(grid)
        , grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        grid->drawCellExtras(painter, option.rect, index.column(), index.row());
    }

private:
    DataGrid *grid;
};

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent) {
    setModel(&rowsModel);
    setItemDelegate(new GridCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(8);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit titleClick(section); });
    connect(&rowsModel, &DataSetModel::columnsRebuilt, this, [this] {
        applyColumnWidths();
        followCursor();
    });
}

DataGrid::DataGrid(const QString &objectName, QWidget *parent)
    : DataGrid(parent) {
    setObjectName(objectName);
}

void DataGrid::setDataSource(DataSource *source) {
    if (DataSource *old = rowsModel.dataSource())
        disconnect(old, &DataSource::afterScroll, this, nullptr);
    rowsModel.setDataSource(source);
    if (source)
        connect(source, &DataSource::afterScroll, this, [this] { follow.request(dataSet()); });
}

void DataGrid::applyColumnWidths() {
    const int charWidth = fontMetrics().averageCharWidth();
    for (int i = 0; i < rowsModel.columns().size(); ++i) {
        int width = rowsModel.columns()[i].width;
        if (width < 0) {
            Field *field = fieldOf(i);
            const int chars =
                field
                    ? qBound(4, field->def().displayWidth > 0 ? field->def().displayWidth : field->def().size,
                             40)
                    : 10;
            width = chars * charWidth + 8;
        }
        horizontalHeader()->resizeSection(i, qMax(width, titleWidth(i)));
    }
}

// The width a column's title needs in its own font, so that no title shows cut.
int DataGrid::titleWidth(int column) const {
    const QString title = rowsModel.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const QVariant font = rowsModel.headerData(column, Qt::Horizontal, Qt::FontRole);
    const QFontMetrics metrics =
        font.isValid() ? QFontMetrics(font.value<QFont>()) : horizontalHeader()->fontMetrics();
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    return metrics.horizontalAdvance(title) + 2 * margin + 2;
}

void DataGrid::followCursor() {
    ClientDataSet *rows = dataSet();
    if (!rows || !rows->active() || rows->recNo() < 0 || rows->recNo() >= rowsModel.rowCount()) {
        return;
    }
    const QModelIndex target = rowsModel.index(rows->recNo(), qMax(0, currentIndex().column()));
    if (currentIndex().row() == target.row())
        return;
    following = true;
    setCurrentIndex(target);
    scrollTo(target);
    following = false;
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    ClientDataSet *rows = dataSet();
    if (following || !current.isValid() || !rows || current.row() == previous.row())
        return;
    if (rows->recNo() != current.row())
        guard([&] { rows->setRecNo(current.row()); });
    if (rows->recNo() != current.row())
        followCursor();
}

void DataGrid::keyPressEvent(QKeyEvent *event) {
    int key = event->key();
    const Qt::KeyboardModifiers shift = event->modifiers();
    guard([&] { emit keyDown(key, shift); });
    if (key == 0)
        return;
    QTableView::keyPressEvent(event);
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event) {
    QTableView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        guard([&] { emit dblClick(); });
}

void DataGrid::drawCellExtras(QPainter *painter, const QRect &rect, int column, int viewRow) {
    currentPainter = painter;
    guard([&] { emit drawColumnCell(rect, column, viewRow); });
    currentPainter = nullptr;
}

void InsereImagem(DataGrid *grid, const QRect &rect, const QPixmap &pixmap, const QColor &transparentColor) {
    QPainter *painter = grid ? grid->canvas() : nullptr;
    if (!painter || pixmap.isNull())
        return;
    QPixmap picture = pixmap;
    picture.setMask(pixmap.createMaskFromColor(transparentColor, Qt::MaskInColor));
    const QPoint topLeft(rect.x() + (rect.width() - picture.width()) / 2,
                         rect.y() + (rect.height() - picture.height()) / 2);
    painter->drawPixmap(topLeft, picture);
}

QColor colorOf(int value) {
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}
