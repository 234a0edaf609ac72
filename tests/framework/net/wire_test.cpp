#include "framework/core/datapacket.h"
#include "framework/net/wire.h"

#include <QCborArray>
#include <QStringList>
#include <QtEndian>
#include <gtest/gtest.h>

using Wire::FrameReader;
using Wire::WireError;

namespace {

QCborMap message(const QString &type) {
    QCborMap map;
    map.insert(QLatin1StringView("type"), type);
    return map;
}

QByteArray header(quint32 length) {
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(length, bytes.data());
    return bytes;
}

std::optional<Wire::Message> readFrame(const QByteArray &frame) {
    FrameReader reader;
    reader.append(frame);
    return reader.next();
}

QVariant roundTrip(const QVariant &value) {
    Wire::Message message;
    message.insertValue(QLatin1StringView("v"), value);
    const std::optional<Wire::Message> back = readFrame(Wire::encodeFrame(message));
    return back->fromWire(back->value(QLatin1StringView("v")));
}

QByteArray frameOf(const QByteArray &cbor) {
    return header(quint32(cbor.size())) + cbor;
}

// {"a": [0, 0, ...]} with the given count of zeros: the map, its key and the array are three more items.
QByteArray mapOfZeros(qint64 zeros) {
    QByteArray cbor("\xa1\x61\x61\x9a", 4);
    QByteArray count(4, Qt::Uninitialized);
    qToBigEndian(quint32(zeros), count.data());
    return cbor + count + QByteArray(zeros, '\0');
}

// {"a": [[...[]...]]}: the map and `arrays` nested arrays.
QByteArray nestedArrays(int arrays) {
    return QByteArray("\xa1\x61\x61", 3) + QByteArray(arrays - 1, '\x81') + QByteArray(1, '\x80');
}

bool accepted(const QByteArray &cbor) {
    FrameReader reader;
    reader.append(frameOf(cbor));
    try {
        return reader.next().has_value();
    } catch (const WireError &) {
        return false;
    }
}

} // namespace

TEST(FrameWriter, RefusesAFrameOverTheReceiversLimitAndTheLengthsReach) {
    const QCborMap small = message(QString(300, QLatin1Char('x')));
    const QByteArray frame = Wire::encodeFrame(small);
    const qint64 size = frame.size() - 4;
    EXPECT_EQ(Wire::encodeFrame(small, size), frame) << "a frame of exactly the limit goes";
    try {
        Wire::encodeFrame(small, size - 1);
        FAIL() << "a frame over the limit was encoded";
    } catch (const Wire::FrameTooLarge &e) {
        EXPECT_EQ(e.size(), size);
        EXPECT_EQ(e.limit(), size - 1);
    }
}

TEST(FrameWriter, AHelloAnnouncesTheLimitOfItsClient) {
    QCborMap hello = message(QStringLiteral("hello"));
    EXPECT_EQ(Wire::announcedMaxFrameSize(hello), Wire::defaultMaxFrameSize);
    hello.insert(QLatin1StringView(Wire::maxFrameSizeKey), qint64(1) << 40);
    EXPECT_EQ(Wire::announcedMaxFrameSize(hello), Wire::maxEncodableFrameSize)
        << "no frame can announce more than its 4-byte length holds";
}

TEST(FrameReader, ReassemblesFramesFromAnyChunking) {
    const QByteArray stream = Wire::encodeFrame(message(QStringLiteral("hello"))) +
                              Wire::encodeFrame(message(QStringLiteral("call")));
    for (int chunk : {1, 3, 7, int(stream.size())}) {
        FrameReader reader;
        QStringList types;
        for (int at = 0; at < stream.size(); at += chunk) {
            reader.append(stream.mid(at, chunk));
            while (auto frame = reader.next())
                types.append(frame->value(QLatin1StringView("type")).toString());
        }
        EXPECT_EQ(types, (QStringList{QStringLiteral("hello"), QStringLiteral("call")})) << chunk;
        EXPECT_FALSE(reader.partial());
    }
}

