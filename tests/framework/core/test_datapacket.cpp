#include "framework/core/datapacket.h"

#include <QCborArray>
#include <QCborMap>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {
QList<FieldDef> allKinds() {
    FieldDef text{"NMFORN", FieldKind::Text, 40};
    text.origin = "DBNORVELA.FORNECEDOR.NMFORN";
    text.displayLabel = "Fornecedor";
    text.required = true;
    FieldDef fixed{"IDMARCADO", FieldKind::FixedText, 1};
    fixed.providerFlags = false;
    fixed.visible = false;
    FieldDef date{"DTVENC", FieldKind::DateTime};
    date.displayWidth = 10;
    date.editMask = "!99/99/9999;1;_";
    FieldDef value{"VRATUAPAG", FieldKind::Float};
    value.displayFormat = "#,##0.00";
    value.alignment = Qt::AlignRight;
    return {text, fixed, date, value, {"QTITENS", FieldKind::Integer}, {"IDATIVO", FieldKind::Boolean}};
}

DataPacket samplePacket() {
    DataPacket packet(allKinds());
    packet.appendRow({"Açúcar & Cia", "S", 46096.5, 1234.56, qint64(1) << 40, true});
    packet.appendRow({QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    packet.appendRow({"", "N", 0.0, -0.01, -7, false});
    for (int i = 0; i < 7; ++i) // crosses a byte of the null bitmap
        packet.appendRow({QString("row %1").arg(i), QVariant(), 46000.0 + i, i * 1.5, i, i % 2 == 0});
    return packet;
}

void expectSamePacket(const DataPacket &a, const DataPacket &b) {
    ASSERT_EQ(a.fields(), b.fields());
    ASSERT_EQ(a.rowCount(), b.rowCount());
    for (int row = 0; row < a.rowCount(); ++row) {
        for (int col = 0; col < a.fields().size(); ++col)
            EXPECT_EQ(a.value(row, col), b.value(row, col)) << row << "," << col;
    }
}
} // namespace

TEST(DataPacket, RoundTripsEveryKindWithNullsAndDefinitions) {
    const DataPacket packet = samplePacket();
    EXPECT_EQ(packet.value(0, 0).toString(), "Açúcar & Cia");
    EXPECT_FALSE(packet.value(1, 0).isValid());
    EXPECT_EQ(packet.value(2, 0).toString(), ""); // empty text is not null
    EXPECT_FALSE(packet.isNullAt(2, 0));
    EXPECT_EQ(packet.value(0, 4).toLongLong(), qint64(1) << 40);
    EXPECT_FALSE(packet.value(9, 1).isValid());

    expectSamePacket(packet, DataPacket::decode(packet.encode()));
    EXPECT_EQ(packet.fieldIndex(u"vratuapag"), 3);
    EXPECT_EQ(packet.fieldIndex(u"ABSENT"), -1);

    const DataPacket empty(allKinds());
    expectSamePacket(empty, DataPacket::decode(empty.encode()));
    expectSamePacket(DataPacket(), DataPacket::decode(DataPacket().encode()));
}

// Packets of one method repeat their definitions, and the codec reuses the ones it saw last: a packet
// whose definitions differ, even in one property, still travels with its own.
TEST(DataPacket, EachPacketKeepsItsOwnDefinitionsWhenTheyAlternate) {
    const DataPacket sample = samplePacket();
    QList<FieldDef> relabelled = allKinds();
    relabelled[0].displayLabel = QStringLiteral("Credor");
    DataPacket other(relabelled);
    other.appendRow({"x", "S", 1.0, 2.0, 3, true});
    const DataPacket narrow(QList<FieldDef>{{"CDFILIAL", FieldKind::Text, 4}});
    for (int round = 0; round < 2; ++round) {
        expectSamePacket(sample, DataPacket::decode(sample.encode()));
        expectSamePacket(other, DataPacket::decode(other.encode()));
        expectSamePacket(narrow, DataPacket::decode(narrow.encode()));
    }
    EXPECT_EQ(DataPacket::decode(other.encode()).fields().at(0).displayLabel, "Credor");
    EXPECT_EQ(DataPacket::decode(sample.encode()).fields().at(0).displayLabel, "Fornecedor");
}

TEST(DataPacket, TravelsInsideAVariant) {
    const QVariant holder = QVariant::fromValue(samplePacket());
    ASSERT_TRUE(holder.canConvert<DataPacket>());
    EXPECT_EQ(holder.value<DataPacket>().rowCount(), 10);
}

TEST(DataPacket, RejectsTruncatedAndInconsistentInput) {
    const QByteArray bytes = samplePacket().encode();
    for (qsizetype cut : {qsizetype(0), qsizetype(1), bytes.size() / 2, bytes.size() - 1})
        EXPECT_THROW(DataPacket::decode(QByteArrayView(bytes).first(cut)), PacketError) << cut;
    EXPECT_THROW(DataPacket::decode("not cbor at all"), PacketError);
    EXPECT_THROW(DataPacket::decode(QCborValue(42).toCbor()), PacketError);

    const auto tampered = [&](auto change) {
        QCborMap map = QCborValue::fromCbor(samplePacket().encode()).toMap();
        change(map);
        return DataPacket::decode(map.toCborValue().toCbor());
    };
    EXPECT_THROW(tampered([](QCborMap &m) { m.insert(QStringLiteral("version"), 2); }), PacketError);
    EXPECT_THROW(tampered([](QCborMap &m) { m.insert(QStringLiteral("rows"), 11); }), PacketError);
    EXPECT_THROW(tampered([](QCborMap &m) { m.insert(QStringLiteral("rows"), -1); }), PacketError);
    EXPECT_THROW(tampered([](QCborMap &m) { m.insert(QStringLiteral("rows"), qint64(1) << 40); }),
                 PacketError);
    EXPECT_THROW(tampered([](QCborMap &m) { m.remove(QStringLiteral("columns")); }), PacketError);
    EXPECT_THROW(tampered([](QCborMap &m) {
                     QCborArray fields = m.value(QStringLiteral("fields")).toArray();
                     fields[1] = fields[0];
                     m.insert(QStringLiteral("fields"), fields);
                 }),
                 PacketError); // duplicate name
    EXPECT_THROW(tampered([](QCborMap &m) {
                     QCborArray columns = m.value(QStringLiteral("columns")).toArray();
                     QCborMap text = columns[0].toMap();
                     QByteArray ends = text.value(QStringLiteral("ends")).toByteArray();
                     ends[0] = char(0xff); // offset beyond the text
                     text.insert(QStringLiteral("ends"), ends);
                     columns[0] = text;
                     m.insert(QStringLiteral("columns"), columns);
                 }),
                 PacketError);
    EXPECT_THROW(tampered([](QCborMap &m) {
                     QCborArray columns = m.value(QStringLiteral("columns")).toArray();
                     QCborMap reals = columns[3].toMap();
                     reals.insert(QStringLiteral("data"), QByteArray(8, '\0'));
                     columns[3] = reals;
                     m.insert(QStringLiteral("columns"), columns);
                 }),
                 PacketError);
}

TEST(DataPacket, RandomMutationsNeverCrashOrLoadHalfway) {
    const DataPacket original = samplePacket();
    const QByteArray bytes = original.encode();
    QRandomGenerator random(20260315);
    int rejected = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray mutated = bytes;
        const int changes = 1 + int(random.bounded(4));
        for (int c = 0; c < changes; ++c) {
            const qsizetype at = random.bounded(int(mutated.size()));
            switch (random.bounded(3)) {
            case 0:
                mutated[at] = char(random.bounded(256));
                break;
            case 1:
                mutated.remove(at, 1 + random.bounded(8));
                break;
            default:
                mutated.insert(at, char(random.bounded(256)));
            }
        }
        try {
            const DataPacket decoded = DataPacket::decode(mutated);
            // Whatever decodes must be whole: every cell of every column readable.
            for (int row = 0; row < decoded.rowCount(); ++row) {
                for (int col = 0; col < decoded.fields().size(); ++col)
                    decoded.value(row, col);
            }
        } catch (const PacketError &) {
            ++rejected;
        }
    }
    EXPECT_GT(rejected, 0);
}

