#include "framework/net/wire.h"

#include "framework/core/cborwriter.h"

#include <QCborArray>
#include <QCborStreamReader>
#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <numeric>

namespace Wire {

namespace {

constexpr int headerSize = 4;

[[noreturn]] void tooComplex(qint64 maxItems) {
    throw WireError(
        QStringLiteral("CBOR com mais de %1 itens ou mais de %2 níveis").arg(maxItems).arg(maxNestingDepth));
}

// Where a data packet's CBOR lies in a frame: the item the packet tag wraps.
struct Span {
    qint64 begin;
    qint64 end;
};

// Walks the encoded value without building it, so that a frame of millions of tiny items or of deep
// nesting is refused before it costs memory or stack, and finds the packets in it (not those inside
// another packet). Garbled bytes are left for the decoder to report.
QList<Span> checkShape(QByteArrayView cbor, qint64 maxItems) {
    QCborStreamReader reader(cbor.data(), cbor.size());
    QList<Span> packets;
    qint64 items = 0;
    int depth = 0;
    int tags = 0;
    qint64 packetBegin = 0;
    int packetDepth = -1;
    // A packet ends with the first whole item at the depth of its tag; an item the reader could not
    // get past ends nothing, and the walk stops there.
    const auto itemEnded = [&] {
        if (depth == packetDepth && tags == 0 && reader.lastError() == QCborError::NoError) {
            packets.append({packetBegin, reader.currentOffset()});
            packetDepth = -1;
        }
    };
    do {
        if (reader.lastError() != QCborError::NoError)
            return packets;
        if (!reader.hasNext()) {
            if (depth == 0 || !reader.leaveContainer())
                return packets;
            --depth;
            itemEnded();
            continue;
        }
        if (++items > maxItems)
            tooComplex(maxItems);
        if (reader.isTag()) {
            if (depth + ++tags > maxNestingDepth)
                tooComplex(maxItems);
            const bool packet = packetDepth < 0 && reader.toTag() == QCborTag(packetTag);
            reader.next();
            if (packet) {
                packetDepth = depth;
                packetBegin = reader.currentOffset();
            }
            continue;
        }
        tags = 0;
        if (reader.isContainer()) {
            if (++depth > maxNestingDepth)
                tooComplex(maxItems);
            reader.enterContainer();
        } else {
            reader.next();
            itemEnded();
        }
    } while (depth > 0 || tags > 0);
    return packets;
}

// RFC 8949 makes a map with a repeated key invalid; a reader that kept the first would see another
// message than one that kept the last. The packets' own maps are checked by their reader.
void checkUniqueKeys(const QCborValue &value) {
    if (value.isTag()) {
        checkUniqueKeys(value.taggedValue());
    } else if (value.isArray()) {
        for (const QCborValue &item : value.toArray())
            checkUniqueKeys(item);
    } else if (value.isMap()) {
        const QCborMap map = value.toMap();
        QList<QCborValue> keys;
        keys.reserve(map.size());
        for (auto it = map.begin(); it != map.end(); ++it) {
            keys.append(it.key());
            checkUniqueKeys(it.value());
        }
        std::sort(keys.begin(), keys.end());
        if (std::adjacent_find(keys.begin(), keys.end()) != keys.end())
            throw WireError(QStringLiteral("mapa CBOR com chave repetida"));
    }
}

} // namespace

// Writes a message's CBOR, each packet where its place is held, as Qt's own CBOR writer would write
// the same values: first counting the bytes, then into the frame.
class MessageWriter {
public:
    // Handed the message (`release`), each packet held by one place and nowhere else is freed column by
    // column as it is written.
    static QByteArray frame(Message &message, qint64 maxFrameSize, bool release);

private:
    MessageWriter(CborWriter &out, Message &message, QList<int> &uses, bool counting, bool release)
        : m_out(out)
        , m_message(message)
        , m_uses(uses)
        , m_counting(counting)
        , m_release(release) {}

    void write(const QCborValue &value) {
        switch (value.type()) {
        case QCborValue::Integer:
            return m_out.integer(value.toInteger());
        case QCborValue::ByteArray:
            return m_out.bytes(value.toByteArray());
        case QCborValue::String:
            return m_out.text(value.toString());
        case QCborValue::Array:
            m_out.startArray(value.toArray().size());
            for (const QCborValue &item : value.toArray())
                write(item);
            return;
        case QCborValue::Map:
            writeMap(value.toMap());
            return;
        case QCborValue::Tag:
            m_out.tag(quint64(value.tag()));
            if (const Message::Place *place = std::as_const(m_message).placeOf(value))
                return writePlace(place - m_message.m_places.constData());
            return write(value.taggedValue());
        case QCborValue::False:
        case QCborValue::True:
            return m_out.boolean(value.isTrue());
        case QCborValue::Null:
            return m_out.null();
        case QCborValue::Undefined:
            return m_out.undefined();
        case QCborValue::Double:
            return m_out.real(value.toDouble());
        default:
            return m_out.raw(value.toCbor());
        }
    }

    void writeMap(const QCborMap &map) {
        m_out.startMap(map.size());
        for (auto it = map.begin(); it != map.end(); ++it) {
            write(it.key());
            write(it.value());
        }
    }