TEST(FrameReader, CutsALargeFrameAndKeepsTheStartOfTheNext) {
    QCborMap large = message(QStringLiteral("call"));
    large.insert(QLatin1StringView("data"), QByteArray(3 << 20, 'x'));
    const QByteArray frame = Wire::encodeFrame(large);
    EXPECT_EQ(qFromBigEndian<quint32>(frame.constData()), quint32(frame.size() - 4));

    const QCborValue data = large.value(QLatin1StringView("data"));
    FrameReader reader;
    reader.append(frame + frame.left(10));
    EXPECT_EQ(reader.next()->value(QLatin1StringView("data")), data);
    EXPECT_TRUE(reader.partial());
    reader.append(frame.mid(10));
    EXPECT_EQ(reader.next()->value(QLatin1StringView("data")), data);
    EXPECT_FALSE(reader.partial());
}

TEST(FrameReader, RejectsBadFrames) {
    FrameReader oversized(1024);
    oversized.append(header(1025));
    EXPECT_THROW(oversized.next(), WireError) << "refused from the header alone";

    FrameReader empty;
    empty.append(header(0));
    EXPECT_THROW(empty.next(), WireError);

    FrameReader garbled;
    garbled.append(header(3) + QByteArray("\xff\xff\xff", 3));
    EXPECT_THROW(garbled.next(), WireError);

    FrameReader notAMap;
    const QByteArray array = QCborValue(QCborArray{1, 2}).toCbor();
    notAMap.append(header(quint32(array.size())) + array);
    EXPECT_THROW(notAMap.next(), WireError);
}

TEST(FrameReader, RefusesFramesThatWouldExpandInMemory) {
    EXPECT_TRUE(accepted(mapOfZeros(Wire::maxItemsPerFrame - 3)));
    EXPECT_FALSE(accepted(mapOfZeros(Wire::maxItemsPerFrame - 2)));
    EXPECT_FALSE(accepted(mapOfZeros(4 * Wire::maxItemsPerFrame)));

    EXPECT_TRUE(accepted(nestedArrays(Wire::maxNestingDepth - 1)));
    EXPECT_FALSE(accepted(nestedArrays(Wire::maxNestingDepth)));
    EXPECT_FALSE(accepted(nestedArrays(100000)));
    EXPECT_FALSE(accepted(QByteArray("\xa1\x61\x61", 3) + QByteArray(100000, '\xc1') + QByteArray(1, '\0')))
        << "a chain of tags nests as deep as arrays do";
}

// Found by fuzzing: a packet tag around a text that is not UTF-8 was cut where the reader stopped, and the
// frame written again lost its end.
TEST(FrameReader, RefusesAPacketTagAroundAGarbledText) {
    EXPECT_FALSE(accepted(QByteArray::fromHex("a16176d9d9f862c328")));
    EXPECT_FALSE(accepted(QByteArray::fromHex("a26176d9d9f862c3286177f5")));
}

TEST(FrameReader, RefusesAMapThatRepeatsAKey) {
    EXPECT_TRUE(accepted(QByteArray("\xa2\x61\x61\x01\x61\x62\x02", 7)));
    EXPECT_FALSE(accepted(QByteArray("\xa2\x61\x61\x01\x61\x61\x02", 7)));
    EXPECT_FALSE(accepted(QByteArray("\xa1\x61\x61\x81\xd8\x20\xa2\x01\x00\x01\x00", 11)))
        << "inside an array and a tag, with integer keys";
    EXPECT_TRUE(accepted(QByteArray("\xa2\x61\x61\xa1\x61\x62\x00\x61\x62\xa1\x61\x62\x00", 13)))
        << "the same key in two different maps";
}

