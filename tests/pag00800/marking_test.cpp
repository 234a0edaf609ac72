#include "gridsupport.h"
#include "screenfixture.h"

#include "framework/net/netconnection.h"

#include <QHeaderView>
#include <QLabel>
#include <QTest>

using namespace GridSupport;

namespace {

constexpr double periodStart = 46000; // 9 December 2025
constexpr double periodEnd = 46030;
constexpr double inside = periodStart + 10.5;
constexpr double before = periodStart - 0.5;
constexpr double after = periodEnd + 0.5;

const QString outsideThePeriod = QStringLiteral("Lançamento fora do período contábil.");
const QString markAllQuestion = QStringLiteral("Deseja marcar todas as contas?");
const QString unmarkAllQuestion = QStringLiteral("Deseja desmarcar todas as contas?");

// A screen with the accounting period of the 9th of December 2025 to the 8th of January 2026 and a
// list of payables given as (mark, entry date).
class MarkingTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        screen = openScreen();
        ASSERT_NE(screen, nullptr);
        browse(screen, QStringLiteral("01"));
        screen->cdsPerContabil->setData(accountingPeriod(periodStart, periodEnd));
        grid = screen->dbgPadrao;
    }

    void load(const QList<std::pair<QString, double>> &rows) {
        QList<QVariantMap> values;
        for (int i = 0; i < rows.size(); ++i)
            values.append({{"CDFILIAL", "0101"},
                           {"NRLANCTONF", QString::number(9001 + i)},
                           {"NRSEQVENPAG", "01"},
                           {"NRPARCELAPAG", "01"},
                           {"NMRAZSOCFORN", QStringLiteral("Fornecedor %1").arg(i)},
                           {"IDMARCADO", rows[i].first},
                           {"DTENTRSAID", rows[i].second}});
        screen->cdsCntPagar->setData(payableRows(values));
    }

    QStringList flags() const {
        ClientDataSet *rows = screen->cdsCntPagar;
        const int mark = rows->fieldByName("IDMARCADO")->index();
        QStringList result;
        for (int row = 0; row < rows->recordCount(); ++row)
            result << rows->valueAt(row, mark).toString();
        return result;
    }

    qint64 calls() const { return screen->netRecContaPagar->callCount(); }

    TfrmRecCtPagar *screen = nullptr;
    DataGrid *grid = nullptr;
};

} // namespace