    void writePlace(qsizetype index) {
        const Message::Place &place = m_message.m_places.at(index);
        if (m_counting)
            ++m_uses[index];
        if (!place.unreadable.isNull())
            m_out.raw(place.unreadable);
        else if (m_release && m_uses.at(index) == 1)
            m_message.m_places[index].packet.writeCborAndRelease(m_out);
        else
            place.packet.writeCbor(m_out);
    }

    CborWriter &m_out;
    Message &m_message;
    QList<int> &m_uses;
    bool m_counting;
    bool m_release;
};

QByteArray MessageWriter::frame(Message &message, qint64 maxFrameSize, bool release) {
    const qint64 limit = std::min(maxFrameSize, maxEncodableFrameSize);
    QList<int> uses(message.m_places.size(), 0);
    CborWriter counter;
    MessageWriter(counter, message, uses, true, false).writeMap(message.m_map);
    if (counter.size() > limit)
        throw FrameTooLarge(counter.size(), limit);
    QByteArray frame;
    frame.reserve(headerSize + counter.size());
    frame.resize(headerSize);
    qToBigEndian(quint32(counter.size()), frame.data());
    CborWriter out(frame);
    MessageWriter(out, message, uses, false, release).writeMap(message.m_map);
    return frame;
}

// Reads a frame's CBOR into a message.
class MessageReader {
public:
    static Message read(QByteArrayView cbor, qint64 maxItems);

private:
    static Message::Place readPlace(QByteArrayView cbor) {
        try {
            return {DataPacket::decode(cbor), {}};
        } catch (const PacketError &) {
            return {DataPacket(), cbor.toByteArray()};
        }
    }
};

FrameTooLarge::FrameTooLarge(qint64 size, qint64 limit)
    : WireError(QStringLiteral("quadro de %1 bytes excede o limite de %2 bytes").arg(size).arg(limit))
    , m_size(size)
    , m_limit(limit) {}

QByteArray encodeFrame(const Message &message, qint64 maxFrameSize) {
    Message shared = message;
    return MessageWriter::frame(shared, maxFrameSize, false);
}

QByteArray encodeFrame(Message &&message, qint64 maxFrameSize) {
    return MessageWriter::frame(message, maxFrameSize, true);
}

std::optional<qint64> announcedMaxFrameSize(const Message &hello) {
    const QCborValue value = hello.value(QLatin1StringView(maxFrameSizeKey));
    if (value.isUndefined())
        return defaultMaxFrameSize;
    if (!value.isInteger() || value.toInteger() < minAnnouncedFrameSize)
        return std::nullopt;
    return std::min(value.toInteger(), maxEncodableFrameSize);
}

Message decodeMessage(QByteArrayView cbor, qint64 maxItems) {
    return MessageReader::read(cbor, maxItems);
}

// The packets are read first, each straight into a packet; the rest of the frame, with the place of
// each packet written where its bytes were, is small and is built as CBOR values. Packets of the same
// bytes share one place, so that two equal packets are still equal keys.
Message MessageReader::read(QByteArrayView cbor, qint64 maxItems) {
    const QList<Span> spans = checkShape(cbor, maxItems);
    Message message;
    QByteArray rest;
    if (!spans.isEmpty()) {
        const qint64 packetBytes = std::accumulate(spans.begin(), spans.end(), qint64(0),
                                                   [](qint64 sum, Span s) { return sum + s.end - s.begin; });
        rest.reserve(cbor.size() - packetBytes + spans.size() * 9);
        CborWriter out(rest);
        QHash<QByteArrayView, qsizetype> placed;
        qint64 at = 0;
        for (const Span &span : spans) {
            const QByteArrayView bytes = cbor.sliced(span.begin, span.end - span.begin);
            auto found = placed.constFind(bytes);
            if (found == placed.cend()) {
                message.m_places.append(readPlace(bytes));
                found = placed.insert(bytes, message.m_places.size() - 1);
            }
            out.raw(cbor.sliced(at, span.begin - at));
            out.integer(*found);
            at = span.end;
        }
        out.raw(cbor.sliced(at));
    }
    const QByteArrayView built = spans.isEmpty() ? cbor : QByteArrayView(rest);
    QCborParserError error;
    const QCborValue value = QCborValue::fromCbor(built.data(), built.size(), &error);
    if (error.error != QCborError::NoError)
        throw WireError(QStringLiteral("CBOR inválido: %1").arg(error.errorString()));
    if (!value.isMap())
        throw WireError(QStringLiteral("o quadro não contém um mapa CBOR"));
    checkUniqueKeys(value);
    message.m_map = value.toMap();
    return message;
}

std::optional<Message> FrameReader::next() {
    if (m_buffer.size() < headerSize)
        return std::nullopt;
    const qint64 length = qFromBigEndian<quint32>(m_buffer.constData());
    if (length == 0)
        throw WireError(QStringLiteral("quadro vazio"));
    if (length > m_maxFrameSize)
        throw WireError(
            QStringLiteral("quadro de %1 bytes excede o limite de %2 bytes").arg(length).arg(m_maxFrameSize));
    if (m_buffer.size() < headerSize + length)
        return std::nullopt;
    Message message = decodeMessage(QByteArrayView(m_buffer).sliced(headerSize, length), m_maxItems);
    consume(headerSize + length);
    return message;
}

// A consumed whole buffer is freed rather than kept at the capacity of the largest frame received.
void FrameReader::consume(qint64 bytes) {
    if (bytes == m_buffer.size())
        m_buffer.clear();
    else
        m_buffer.remove(0, bytes);
}

} // namespace Wire
