#include "framework/core/celloverlay.h"
#include "qtprinters.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
constexpr int rowCount = 5000;

// A value and the one the overlay gives back must agree in kind, nullness and content.
void expectSameCell(const QVariant &read, const QVariant &written, int row) {
    ASSERT_EQ(read.isValid(), written.isValid()) << row;
    ASSERT_EQ(read.typeId(), written.typeId()) << row;
    ASSERT_EQ(read, written) << row;
    if (written.typeId() == QMetaType::QString) {
        ASSERT_EQ(read.toString().isNull(), written.toString().isNull()) << row;
    }
}

void expectSame(const CellOverlay &overlay, const QHash<int, QVariant> &written) {
    ASSERT_EQ(overlay.isEmpty(), written.isEmpty());
    for (int row = 0; row < rowCount + 10; ++row) {
        ASSERT_EQ(overlay.contains(row), written.contains(row)) << row;
        if (!written.contains(row))
            continue;
        expectSameCell(overlay.value(row), written.value(row), row);
        ASSERT_EQ(overlay.text(row), written.value(row).toString()) << row;
        ASSERT_EQ(overlay.text(row).isNull(), written.value(row).toString().isNull()) << row;
    }
}

void write(CellOverlay &overlay, QHash<int, QVariant> &written, int row, const QVariant &value) {
    overlay.set(row, value, rowCount);
    written.insert(row, value);
}
} // namespace

// Flags go from a few written cells to one byte per row; the first cell that is no flag turns the
// column into variants, and every cell written before reads back as it was written.
TEST(CellOverlay, FlagsPackedAndUnpackedKeepEveryCell) {
    CellOverlay overlay;
    QHash<int, QVariant> written;
    expectSame(overlay, written);
    const QVariant flags[] = {QStringLiteral("S"), QStringLiteral("N"), QString::fromLatin1("\xe9"),
                              QVariant(),          QVariant(QString()), QVariant(QStringLiteral(""))};
    QRandomGenerator random(13);
    for (int i = 0; i < rowCount; ++i)
        write(overlay, written, int(random.bounded(rowCount)), flags[random.bounded(6)]);
    expectSame(overlay, written);

    // A row past the loaded ones (an appended row) grows the packed column.
    write(overlay, written, rowCount + 3, QStringLiteral("S"));
    expectSame(overlay, written);

    write(overlay, written, 17, QStringLiteral("Sim"));
    write(overlay, written, 18, QString(QChar(0x263a)));
    write(overlay, written, 19, 42.5);
    expectSame(overlay, written);
    for (int row = 0; row < 100; ++row)
        write(overlay, written, row, QStringLiteral("N"));
    expectSame(overlay, written);
}

// A column whose early cells are no flags never packs; one that does reads control characters and
// texts past Latin-1 back unchanged.
TEST(CellOverlay, CellsThatAreNoFlagsStayVariants) {
    CellOverlay overlay;
    QHash<int, QVariant> written;
    write(overlay, written, 0, QString(QChar(1)));
    for (int row = 1; row < rowCount; row += 2)
        write(overlay, written, row, QStringLiteral("S"));
    expectSame(overlay, written);

    CellOverlay numbers;
    QHash<int, QVariant> writtenNumbers;
    for (int row = 0; row < rowCount; row += 3)
        write(numbers, writtenNumbers, row, row % 2 ? QVariant(qint64(row)) : QVariant());
    expectSame(numbers, writtenNumbers);
}
