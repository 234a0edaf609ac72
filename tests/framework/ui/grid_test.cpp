#include "support.h"

#include "framework/core/datasource.h"
#include "framework/ui/grid/dbgrid.h"
#include "framework/ui/grid/dbtext.h"

#include <QCoreApplication>

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class GridFixture : public testing::Test {
protected:
    void SetUp() override {
        declareRows(rows);
        connect();
        source.setDataSet(&rows);
        grid.setDataSource(&source);
        grid.resize(400, 300);
    }

    void connect() {
        QObject::connect(&rows, &ClientDataSet::calcFields, [this] { ++calculations; });
    }

    ClientDataSet rows;
    DataSource source;
    DataGrid grid{QStringLiteral("dbgPadrao"), nullptr};
    int calculations = 0;
};

} // namespace

TEST_F(GridFixture, VisibleFieldsAreTheDefaultColumns) {
    loadRows(rows, 3);
    ASSERT_EQ(grid.model()->columnCount(), 4);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Código"));
    EXPECT_EQ(grid.model()->index(1, 2).data().toString(), QStringLiteral("1,50"));
    const auto alignment = [this](int column) {
        return grid.model()->index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(alignment(0), Qt::AlignRight);
    EXPECT_EQ(alignment(1), Qt::AlignLeft);
    EXPECT_EQ(alignment(2), Qt::AlignRight);

    GridColumn marking;
    marking.fieldName = QStringLiteral("IDMARCADO");
    marking.width = 20;
    marking.title = QStringLiteral("4");
    marking.titleFont = QFont(QStringLiteral("Monotype Sorts"));
    marking.titleAlignment = Qt::AlignHCenter;
    GridColumn value;
    value.fieldName = QStringLiteral("VALOR");
    value.width = 70;
    value.titleAlignment = Qt::AlignRight;
    grid.setColumns({value, marking});
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), checkMarkCaption);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Valor"));
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(1), 20);

    value.width = 10;
    value.title = QStringLiteral("Valor atualizado da parcela");
    grid.setColumns({value, marking});
    EXPECT_GT(grid.horizontalHeader()->sectionSize(0),
              grid.horizontalHeader()->fontMetrics().horizontalAdvance(value.title))
        << "a narrow column is widened to show its whole title";
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(1), 20);
}