TEST(DataPacket, RejectsOversizedInputBeforeParsing) {
    // A header claiming a 2 GiB byte string with only a few bytes behind it.
    const QByteArray claim = QByteArray::fromHex("5b0000000080000000") + QByteArray(16, 'x');
    EXPECT_THROW(DataPacket::decode(claim), PacketError);
    EXPECT_THROW(
        DataPacket::fromColumns({{"A", FieldKind::Float}}, {PacketColumn()}, DataPacket::maxRows + 1),
        PacketError);
}

TEST(DataPacket, ReadsBytesWrittenByAnotherClient) {
    // The documented example, written by hand: {"version": 1, "rows": 2, "fields": [{"name":
    // "CDFILIAL", "kind": "text", "size": 4}], "columns": [{"nulls": h'02', "data": h'30303031',
    // "ends": h'0400000004000000'}]}, plus a float column with little-endian doubles.
    QCborMap text;
    text.insert(QStringLiteral("name"), QStringLiteral("CDFILIAL"));
    text.insert(QStringLiteral("kind"), QStringLiteral("text"));
    text.insert(QStringLiteral("size"), 4);
    QCborMap real;
    real.insert(QStringLiteral("name"), QStringLiteral("VRATUAPAG"));
    real.insert(QStringLiteral("kind"), QStringLiteral("float"));
    QCborMap textColumn;
    textColumn.insert(QStringLiteral("nulls"), QByteArray::fromHex("02"));
    textColumn.insert(QStringLiteral("data"), QByteArray("0001"));
    textColumn.insert(QStringLiteral("ends"), QByteArray::fromHex("0400000004000000"));
    QCborMap realColumn;
    realColumn.insert(QStringLiteral("data"), QByteArray::fromHex("000000000000f83f"
                                                                  "0000000000000040"));
    QCborMap packet;
    packet.insert(QStringLiteral("version"), 1);
    packet.insert(QStringLiteral("rows"), 2);
    packet.insert(QStringLiteral("fields"), QCborArray{text, real});
    packet.insert(QStringLiteral("columns"), QCborArray{textColumn, realColumn});

    const DataPacket decoded = DataPacket::decode(packet.toCborValue().toCbor());
    ASSERT_EQ(decoded.rowCount(), 2);
    EXPECT_EQ(decoded.fields().at(0).size, 4);
    EXPECT_EQ(decoded.value(0, 0).toString(), "0001");
    EXPECT_FALSE(decoded.value(1, 0).isValid());
    EXPECT_EQ(decoded.value(0, 1).toDouble(), 1.5);
    EXPECT_EQ(decoded.value(1, 1).toDouble(), 2.0);
}