TEST(WireValues, RoundTripEveryKindTheProtocolCarries) {
    const QVariantMap map{{QStringLiteral("a"), 1}, {QStringLiteral("b"), QStringLiteral("ção")}};
    const QVariantList values = {QVariant(), qint64(-1),
                                 0.1,        QStringLiteral("Razão Social"),
                                 QString(),  QByteArray("\0\1", 2),
                                 true,       QVariantList{1, QStringLiteral("x")},
                                 map};
    const QVariant back = roundTrip(values);
    ASSERT_EQ(back.typeId(), QMetaType::QVariantList);
    const QVariantList list = back.toList();
    ASSERT_EQ(list.size(), values.size());
    EXPECT_FALSE(list[0].isValid());
    EXPECT_EQ(list[1].toLongLong(), -1);
    EXPECT_EQ(list[2].toDouble(), 0.1);
    EXPECT_EQ(list[3].toString(), QStringLiteral("Razão Social"));
    EXPECT_EQ(list[4].typeId(), QMetaType::QString) << "an empty text stays a text";
    EXPECT_EQ(list[5].toByteArray(), QByteArray("\0\1", 2));
    EXPECT_TRUE(list[6].toBool());
    EXPECT_EQ(list[7].toList().size(), 2);
    EXPECT_EQ(list[8].toMap().value(QStringLiteral("b")).toString(), QStringLiteral("ção"));
}

TEST(WireValues, CarriesDataPacketsTagged) {
    DataPacket packet({FieldDef{QStringLiteral("CDFILIAL"), FieldKind::Text, 4},
                       FieldDef{QStringLiteral("VRATUAPAG"), FieldKind::Float}});
    packet.appendRow({QStringLiteral("0101"), 1234.56});
    packet.appendRow({QStringLiteral("0102"), QVariant()});
    Wire::Message message;
    EXPECT_EQ(message.toWire(QVariant::fromValue(packet)).tag(), QCborTag(Wire::packetTag));
    const QVariant back = roundTrip(QVariant::fromValue(packet));
    ASSERT_EQ(back.metaType(), QMetaType::fromType<DataPacket>());
    const DataPacket copy = back.value<DataPacket>();
    EXPECT_EQ(copy.rowCount(), 2);
    EXPECT_EQ(copy.value(0, 0).toString(), QStringLiteral("0101"));
    EXPECT_EQ(copy.value(0, 1).toDouble(), 1234.56);
    EXPECT_TRUE(copy.isNullAt(1, 1));
}

TEST(WireValues, RefusesWhatTheProtocolDoesNotCarry) {
    Wire::Message plain;
    EXPECT_THROW(plain.toWire(QDate(2026, 3, 15)), WireError) << "dates travel as day counts";
    EXPECT_THROW(plain.fromWire(QCborValue(QCborTag(Wire::packetTag), QByteArray("junk"))), WireError);
    EXPECT_THROW(plain.fromWire(QCborValue(QCborTag(Wire::packetTag), 0)), WireError)
        << "a plain message holds no packet in place 0";
    EXPECT_THROW(plain.fromWire(QCborValue(QCborTag(99999), 1)), WireError);
    QCborMap intKeys;
    intKeys.insert(1, 2);
    EXPECT_THROW(plain.fromWire(intKeys), WireError);
}

namespace {

DataPacket branches() {
    DataPacket packet({FieldDef{QStringLiteral("CDFILIAL"), FieldKind::Text, 4},
                       FieldDef{QStringLiteral("VRATUAPAG"), FieldKind::Float}});
    packet.appendRow({QStringLiteral("0101"), 1234.56});
    packet.appendRow({QStringLiteral("Açú"), QVariant()});
    return packet;
}

QCborValue packetTree(const DataPacket &packet) {
    return QCborValue(QCborTag(Wire::packetTag), QCborValue::fromCbor(packet.encode()));
}

} // namespace

