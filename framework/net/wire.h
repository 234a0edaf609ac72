#pragma once

#include <QByteArray>
#include <QCborMap>
#include <QCborValue>
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

// A frame: 4-byte big-endian length of the CBOR that follows, then the CBOR. Throws FrameTooLarge when
// the CBOR exceeds maxFrameSize (never more than the length can announce); the buffer stops growing
// once past the limit, so refusing a huge message does not cost its size in memory.
QByteArray encodeFrame(const QCborMap &message, qint64 maxFrameSize = maxEncodableFrameSize);

// The largest frame a hello says its client accepts: defaultMaxFrameSize when it says nothing, at most
// maxEncodableFrameSize; nothing when the value is not an integer of at least minAnnouncedFrameSize.
std::optional<qint64> announcedMaxFrameSize(const QCborMap &hello);

// The message in the CBOR of one frame: its shape (items, nesting) is checked before it is built, then
// its keys. Throws WireError.
QCborMap decodeMessage(QByteArrayView cbor, qint64 maxItems = maxItemsPerFrame);

// Collects received bytes and cuts them into frames.
class FrameReader {
public:
    explicit FrameReader(qint64 maxFrameSize = defaultMaxFrameSize, qint64 maxItems = maxItemsPerFrame)
        : m_maxFrameSize(maxFrameSize)
        , m_maxItems(maxItems) {}
    void setMaxFrameSize(qint64 bytes) { m_maxFrameSize = bytes; }
    void setMaxItems(qint64 items) { m_maxItems = items; }
    void append(const QByteArray &bytes) { m_buffer.append(bytes); }
    // The next whole frame decoded, or nothing while it is incomplete. Throws WireError.
    std::optional<QCborMap> next();
    // True while some bytes of a frame have arrived but not all of it.
    bool partial() const { return !m_buffer.isEmpty(); }

private:
    void consume(qint64 bytes);

    QByteArray m_buffer;
    qint64 m_maxFrameSize;
    qint64 m_maxItems;
};

// Values: null, integers, doubles, texts, byte arrays, arrays, maps with text keys, and data packets
// (tagged). Booleans are carried as CBOR booleans.
QCborValue toWire(const QVariant &value);
QVariant fromWire(const QCborValue &value);

} // namespace Wire