TEST_F(MarkingTest, DoubleClickAndSpaceToggleOnlyRowsEnteredWithinThePeriod) {
    load({{"N", inside}, {"N", before}, {"S", after}, {"", periodEnd}});

    doubleClickRow(grid, 0);
    EXPECT_EQ(flags(), QStringList({"S", "N", "S", ""}));
    EXPECT_EQ(screen->markedSet()->Keys(), QStringList({"0101019001"
                                                        "01"}));
    EXPECT_TRUE(screen->sbtConfirmar->isEnabled());
    QTest::keyClick(grid, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(flags(), QStringList({"N", "N", "S", ""}));
    EXPECT_FALSE(screen->sbtConfirmar->isEnabled());
    EXPECT_EQ(messages.texts(), QStringList());

    // Outside the period neither marking nor unmarking is allowed.
    doubleClickRow(grid, 1);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(screen->cdsCntPagar->recNo(), 2);
    EXPECT_EQ(flags(), QStringList({"N", "N", "S", ""}));
    EXPECT_EQ(messages.texts(), QStringList({outsideThePeriod, outsideThePeriod}));

    // A row without a flag is marked; the last day of the period is inside it.
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Space, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(flags(), QStringList({"N", "N", "S", "S"}));

    // With no period loaded nothing can be marked.
    messages.clear();
    screen->cdsPerContabil->close();
    doubleClickRow(grid, 0);
    EXPECT_EQ(flags(), QStringList({"N", "N", "S", "S"}));
    EXPECT_EQ(messages.texts(), QStringList({outsideThePeriod}));
}

TEST_F(MarkingTest, MarkingAllStopsAtTheFirstRowOutsideThePeriodAndKeepsTheEarlierMarks) {
    load({{"N", inside}, {"", inside}, {"N", periodStart}, {"N", after}, {"N", inside}});
    QTest::keyClick(grid, Qt::Key_Down);
    const qint64 callsBefore = calls();

    messages.answer(ResultYes);
    clickTitle(grid, "IDMARCADO");
    EXPECT_EQ(messages.texts(), QStringList({markAllQuestion, outsideThePeriod}));
    EXPECT_EQ(flags(), QStringList({"S", "", "S", "N", "N"}));
    EXPECT_EQ(screen->markedSet()->Count(), 2);
    EXPECT_TRUE(screen->sbtConfirmar->isEnabled());
    // The rows were walked without fetching adjustments; the first row's came once at the end.
    EXPECT_EQ(screen->cdsCntPagar->recNo(), 0);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(calls() - callsBefore, 1);
    EXPECT_FALSE(screen->cdsCntPagar->controlsDisabled());
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(calls() - callsBefore, 2);
}

TEST_F(MarkingTest, WithSomeRowMarkedTheTitleUnmarksAllRowsWhateverTheirPeriod) {
    load({{"N", inside}, {"N", inside}, {"N", inside}, {"", inside}});
    doubleClickRow(grid, 1);
    doubleClickRow(grid, 2);
    screen->cdsPerContabil->setData(accountingPeriod(periodEnd + 100, periodEnd + 130));
    const qint64 callsBefore = calls();

    messages.answer(ResultYes);
    clickTitle(grid, "IDMARCADO");
    EXPECT_EQ(messages.texts(), QStringList({unmarkAllQuestion}));
    EXPECT_EQ(flags(), QStringList({"N", "N", "N", ""}));
    EXPECT_EQ(screen->markedSet()->Count(), 0);
    EXPECT_FALSE(screen->sbtConfirmar->isEnabled());
    EXPECT_EQ(calls() - callsBefore, 1);

    // Nothing marked now: the next click offers to mark, and all rows pass the new period.
    screen->cdsPerContabil->setData(accountingPeriod(periodStart, periodEnd));
    messages.answer(ResultYes);
    clickTitle(grid, "IDMARCADO");
    EXPECT_EQ(messages.texts().last(), markAllQuestion);
    EXPECT_EQ(flags(), QStringList({"S", "S", "S", ""}));
    EXPECT_EQ(screen->markedSet()->Count(), 3);
}

TEST_F(MarkingTest, AnsweringNoChangesNoMarkButReturnsToTheFirstRow) {
    load({{"N", inside}, {"N", inside}, {"N", inside}});
    doubleClickRow(grid, 2);
    const qint64 callsBefore = calls();

    messages.answer(ResultNo);
    clickTitle(grid, "IDMARCADO");
    EXPECT_EQ(messages.texts(), QStringList({unmarkAllQuestion}));
    EXPECT_EQ(flags(), QStringList({"N", "N", "S"}));
    EXPECT_EQ(screen->markedSet()->Count(), 1);
    EXPECT_EQ(screen->cdsCntPagar->recNo(), 0);
    EXPECT_EQ(calls() - callsBefore, 1);
}

TEST_F(MarkingTest, OtherTitlesNeitherSortNorAsk) {
    load({{"N", inside}, {"N", inside}, {"N", inside}});
    QTest::keyClick(grid, Qt::Key_Down);
    const qint64 callsBefore = calls();
    for (const char *field : {"DTATUAVENPAG", "NMRAZSOCFORN", "NRPARCELAPAG", "DOCUMENTO", "VRATUAPAG"})
        clickTitle(grid, field);
    EXPECT_EQ(messages.texts(), QStringList());
    EXPECT_FALSE(grid->isSortingEnabled());
    EXPECT_EQ(grid->model()->index(0, columnOf(grid, "NMRAZSOCFORN")).data().toString(), "Fornecedor 0");
    EXPECT_EQ(screen->cdsCntPagar->recNo(), 1);
    EXPECT_EQ(calls(), callsBefore);
}

TEST_F(MarkingTest, AnEmptyListMarksNothing) {
    load({});
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Space);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    screen->dbgPadraoDblClick();
    EXPECT_EQ(messages.texts(), QStringList());

    messages.answer(ResultYes);
    clickTitle(grid, "IDMARCADO");
    EXPECT_EQ(messages.texts(), QStringList({markAllQuestion}));
    EXPECT_TRUE(screen->cdsCntPagar->isEmpty());
    EXPECT_EQ(screen->markedSet()->Count(), 0);
    EXPECT_FALSE(screen->sbtConfirmar->isEnabled());
    EXPECT_FALSE(screen->cdsCntPagar->controlsDisabled());
}

// The marking column shows a ticked box on marked rows and an empty one on the others, with the
// pictures' olive background left out.
TEST_F(MarkingTest, TheMarkingColumnShowsTickedAndEmptyBoxes) {
    load({{"S", inside}, {"N", inside}, {"", inside}});
    QTest::keyClick(grid, Qt::Key_Down);
    const QImage shown = grid->viewport()->grab().toImage();
    const QImage ticked = screen->ImgCheck->pixmap().toImage();
    const QImage empty = screen->imgUnCheck->pixmap().toImage();
    const QRgb olive = qRgb(128, 128, 0);
    const auto pictureAt = [&](int row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, columnOf(grid, "IDMARCADO")));
        const QPoint topLeft(cell.x() + (cell.width() - 16) / 2, cell.y() + (cell.height() - 16) / 2);
        return shown.copy(QRect(topLeft * shown.devicePixelRatio(), QSize(16, 16)));
    };
    const auto sameInsideBox = [olive](const QImage &drawn, const QImage &picture) {
        bool oliveShown = false;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                oliveShown |= drawn.pixel(x, y) == olive;
                if (picture.pixel(x, y) != olive && drawn.pixel(x, y) != picture.pixel(x, y))
                    return false;
            }
        return !oliveShown;
    };
    EXPECT_TRUE(sameInsideBox(pictureAt(0), ticked));
    EXPECT_TRUE(sameInsideBox(pictureAt(1), empty));
    EXPECT_TRUE(sameInsideBox(pictureAt(2), empty));
    EXPECT_FALSE(sameInsideBox(pictureAt(1), ticked));
}