namespace {
QCborMap fieldEntry(const char *name, const char *kind, int size) {
    QCborMap field;
    field.insert(QStringLiteral("name"), QLatin1StringView(name));
    field.insert(QStringLiteral("kind"), QLatin1StringView(kind));
    field.insert(QStringLiteral("size"), size);
    return field;
}

QCborMap columnEntry(const QByteArray &data, const QByteArray &ends = {}, const QByteArray &nulls = {}) {
    QCborMap column;
    if (!nulls.isEmpty())
        column.insert(QStringLiteral("nulls"), nulls);
    column.insert(QStringLiteral("data"), data);
    if (!ends.isNull())
        column.insert(QStringLiteral("ends"), ends);
    return column;
}

// A packet of every kind as a peer's CBOR library writes it, entries in the order this one writes them.
QCborMap peerPacket() {
    QCborMap name = fieldEntry("NMFORN", "text", 40);
    name.insert(QStringLiteral("required"), true);
    name.insert(QStringLiteral("label"), QStringLiteral("Fornecedor ção"));
    name.insert(QStringLiteral("visible"), false);
    name.insert(QStringLiteral("width"), 300);
    name.insert(QStringLiteral("alignment"), int(Qt::AlignRight));
    QCborMap packet;
    packet.insert(QStringLiteral("version"), 1);
    packet.insert(QStringLiteral("rows"), 2);
    packet.insert(QStringLiteral("fields"),
                  QCborArray{name, fieldEntry("DTVENC", "dateTime", 0), fieldEntry("QTITENS", "integer", 0),
                             fieldEntry("IDATIVO", "boolean", 0)});
    packet.insert(QStringLiteral("columns"),
                  QCborArray{columnEntry("Açúcar", QByteArray::fromHex("0800000008000000"), "\x02"),
                             columnEntry(QByteArray::fromHex("000000000000f83f0000000000000040")),
                             columnEntry(QByteArray::fromHex("ffffffffffffffff0001000000000000")),
                             columnEntry(QByteArray::fromHex("0100"))});
    return packet;
}
} // namespace

