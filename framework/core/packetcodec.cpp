// CBOR encoding of data packets; the layout is described in docs/protocol.md ("Data packets").
#include "framework/core/datapacket.h"

#include <QCborArray>
#include <QCborMap>
#include <QtEndian>

namespace {
constexpr int formatVersion = 1;

const char *const kindNames[] = {"text", "fixedText", "dateTime", "float", "integer", "boolean"};

QString kindName(FieldKind kind) {
    return QString::fromLatin1(kindNames[int(kind)]);
}

FieldKind kindFromName(const QString &name) {
    for (int i = 0; i < int(std::size(kindNames)); ++i) {
        if (name == QLatin1StringView(kindNames[i]))
            return FieldKind(i);
    }
    throw PacketError("unknown field kind");
}

QCborMap encodeField(const FieldDef &def) {
    const FieldDef plain;
    QCborMap map;
    map.insert(QStringLiteral("name"), def.name);
    map.insert(QStringLiteral("kind"), kindName(def.kind));
    map.insert(QStringLiteral("size"), def.size);
    const auto optional = [&map](const char *key, const auto &value, const auto &standard) {
        if (value != standard)
            map.insert(QLatin1StringView(key), QCborValue(value));
    };
    optional("required", def.required, plain.required);
    optional("origin", def.origin, plain.origin);
    optional("label", def.displayLabel, plain.displayLabel);
    optional("visible", def.visible, plain.visible);
    optional("format", def.displayFormat, plain.displayFormat);
    optional("mask", def.editMask, plain.editMask);
    optional("width", qint64(def.displayWidth), qint64(plain.displayWidth));
    optional("calculated", def.calculated, plain.calculated);
    optional("providerFlags", def.providerFlags, plain.providerFlags);
    optional("alignment", qint64(def.alignment.toInt()), qint64(0));
    return map;
}

QString textEntry(const QCborMap &map, const char *key, bool required = false) {
    const QCborValue value = map.value(QLatin1StringView(key));
    if (value.isUndefined() && !required)
        return {};
    if (!value.isString())
        throw PacketError(std::string("field entry is not a text: ") + key);
    return value.toString();
}

bool boolEntry(const QCborMap &map, const char *key, bool standard) {
    const QCborValue value = map.value(QLatin1StringView(key));
    if (value.isUndefined())
        return standard;
    if (!value.isBool())
        throw PacketError(std::string("field entry is not a flag: ") + key);
    return value.toBool();
}

int intEntry(const QCborMap &map, const char *key, qint64 max) {
    const QCborValue value = map.value(QLatin1StringView(key));
    if (value.isUndefined())
        return 0;
    if (!value.isInteger() || value.toInteger() < 0 || value.toInteger() > max)
        throw PacketError(std::string("field entry is not a small number: ") + key);
    return int(value.toInteger());
}

FieldDef decodeField(const QCborValue &value) {
    if (!value.isMap())
        throw PacketError("field definition is not a map");
    const QCborMap map = value.toMap();
    FieldDef def;
    def.name = textEntry(map, "name", true);
    def.kind = kindFromName(textEntry(map, "kind", true));
    def.size = intEntry(map, "size", 1 << 20);
    def.required = boolEntry(map, "required", false);
    def.origin = textEntry(map, "origin");
    def.displayLabel = textEntry(map, "label");
    def.visible = boolEntry(map, "visible", true);
    def.displayFormat = textEntry(map, "format");
    def.editMask = textEntry(map, "mask");
    def.displayWidth = intEntry(map, "width", 1 << 20);
    def.calculated = boolEntry(map, "calculated", false);
    def.providerFlags = boolEntry(map, "providerFlags", true);
    def.alignment = Qt::Alignment::fromInt(intEntry(map, "alignment", 0xffff));
    return def;
}

template <typename T> QByteArray littleEndianBytes(const QList<T> &values) {
    QByteArray bytes(values.size() * qsizetype(sizeof(T)), Qt::Uninitialized);
    qToLittleEndian<T>(values.constData(), values.size(), bytes.data());
    return bytes;
}

template <typename T> QList<T> fromLittleEndianBytes(const QByteArray &bytes, int rowCount) {
    if (bytes.size() != qsizetype(rowCount) * qsizetype(sizeof(T)))
        throw PacketError("column data does not match the row count");
    QList<T> values(rowCount);
    qFromLittleEndian<T>(bytes.constData(), rowCount, values.data());
    return values;
}

QCborMap encodeColumn(const PacketColumn &column, FieldKind kind) {
    QCborMap map;
    if (!column.nulls.isEmpty())
        map.insert(QStringLiteral("nulls"), column.nulls);
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::FixedText:
        map.insert(QStringLiteral("data"), column.text);
        map.insert(QStringLiteral("ends"), littleEndianBytes(column.ends));
        break;
    case FieldKind::DateTime:
    case FieldKind::Float:
        map.insert(QStringLiteral("data"), littleEndianBytes(column.reals));
        break;
    case FieldKind::Integer:
        map.insert(QStringLiteral("data"), littleEndianBytes(column.integers));
        break;
    case FieldKind::Boolean:
        map.insert(QStringLiteral("data"), column.flags);
        break;
    }
    return map;
}

