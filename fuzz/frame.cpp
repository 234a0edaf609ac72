// The frame reader as the server runs it: a stranger's frames under the hello limits (bytes and items),
// the limits lifted once a hello is read. The input's first byte chooses the mode and how the rest is cut
// into reads.
#include "framework/net/wire.h"
#include "fuzz/invariant.h"

#include <QList>
#include <QtEndian>

#include <cstddef>
#include <cstdint>

namespace {

constexpr qint64 headerSize = 4;

// The frames a reader cut from a stream, each re-encoded, and whether it refused the stream.
struct Outcome {
    QList<QByteArray> frames;
    bool refused = false;

    bool operator==(const Outcome &) const = default;
};

// Reads a stream as a connection does, and checks each step against the framing read off the stream
// itself: no frame over the limit in force is taken, and one is refused as soon as its header is in.
class Connection {
public:
    Connection(QByteArrayView stream, bool signedIn)
        : m_stream(stream)
        , m_reader(signedIn ? Wire::defaultMaxFrameSize : Wire::helloMaxFrameSize,
                   signedIn ? Wire::maxItemsPerFrame : Wire::helloMaxItems)
        , m_limit(signedIn ? Wire::defaultMaxFrameSize : Wire::helloMaxFrameSize) {}

    // False once the reader has refused the stream.
    bool receive(qint64 bytes) {
        m_reader.append(m_stream.sliced(m_received, bytes).toByteArray());
        m_received += bytes;
        try {
            while (std::optional<Wire::Message> frame = m_reader.next())
                take(*frame);
        } catch (const Wire::WireError &) {
            m_outcome.refused = true;
            return false;
        }
        checkWaiting();
        return true;
    }

    const Outcome &outcome() const { return m_outcome; }

private:
    qint64 pendingLength() const { return qFromBigEndian<quint32>(m_stream.data() + m_consumed); }

    void take(const Wire::Message &frame) {
        require(m_received - m_consumed >= headerSize, "a frame without its header");
        const qint64 length = pendingLength();
        require(length <= m_limit, "a frame over the limit was taken");
        require(m_received - m_consumed >= headerSize + length, "a frame taken before all of it arrived");
        m_consumed += headerSize + length;
        m_outcome.frames.append(Wire::encodeFrame(frame));
        checkReencoding(frame);
        if (m_limit == Wire::helloMaxFrameSize &&
            frame.value(QLatin1StringView("type")) == QLatin1StringView("hello")) {
            m_limit = Wire::defaultMaxFrameSize;
            m_reader.setMaxFrameSize(m_limit);
            m_reader.setMaxItems(Wire::maxItemsPerFrame);
        }
    }

    void checkWaiting() const {
        const qint64 waiting = m_received - m_consumed;
        require((waiting > 0) == m_reader.partial(), "partial() disagrees with the bytes waiting");
        if (waiting < headerSize)
            return;
        require(pendingLength() <= m_limit, "an oversized frame was not refused from its header");
        require(waiting < headerSize + pendingLength(), "a whole frame was left waiting");
    }

    // A taken frame, written again, reads back the same through a fresh reader.
    static void checkReencoding(const Wire::Message &frame) {
        const QByteArray again = Wire::encodeFrame(frame);
        Wire::FrameReader reader;
        reader.append(again);
        std::optional<Wire::Message> back;
        try {
            back = reader.next();
        } catch (const Wire::WireError &) {
            require(false, "a re-encoded frame was refused");
        }
        require(back && Wire::encodeFrame(*back) == again && !reader.partial(),
                "a re-encoded frame read back differently");
    }

    QByteArrayView m_stream;
    Wire::FrameReader m_reader;
    qint64 m_limit;
    qint64 m_received = 0;
    qint64 m_consumed = 0;
    Outcome m_outcome;
};

// Read sizes from 1 to 97 bytes in a sequence the seed chooses.
Outcome readInChunks(QByteArrayView stream, bool signedIn, quint32 seed) {
    Connection connection(stream, signedIn);
    qint64 at = 0;
    while (at < stream.size()) {
        seed = seed * 1103515245u + 12345u;
        const qint64 bytes = std::min<qint64>(1 + (seed >> 16) % 97, stream.size() - at);
        if (!connection.receive(bytes))
            break;
        at += bytes;
    }
    return connection.outcome();
}

Outcome readAtOnce(QByteArrayView stream, bool signedIn) {
    Connection connection(stream, signedIn);
    connection.receive(stream.size());
    return connection.outcome();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const bool signedIn = data[0] & 1;
    const QByteArrayView stream(data + 1, qsizetype(size - 1));
    require(readInChunks(stream, signedIn, data[0] >> 1) == readAtOnce(stream, signedIn),
            "the frames read depend on how the bytes arrived");
    return 0;
}