TEST(DataPacket, WritesTheBytesAPeerWritesAndReadsThem) {
    const QByteArray peer = peerPacket().toCborValue().toCbor();
    const DataPacket decoded = DataPacket::decode(peer);
    ASSERT_EQ(decoded.rowCount(), 2);
    EXPECT_EQ(decoded.value(0, 0).toString(), "Açúcar");
    EXPECT_FALSE(decoded.value(1, 0).isValid());
    EXPECT_EQ(decoded.fields().at(0).displayLabel, "Fornecedor ção");
    EXPECT_EQ(decoded.fields().at(0).alignment, Qt::AlignRight);
    EXPECT_EQ(decoded.value(0, 2).toLongLong(), -1);
    EXPECT_EQ(decoded.value(1, 2).toLongLong(), 256);
    EXPECT_EQ(decoded.encode(), peer);
    EXPECT_EQ(samplePacket().encode(), QCborValue::fromCbor(samplePacket().encode()).toCbor());
}

TEST(DataPacket, ReadsEntriesInAnyOrderWithUnknownKeysAndChunkedStrings) {
    QCborMap shuffled;
    const QCborMap peer = peerPacket();
    for (const char *key : {"columns", "fields", "comment", "rows", "version"})
        shuffled.insert(QLatin1StringView(key), peer.contains(QLatin1StringView(key))
                                                    ? peer.value(QLatin1StringView(key))
                                                    : QCborValue(QStringLiteral("extra")));
    const QByteArray bytes = shuffled.toCborValue().toCbor();
    EXPECT_EQ(DataPacket::decode(bytes).encode(), peer.toCborValue().toCbor());

    // The last column's data h'0100' in two chunks of an indefinite-length byte string.
    QByteArray chunked = peer.toCborValue().toCbor();
    const QByteArray definite = QByteArray::fromHex("420100");
    ASSERT_TRUE(chunked.endsWith(definite));
    chunked.replace(chunked.size() - definite.size(), definite.size(), QByteArray::fromHex("5f41014100ff"));
    EXPECT_EQ(DataPacket::decode(chunked).encode(), peer.toCborValue().toCbor());
}

TEST(DataPacket, RefusesRepeatedKeysAndIntegersBeyondSixtyFourBits) {
    // {"version": 1, "version": 1, ...}: the map head says one more entry than written, a key repeats.
    QByteArray repeated = peerPacket().toCborValue().toCbor();
    ASSERT_EQ(quint8(repeated.at(0)), 0xa4);
    repeated[0] = char(0xa5);
    repeated.insert(1, QByteArray::fromHex("6776657273696f6e01"));
    EXPECT_THROW(DataPacket::decode(repeated), PacketError);

    QCborMap huge = peerPacket();
    huge.insert(QStringLiteral("rows"), QCborValue(18446744073709551615.0));
    EXPECT_THROW(DataPacket::decode(huge.toCborValue().toCbor()), PacketError);
    QByteArray beyond = peerPacket().toCborValue().toCbor();
    const QByteArray rows = QByteArray::fromHex("64726f777302");
    beyond.replace(beyond.indexOf(rows), rows.size(), QByteArray::fromHex("64726f77731bffffffffffffffff"));
    EXPECT_THROW(DataPacket::decode(beyond), PacketError);
}
