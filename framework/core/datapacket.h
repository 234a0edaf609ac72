#pragma once

#include "framework/core/pagcore_export.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QSharedDataPointer>
#include <QString>
#include <QVariant>
#include <stdexcept>

class CborWriter;

enum class FieldKind { Text, FixedText, DateTime, Float, Integer, Boolean };

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Text;
    int size = 0;
    bool required = false;
    QString origin = {};
    QString displayLabel = {};
    bool visible = true;
    QString displayFormat = {};
    QString editMask = {};
    int displayWidth = 0;
    bool calculated = false;
    bool providerFlags = true;
    Qt::Alignment alignment = {};

    bool operator==(const FieldDef &) const = default;
};

// A decode failure: truncated, garbled, oversized or inconsistent packet bytes.
class PAGCORE_EXPORT PacketError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The values of one column, packed by kind. Text: UTF-8 of all rows back to back in `text`, with
// `ends[row]` the end offset of that row. DateTime and Float: `reals`. Integer: `integers`.
// Boolean: `flags` (0/1 per row). `nulls` is a bitmap (bit row % 8 of byte row / 8 set = null);
// empty means no nulls. A null row holds "" or 0 in the value arrays.
struct PAGCORE_EXPORT PacketColumn {
    QByteArray text;
    QList<quint32> ends;
    QList<double> reals;
    QList<qint64> integers;
    QByteArray flags;
    QByteArray nulls;

    bool isNull(int row) const { return !nulls.isEmpty() && (quint8(nulls.at(row >> 3)) >> (row & 7)) & 1; }
    QByteArrayView textAt(int row) const {
        const quint32 begin = row ? ends.at(row - 1) : 0;
        return QByteArrayView(text.constData() + begin, ends.at(row) - begin);
    }
    QVariant value(FieldKind kind, int row) const;
    // Appends the value of a new row (rowCount rows precede it), converted to the kind.
    void append(FieldKind kind, const QVariant &value, int rowCount);
    void reserve(FieldKind kind, int rowCount);
    // Throws PacketError unless the column holds exactly rowCount values of the kind.
    void check(FieldKind kind, int rowCount) const;
};

// A whole table in transit: field definitions and column-wise values. Cheap to copy (shared).
class PAGCORE_EXPORT DataPacket {
public:
    static constexpr qsizetype maxBytes = qsizetype(1) << 30;
    static constexpr int maxRows = 1 << 24;
    static constexpr int maxFields = 4096;

    DataPacket();
    explicit DataPacket(QList<FieldDef> fields);
    DataPacket(const DataPacket &);
    DataPacket(DataPacket &&) noexcept;
    DataPacket &operator=(const DataPacket &);
    DataPacket &operator=(DataPacket &&) noexcept;
    ~DataPacket();

    bool isNull() const;
    const QList<FieldDef> &fields() const;
    int fieldIndex(QAnyStringView name) const;
    int rowCount() const;
    QVariant value(int row, int col) const;
    bool isNullAt(int row, int col) const;
    const PacketColumn &column(int col) const;

    // Appends one row; values are converted to each field's kind (null stays null).
    void appendRow(const QVariantList &values);
    // Builds a packet from ready columns; each must hold rowCount rows of its field's kind.
    static DataPacket fromColumns(QList<FieldDef> fields, QList<PacketColumn> columns, int rowCount);

    // The packet as CBOR (docs/protocol.md, "Data packets"). Decoding throws PacketError.
    QByteArray encode() const;
    void writeCbor(CborWriter &out) const;
    // Writes the packet as writeCbor does and leaves it empty; a packet held nowhere else frees each
    // column once written, so that writing a large one into a frame does not hold it twice.
    void writeCborAndRelease(CborWriter &out);
    static DataPacket decode(QByteArrayView bytes);

private:
    bool heldElsewhere() const;
    void releaseColumn(int col);

    struct Data;
    QSharedDataPointer<Data> d;
};

Q_DECLARE_METATYPE(DataPacket)
