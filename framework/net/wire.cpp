#include "framework/net/wire.h"

#include "framework/core/datapacket.h"

#include <QCborArray>
#include <QCborStreamReader>
#include <QCborStreamWriter>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>

namespace Wire {

namespace {

constexpr int headerSize = 4;

QCborValue listToWire(const QVariantList &list) {
    QCborArray array;
    for (const QVariant &item : list)
        array.append(toWire(item));
    return array;
}

QCborValue mapToWire(const QVariantMap &map) {
    QCborMap out;
    for (auto it = map.begin(); it != map.end(); ++it)
        out.insert(it.key(), toWire(it.value()));
    return out;
}

QVariant packetFromWire(const QCborValue &content) {
    try {
        return QVariant::fromValue(DataPacket::fromCbor(content));
    } catch (const PacketError &e) {
        throw WireError(QStringLiteral("pacote de dados inválido: %1").arg(QString::fromUtf8(e.what())));
    }
}

[[noreturn]] void tooComplex(qint64 maxItems) {
    throw WireError(
        QStringLiteral("CBOR com mais de %1 itens ou mais de %2 níveis").arg(maxItems).arg(maxNestingDepth));
}

// Walks the encoded value without building it, so that a frame of millions of tiny items or of deep
// nesting is refused before it costs memory or stack. Garbled bytes are left for the decoder to report.
void checkShape(QByteArrayView cbor, qint64 maxItems) {
    QCborStreamReader reader(cbor.data(), cbor.size());
    qint64 items = 0;
    int depth = 0;
    int tags = 0;
    do {
        if (reader.lastError() != QCborError::NoError)
            return;
        if (!reader.hasNext()) {
            if (depth == 0 || !reader.leaveContainer())
                return;
            --depth;
            continue;
        }
        if (++items > maxItems)
            tooComplex(maxItems);
        if (reader.isTag()) {
            if (depth + ++tags > maxNestingDepth)
                tooComplex(maxItems);
            reader.next();
            continue;
        }
        tags = 0;
        if (reader.isContainer()) {
            if (++depth > maxNestingDepth)
                tooComplex(maxItems);
            reader.enterContainer();
        } else {
            reader.next();
        }
    } while (depth > 0 || tags > 0);
}

// RFC 8949 makes a map with a repeated key invalid; a reader that kept the first would see another
// message than one that kept the last.
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

// Collects a frame's CBOR after room for its header and counts what goes past the limit without
// keeping it.
class FrameBuffer : public QIODevice {
public:
    explicit FrameBuffer(qint64 limit)
        : m_limit(limit)
        , m_frame(headerSize, Qt::Uninitialized) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    qint64 cborSize() const { return m_cborSize; }
    QByteArray take() { return std::move(m_frame); }

protected:
    qint64 writeData(const char *data, qint64 size) override {
        m_cborSize += size;
        if (m_cborSize <= m_limit)
            m_frame.append(data, size);
        else if (!m_frame.isEmpty())
            m_frame = QByteArray();
        return size;
    }
    qint64 readData(char *, qint64) override { return -1; }

private:
    qint64 m_limit;
    qint64 m_cborSize = 0;
    QByteArray m_frame;
};

} // namespace

FrameTooLarge::FrameTooLarge(qint64 size, qint64 limit)
    : WireError(QStringLiteral("quadro de %1 bytes excede o limite de %2 bytes").arg(size).arg(limit))
    , m_size(size)
    , m_limit(limit) {}

// The CBOR is written straight after the header, so a large message is not copied into a second frame.
QByteArray encodeFrame(const QCborMap &message, qint64 maxFrameSize) {
    const qint64 limit = std::min(maxFrameSize, maxEncodableFrameSize);
    FrameBuffer buffer(limit);
    QCborStreamWriter writer(&buffer);
    message.toCborValue().toCbor(writer);
    if (buffer.cborSize() > limit)
        throw FrameTooLarge(buffer.cborSize(), limit);
    QByteArray frame = buffer.take();
    qToBigEndian(quint32(buffer.cborSize()), frame.data());
    return frame;
}

std::optional<qint64> announcedMaxFrameSize(const QCborMap &hello) {
    const QCborValue value = hello.value(QLatin1StringView(maxFrameSizeKey));
    if (value.isUndefined())
        return defaultMaxFrameSize;
    if (!value.isInteger() || value.toInteger() < minAnnouncedFrameSize)
        return std::nullopt;
    return std::min(value.toInteger(), maxEncodableFrameSize);
}

QCborMap decodeMessage(QByteArrayView cbor, qint64 maxItems) {
    checkShape(cbor, maxItems);
    QCborParserError error;
    const QCborValue value = QCborValue::fromCbor(cbor.data(), cbor.size(), &error);
    if (error.error != QCborError::NoError)
        throw WireError(QStringLiteral("CBOR inválido: %1").arg(error.errorString()));
    if (!value.isMap())
        throw WireError(QStringLiteral("o quadro não contém um mapa CBOR"));
    checkUniqueKeys(value);
    return value.toMap();
}

std::optional<QCborMap> FrameReader::next() {
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
    QCborMap message = decodeMessage(QByteArrayView(m_buffer).sliced(headerSize, length), m_maxItems);
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

QCborValue toWire(const QVariant &value) {
    if (!value.isValid() || value.typeId() == QMetaType::Nullptr)
        return QCborValue(QCborValue::Null);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QByteArray:
        return value.toByteArray();
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return listToWire(value.toList());
    case QMetaType::QVariantMap:
        return mapToWire(value.toMap());
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<DataPacket>())
        return QCborValue(QCborTag(packetTag), value.value<DataPacket>().toCbor());
    throw WireError(QStringLiteral("tipo de valor sem representação no protocolo: %1")
                        .arg(QString::fromLatin1(value.metaType().name())));
}

QVariant fromWire(const QCborValue &value) {
    switch (value.type()) {
    case QCborValue::Null:
    case QCborValue::Undefined:
        return {};
    case QCborValue::False:
    case QCborValue::True:
        return value.toBool();
    case QCborValue::Integer:
        return value.toInteger();
    case QCborValue::Double:
        return value.toDouble();
    case QCborValue::String:
        return value.toString();
    case QCborValue::ByteArray:
        return value.toByteArray();
    case QCborValue::Array: {
        QVariantList list;
        const QCborArray array = value.toArray();
        list.reserve(array.size());
        for (const QCborValue &item : array)
            list.append(fromWire(item));
        return list;
    }
    case QCborValue::Map: {
        QVariantMap map;
        const QCborMap in = value.toMap();
        for (auto it = in.begin(); it != in.end(); ++it) {
            if (!it.key().isString())
                throw WireError(QStringLiteral("mapa com chave que não é texto"));
            map.insert(it.key().toString(), fromWire(it.value()));
        }
        return map;
    }
    case QCborValue::Tag:
        if (value.tag() == QCborTag(packetTag))
            return packetFromWire(value.taggedValue());
        break;
    default:
        break;
    }
    throw WireError(QStringLiteral("valor CBOR de tipo não suportado"));
}

} // namespace Wire