TEST_F(GridFixture, GridAndCursorFollowEachOther) {
    loadRows(rows, 50);
    ASSERT_TRUE(showActive(&grid));
    rows.setRecNo(30);
    EXPECT_EQ(grid.currentIndex().row(), 30);

    grid.scrollToTop();
    const QRect third = grid.visualRect(grid.model()->index(2, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(rows.recNo(), 2);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(rows.recNo(), 3);
    EXPECT_EQ(rows.fieldByName(u"CODIGO")->asString(), QStringLiteral("000003"));

    loadRows(rows, 10);
    EXPECT_EQ(grid.model()->rowCount(), 10);
    EXPECT_EQ(grid.currentIndex().row(), rows.recNo());
}

TEST_F(GridFixture, HundredThousandRowsOpenAndScrollComputingOnlyVisibleRows) {
    GridColumn label;
    label.fieldName = QStringLiteral("ROTULO");
    GridColumn code;
    code.fieldName = QStringLiteral("CODIGO");
    grid.setColumns({code, label});
    loadRows(rows, 100000);
    const int afterOpen = calculations;
    grid.show();
    grid.grab();
    const int visibleRows = grid.viewport()->height() / grid.rowHeight(0) + 2;
    EXPECT_LE(calculations - afterOpen, 2 * visibleRows);

    const int beforeScroll = calculations;
    grid.scrollToBottom();
    grid.grab();
    EXPECT_LE(calculations - beforeScroll, 2 * visibleRows);
    EXPECT_GT(calculations, beforeScroll);
    const int bottom = grid.rowAt(grid.viewport()->height() - 2);
    EXPECT_EQ(grid.model()->index(bottom, 1).data().toString(),
              QStringLiteral("%1-Nome %2").arg(bottom, 6, 10, QLatin1Char('0')).arg(bottom));
    EXPECT_EQ(rows.recNo(), 0);
}

TEST_F(GridFixture, BulkWorkWithDisabledControlsIsFollowedOnceAfterwards) {
    GridColumn label;
    label.fieldName = QStringLiteral("ROTULO");
    grid.setColumns({label});
    loadRows(rows, 20000);
    ASSERT_TRUE(showActive(&grid));
    DataLabel text(QStringLiteral("dbtNome"), nullptr);
    text.setDataSource(&source);
    text.setDataField(QStringLiteral("ROTULO"));
    const auto markAll = [this] {
        const int before = calculations;
        rows.disableControls();
        for (rows.first(); !rows.eof(); rows.next()) {
            rows.edit();
            rows.fieldByName(u"IDMARCADO")->setAsString(QStringLiteral("S"));
            rows.post();
        }
        rows.first();
        rows.enableControls();
        return calculations - before;
    };
    const int withControls = markAll();
    grid.setDataSource(nullptr);
    text.setDataSource(nullptr);
    const int withoutControls = markAll();
    EXPECT_LE(withControls - withoutControls, 2);
    grid.setDataSource(&source);
    text.setDataSource(&source);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(text.text(), QStringLiteral("000000-Nome 0"));
    EXPECT_EQ(grid.model()->index(19999, 0).data().toString(), QStringLiteral("019999-Nome 19999"));

    // A walk that only moves the cursor changes no row, yet the grid and the label follow it.
    rows.disableControls();
    for (rows.first(); rows.recNo() < 1234; rows.next()) {
    }
    rows.enableControls();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.currentIndex().row(), 1234);
    EXPECT_EQ(text.text(), QStringLiteral("001234-Nome 1234"));
}

TEST_F(GridFixture, SignalsForTitleClickDoubleClickKeysAndOwnerDrawing) {
    loadRows(rows, 5);
    ASSERT_TRUE(showActive(&grid));
    QList<int> titles;
    int doubleClicks = 0;
    QList<int> keys;
    QObject::connect(&grid, &DataGrid::titleClick, [&](int column) { titles << column; });
    QObject::connect(&grid, &DataGrid::dblClick, [&] { ++doubleClicks; });
    QObject::connect(&grid, &DataGrid::keyDown, [&](int &key, Qt::KeyboardModifiers) {
        keys << key;
        if (key == Qt::Key_Down)
            key = 0;
    });
    QHeaderView *header = grid.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    EXPECT_EQ(titles, QList<int>({1}));

    const QPoint cell = grid.visualRect(grid.model()->index(1, 0)).center();
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(doubleClicks, 1);
    const int row = rows.recNo();
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(keys, QList<int>({Qt::Key_Down, Qt::Key_Control, Qt::Key_Space}));
    EXPECT_EQ(rows.recNo(), row);

    QPixmap box(16, 16);
    box.fill(QColor(128, 128, 0));
    QPainter(&box).fillRect(3, 3, 10, 10, Qt::black);
    QList<int> drawnRows;
    QObject::connect(&grid, &DataGrid::drawColumnCell, [&](const QRect &rect, int column, int viewRow) {
        if (column == 3) {
            drawnRows << viewRow;
            InsereImagem(&grid, rect, box, colorOf(32896));
        }
    });
    const QImage shot = grid.grab().toImage();
    EXPECT_EQ(drawnRows.size(), 5);
    const QRect target = grid.visualRect(grid.model()->index(0, 3));
    const QPoint centre = target.center() + grid.viewport()->pos();
    EXPECT_EQ(shot.pixelColor(centre), QColor(Qt::black));
    EXPECT_NE(shot.pixelColor(centre.x() - 7, centre.y()), QColor(128, 128, 0));
    EXPECT_EQ(colorOf(32896), QColor(128, 128, 0));
}

TEST(DBText, ShowsTheFieldOfTheCurrentRow) {
    ClientDataSet rows;
    declareRows(rows);
    DataSource source;
    source.setDataSet(&rows);
    DataLabel label(QStringLiteral("dbtNome"), nullptr);
    label.setDataSource(&source);
    label.setDataField(QStringLiteral("ROTULO"));
    EXPECT_TRUE(label.text().isEmpty());
    loadRows(rows, 3);
    EXPECT_EQ(label.text(), QStringLiteral("000000-Nome 0"));
    rows.last();
    EXPECT_EQ(label.text(), QStringLiteral("000002-Nome 2"));
    rows.edit();
    rows.fieldByName(u"NOME")->setAsString(QStringLiteral("Outro"));
    rows.post();
    EXPECT_EQ(label.text(), QStringLiteral("000002-Outro"));
    rows.close();
    EXPECT_TRUE(label.text().isEmpty());
}
