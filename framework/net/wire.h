#pragma once

#include "framework/core/datapacket.h"

#include <QByteArray>
#include <QCborMap>
#include <QCborValue>
#include <QList>
#include <QVariant>

#include <optional>
#include <stdexcept>

// The wire format shared by the client and the server: length-prefixed CBOR frames, each one map.
namespace Wire {

constexpr int protocolVersion = 1;
constexpr qint64 defaultMaxFrameSize = qint64(256) << 20;
// Before the welcome a frame needs only a few hundred bytes: a stranger may not make the server buffer more.
constexpr qint64 helloMaxFrameSize = qint64(64) << 10;
// The largest frame the 4-byte length can announce.
constexpr qint64 maxEncodableFrameSize = 0xFFFFFFFF;
// The smallest limit a peer may announce for the frames it receives: a notice must still reach it.
constexpr qint64 minAnnouncedFrameSize = 1024;
// Hello key with the largest frame the client accepts; without it the server sends up to
// defaultMaxFrameSize.
inline constexpr char maxFrameSizeKey[] = "maxFrameSize";
// CBOR items a frame may hold, and how deep its arrays, maps and tags may nest. Data packets carry
// their values in byte strings, so real frames stay far below these; a frame of tiny items would
// otherwise cost many times its size in memory.
constexpr qint64 maxItemsPerFrame = 1000000;
// A hello is a map of a handful of entries: before the welcome a stranger's frame may hold no more items
// than this, so that 64 KiB of tiny arrays or maps cannot cost megabytes once built.
constexpr qint64 helloMaxItems = 1024;
constexpr int maxNestingDepth = 64;
// CBOR tag that marks a data packet among the values.
constexpr quint64 packetTag = 55800;

// Bad bytes on the wire: an oversized or empty frame, garbled CBOR, too many or too deeply nested items,
// a map that repeats a key, a frame that is not a map, or a value of a kind the protocol does not carry.
class WireError : public std::runtime_error {
public:
    explicit WireError(const QString &message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// A message whose frame would exceed what its receiver accepts.
class FrameTooLarge : public WireError {
public:
    FrameTooLarge(qint64 size, qint64 limit);
    qint64 size() const { return m_size; }
    qint64 limit() const { return m_limit; }

private:
    qint64 m_size;
    qint64 m_limit;
};

// A message as the program holds it: a CBOR map whose data packets stay packets. Where a packet goes the
// map holds the packet tag around the packet's place in the message's list, so neither writing a frame
// nor reading one builds a packet's CBOR tree. A packet that arrived unreadable keeps its bytes there,
// to be refused when read and written again as it came. The map is not sent as it stands: frames are
// written and read by the functions below.
class Message {
public:
    Message() = default;
    // A message of plain CBOR values, without packets.
    Message(QCborMap map)
        : m_map(std::move(map)) {}

    QCborValue value(QLatin1StringView key) const { return m_map.value(key); }
    // The entries as they stand, packets by their places: their values are read through fromWire.
    const QCborMap &entries() const { return m_map; }
    void insert(QLatin1StringView key, const QCborValue &value) { m_map.insert(key, value); }
    // Inserts a program value as it travels (see toWire).
    void insertValue(QLatin1StringView key, const QVariant &value) { m_map.insert(key, toWire(value)); }

    // Values: null, integers, doubles, texts, byte arrays, arrays, maps with text keys, and data packets
    // (tagged, kept by this message). Booleans are carried as CBOR booleans. Throws WireError for a value
    // the protocol does not carry.
    QCborValue toWire(const QVariant &value);
    // A value of this message as the program reads it. Throws WireError.
    QVariant fromWire(const QCborValue &value) const;

private:
    friend class MessageWriter;
    friend class MessageReader;

    struct Place {
        DataPacket packet;
        // The CBOR of a packet that could not be read, as it arrived.
        QByteArray unreadable;
    };
    const Place *placeOf(const QCborValue &value) const;

    QCborMap m_map;
    QList<Place> m_places;
};

// A frame: 4-byte big-endian length of the CBOR that follows, then the CBOR, written into one allocation
// of its exact size. Throws FrameTooLarge when the CBOR exceeds maxFrameSize (never more than the length
// can announce), before anything is written. A message handed over frees each packet it alone holds
// column by column as it is written.
QByteArray encodeFrame(const Message &message, qint64 maxFrameSize = maxEncodableFrameSize);
QByteArray encodeFrame(Message &&message, qint64 maxFrameSize = maxEncodableFrameSize);

// The largest frame a hello says its client accepts: defaultMaxFrameSize when it says nothing, at most
// maxEncodableFrameSize; nothing when the value is not an integer of at least minAnnouncedFrameSize.
std::optional<qint64> announcedMaxFrameSize(const Message &hello);

// The message in the CBOR of one frame: its shape (items, nesting) is checked before it is built, then
// its keys; its packets are read straight into packets. Throws WireError.
Message decodeMessage(QByteArrayView cbor, qint64 maxItems = maxItemsPerFrame);

// Collects received bytes and cuts them into frames.
class FrameReader {
public:
    explicit FrameReader(qint64 maxFrameSize = defaultMaxFrameSize, qint64 maxItems = maxItemsPerFrame)
        : m_maxFrameSize(maxFrameSize)
        , m_maxItems(maxItems) {}
    void setMaxFrameSize(qint64 bytes) { m_maxFrameSize = bytes; }
    void setMaxItems(qint64 items) { m_maxItems = items; }
    void append(const QByteArray &bytes) { m_buffer.append(bytes); }
    // The next whole frame decoded, or nothing while it is incomplete. A frame's bytes are freed once it
    // is decoded. Throws WireError.
    std::optional<Message> next();
    // True while some bytes of a frame have arrived but not all of it.
    bool partial() const { return !m_buffer.isEmpty(); }

private:
    void consume(qint64 bytes);

    QByteArray m_buffer;
    qint64 m_maxFrameSize;
    qint64 m_maxItems;
};

} // namespace Wire
