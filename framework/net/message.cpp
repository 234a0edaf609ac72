#include "framework/net/wire.h"

#include <QCborArray>

namespace Wire {

QCborValue Message::toWire(const QVariant &value) {
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
    case QMetaType::QStringList: {
        QCborArray array;
        for (const QVariant &item : value.toList())
            array.append(toWire(item));
        return array;
    }
    case QMetaType::QVariantMap: {
        QCborMap map;
        const QVariantMap in = value.toMap();
        for (auto it = in.begin(); it != in.end(); ++it)
            map.insert(it.key(), toWire(it.value()));
        return map;
    }
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<DataPacket>()) {
        m_places.append({value.value<DataPacket>(), {}});
        return QCborValue(QCborTag(packetTag), m_places.size() - 1);
    }
    throw WireError(QStringLiteral("tipo de valor sem representação no protocolo: %1")
                        .arg(QString::fromLatin1(value.metaType().name())));
}

// The place a packet tag of this message stands for; nothing for a tag that stands for none.
const Message::Place *Message::placeOf(const QCborValue &value) const {
    if (!value.isTag() || value.tag() != QCborTag(packetTag))
        return nullptr;
    const QCborValue index = value.taggedValue();
    if (!index.isInteger() || index.toInteger() < 0 || index.toInteger() >= m_places.size())
        return nullptr;
    return &m_places.at(index.toInteger());
}

namespace {

DataPacket readUnreadable(const QByteArray &cbor) {
    try {
        return DataPacket::decode(cbor);
    } catch (const PacketError &e) {
        throw WireError(QStringLiteral("pacote de dados inválido: %1").arg(QString::fromUtf8(e.what())));
    }
}

} // namespace

QVariant Message::fromWire(const QCborValue &value) const {
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
        if (const Place *place = placeOf(value))
            return QVariant::fromValue(place->unreadable.isNull() ? place->packet
                                                                  : readUnreadable(place->unreadable));
        if (value.tag() == QCborTag(packetTag))
            return QVariant::fromValue(readUnreadable(value.taggedValue().toCbor()));
        break;
    default:
        break;
    }
    throw WireError(QStringLiteral("valor CBOR de tipo não suportado"));
}

} // namespace Wire