// The packets of one method carry the same field definitions answer after answer: each thread keeps the
// last definitions it encoded and decoded, and reuses them while they stay the same.
QCborArray encodeFields(const QList<FieldDef> &fields) {
    thread_local QList<FieldDef> lastFields;
    thread_local QCborArray lastArray;
    if (fields.isEmpty() || fields != lastFields) {
        QCborArray array;
        for (const FieldDef &def : fields)
            array.append(encodeField(def));
        lastFields = fields;
        lastArray = array;
    }
    return lastArray;
}

QList<FieldDef> decodeFields(const QCborArray &array) {
    thread_local QCborArray lastArray;
    thread_local QList<FieldDef> lastFields;
    if (array.isEmpty() || array != lastArray) {
        QList<FieldDef> fields;
        fields.reserve(array.size());
        for (const QCborValue &value : array)
            fields.append(decodeField(value));
        lastArray = array;
        lastFields = fields;
    }
    return lastFields;
}

QByteArray bytesEntry(const QCborMap &map, const char *key) {
    const QCborValue value = map.value(QLatin1StringView(key));
    if (value.isUndefined())
        return {};
    if (!value.isByteArray())
        throw PacketError(std::string("column entry is not a byte string: ") + key);
    return value.toByteArray();
}

PacketColumn decodeColumn(const QCborValue &value, FieldKind kind, int rowCount) {
    if (!value.isMap())
        throw PacketError("column is not a map");
    const QCborMap map = value.toMap();
    PacketColumn column;
    column.nulls = bytesEntry(map, "nulls");
    QByteArray data = bytesEntry(map, "data");
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::FixedText:
        column.text = std::move(data);
        column.ends = fromLittleEndianBytes<quint32>(bytesEntry(map, "ends"), rowCount);
        break;
    case FieldKind::DateTime:
    case FieldKind::Float:
        column.reals = fromLittleEndianBytes<double>(data, rowCount);
        break;
    case FieldKind::Integer:
        column.integers = fromLittleEndianBytes<qint64>(data, rowCount);
        break;
    case FieldKind::Boolean:
        column.flags = std::move(data);
        break;
    }
    return column;
}
} // namespace

QCborValue DataPacket::toCbor() const {
    QCborArray columnArray;
    for (int col = 0; col < fields().size(); ++col)
        columnArray.append(encodeColumn(column(col), fields().at(col).kind));
    QCborMap map;
    map.insert(QStringLiteral("version"), formatVersion);
    map.insert(QStringLiteral("rows"), rowCount());
    map.insert(QStringLiteral("fields"), encodeFields(fields()));
    map.insert(QStringLiteral("columns"), columnArray);
    return map;
}

QByteArray DataPacket::encode() const {
    return toCbor().toCbor();
}

DataPacket DataPacket::fromCbor(const QCborValue &value) {
    if (!value.isMap())
        throw PacketError("packet is not a map");
    const QCborMap map = value.toMap();
    if (map.value(QStringLiteral("version")) != QCborValue(formatVersion))
        throw PacketError("unknown packet version");
    const QCborValue rows = map.value(QStringLiteral("rows"));
    if (!rows.isInteger() || rows.toInteger() < 0 || rows.toInteger() > maxRows)
        throw PacketError("row count out of range");
    const int rowCount = int(rows.toInteger());
    const QCborValue fieldValue = map.value(QStringLiteral("fields"));
    const QCborValue columnValue = map.value(QStringLiteral("columns"));
    if (!fieldValue.isArray() || !columnValue.isArray())
        throw PacketError("fields or columns missing");
    const QCborArray fieldArray = fieldValue.toArray();
    const QCborArray columnArray = columnValue.toArray();
    if (fieldArray.size() != columnArray.size() || fieldArray.size() > maxFields)
        throw PacketError("field and column counts differ");
    QList<FieldDef> fieldList = decodeFields(fieldArray);
    QList<PacketColumn> columns;
    columns.reserve(fieldArray.size());
    for (qsizetype col = 0; col < fieldArray.size(); ++col)
        columns.append(decodeColumn(columnArray.at(col), fieldList.at(col).kind, rowCount));
    return fromColumns(std::move(fieldList), std::move(columns), rowCount);
}

DataPacket DataPacket::decode(QByteArrayView bytes) {
    if (bytes.size() > maxBytes)
        throw PacketError("packet too large");
    QCborParserError error;
    const QCborValue value = QCborValue::fromCbor(bytes.data(), bytes.size(), &error);
    if (error.error != QCborError::NoError)
        throw PacketError("malformed packet: " + error.errorString().toStdString());
    return fromCbor(value);
}