// Peers of today build their messages as CBOR trees: a message with packets must be the same bytes.
TEST(WireMessages, WriteTheBytesOfTheSameMessageBuiltAsACborTree) {
    const DataPacket packet = branches();
    Wire::Message message;
    message.insert(QLatin1StringView("type"), QLatin1StringView("result"));
    message.insert(QLatin1StringView("id"), -70000);
    message.insertValue(QLatin1StringView("value"),
                        QVariantList{QStringLiteral("OK"), QVariant::fromValue(packet), 0.5, true, QVariant(),
                                     QByteArray("\0\1", 2),
                                     QVariantMap{{QStringLiteral("ç"), qint64(1) << 40}}});
    message.insert(QLatin1StringView("refs"), QCborMap{{0, QStringLiteral("x")}});

    QCborMap tree;
    tree.insert(QLatin1StringView("type"), QLatin1StringView("result"));
    tree.insert(QLatin1StringView("id"), -70000);
    tree.insert(QLatin1StringView("value"),
                QCborArray{QStringLiteral("OK"), packetTree(packet), 0.5, true, QCborValue(QCborValue::Null),
                           QByteArray("\0\1", 2), QCborMap{{QStringLiteral("ç"), qint64(1) << 40}}});
    tree.insert(QLatin1StringView("refs"), QCborMap{{0, QStringLiteral("x")}});
    const QByteArray peer = tree.toCborValue().toCbor();

    EXPECT_EQ(Wire::encodeFrame(message), frameOf(peer));
    const std::optional<Wire::Message> read = readFrame(frameOf(peer));
    ASSERT_TRUE(read.has_value());
    const QVariantList values = read->fromWire(read->value(QLatin1StringView("value"))).toList();
    ASSERT_EQ(values.size(), 7);
    EXPECT_EQ(values.at(1).value<DataPacket>().encode(), packet.encode());
    EXPECT_EQ(values.at(6).toMap().value(QStringLiteral("ç")).toLongLong(), qint64(1) << 40);
    EXPECT_EQ(Wire::encodeFrame(*read), frameOf(peer)) << "a message read is written back as it came";
}

TEST(WireMessages, AnUnreadablePacketFailsItsValueAndTravelsBackAsItCame) {
    QCborMap packet = QCborValue::fromCbor(branches().encode()).toMap();
    packet.insert(QLatin1StringView("rows"), 3);
    QCborMap tree;
    tree.insert(QLatin1StringView("args"),
                QCborArray{QCborValue(QCborTag(Wire::packetTag), packet),
                           QCborValue(QCborTag(Wire::packetTag), QByteArray("lixo"))});
    const QByteArray frame = frameOf(tree.toCborValue().toCbor());
    const std::optional<Wire::Message> read = readFrame(frame);
    ASSERT_TRUE(read.has_value()) << "the frame is sound; only its packets are not";
    const QCborArray args = read->value(QLatin1StringView("args")).toArray();
    for (const QCborValue &arg : args) {
        try {
            read->fromWire(arg);
            ADD_FAILURE() << "an unreadable packet was read";
        } catch (const WireError &e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("pacote de dados inválido"))) << e.what();
        }
    }
    EXPECT_EQ(Wire::encodeFrame(*read), frame);
}

// A packet's maps are read by the packet reader: a repeated key there is refused like anywhere else.
TEST(WireMessages, APacketThatRepeatsAKeyIsNotRead) {
    QByteArray packet = branches().encode();
    ASSERT_EQ(quint8(packet.at(0)), 0xa4);
    packet[0] = char(0xa5);
    packet += QByteArray::fromHex("64726f777302"); // "rows": 2 again
    QByteArray cbor = QByteArray::fromHex("a16176d9d9f8") + packet;
    const std::optional<Wire::Message> read = readFrame(frameOf(cbor));
    ASSERT_TRUE(read.has_value());
    EXPECT_THROW(read->fromWire(read->value(QLatin1StringView("v"))), WireError);
}

// A message handed over frees the packets it alone holds as it writes them; a packet held elsewhere, or
// written twice in the message, is written whole every time and left as it was.
TEST(WireMessages, WritingAHandedOverMessageLeavesOtherHoldersTheirPackets) {
    const DataPacket kept = branches();
    const QByteArray expected = kept.encode();
    Wire::Message message;
    message.insertValue(QLatin1StringView("v"),
                        QVariantList{QVariant::fromValue(kept), QVariant::fromValue(branches())});
    const QByteArray frame = Wire::encodeFrame(Wire::Message(message));
    EXPECT_EQ(Wire::encodeFrame(std::move(message)), frame);
    EXPECT_EQ(kept.encode(), expected);

    // The same packet twice on the wire is read into one place, and written twice.
    std::optional<Wire::Message> twice = readFrame(frame);
    ASSERT_TRUE(twice.has_value());
    EXPECT_EQ(Wire::encodeFrame(std::move(*twice)), frame);
}
