// Reads data packets from CBOR straight into their columns, without a tree of CBOR values in between.
#include "framework/core/datapacket.h"
#include "framework/core/packetformat.h"

#include <QCborStreamReader>
#include <QtEndian>

#include <limits>
#include <optional>

using PacketFormat::isText;

namespace {
FieldKind kindFromName(const QString &name) {
    for (int i = 0; i < int(std::size(PacketFormat::kindNames)); ++i) {
        if (name == QLatin1StringView(PacketFormat::kindNames[i]))
            return FieldKind(i);
    }
    throw PacketError("unknown field kind");
}

// Reads one packet off CBOR bytes. Keys may come in any order and unknown ones are skipped, but a map
// may not repeat a key. Nothing is allocated for a byte string longer than the bytes that remain.
class PacketReader {
public:
    explicit PacketReader(QByteArrayView bytes)
        : m_bytes(bytes)
        , m_reader(bytes.data(), bytes.size()) {}

    DataPacket packet();

private:
    struct Ranges {
        std::optional<qint64> version;
        std::optional<qint64> rows;
        QByteArrayView fields;
        QByteArrayView columns;
    };

    // Calls `entry` with each key of the map at the reader; `entry` reads or skips the value.
    template <typename Entry> void readMap(const char *what, Entry entry);
    QString readText(const char *what);
    qint64 readInteger(const char *what);
    bool readBool(const char *what);
    QByteArray readBytes(const char *what);
    template <typename T> QList<T> readNumbers(int rowCount);
    // Skips the value at the reader and returns its bytes.
    QByteArrayView skipArray(const char *what);
    void skip();
    bool atUndefined();
    void check();
    [[noreturn]] void malformed();

    QList<FieldDef> readFields(QByteArrayView bytes);
    FieldDef readField();
    PacketColumn readColumn(FieldKind kind, int rowCount);

    QByteArrayView m_bytes;
    QCborStreamReader m_reader;
};

void PacketReader::check() {
    if (m_reader.lastError() != QCborError::NoError)
        malformed();
}

void PacketReader::malformed() {
    throw PacketError("malformed packet: " + m_reader.lastError().toString().toStdString());
}

template <typename Entry> void PacketReader::readMap(const char *what, Entry entry) {
    check();
    if (!m_reader.isMap())
        throw PacketError(std::string(what) + " is not a map");
    if (!m_reader.enterContainer())
        malformed();
    QStringList keys;
    while (m_reader.hasNext()) {
        const QString key = readText("map key");
        if (keys.contains(key))
            throw PacketError("map repeats the key " + key.toStdString());
        keys.append(key);
        check();
        entry(key);
    }
    if (!m_reader.leaveContainer())
        malformed();
}

QString PacketReader::readText(const char *what) {
    check();
    if (!m_reader.isString())
        throw PacketError(std::string("entry is not a text: ") + what);
    QString text;
    for (auto chunk = m_reader.readString(); chunk.status != QCborStreamReader::EndOfString;
         chunk = m_reader.readString()) {
        if (chunk.status == QCborStreamReader::Error)
            malformed();
        text += chunk.data;
    }
    return text;
}

// Integers beyond 64 bits are not integers to this format, as they are not to Qt's CBOR values.
qint64 PacketReader::readInteger(const char *what) {
    check();
    const bool fits = m_reader.isUnsignedInteger()
                          ? m_reader.toUnsignedInteger() <= quint64(std::numeric_limits<qint64>::max())
                          : m_reader.isNegativeInteger() && quint64(m_reader.toNegativeInteger()) != 0 &&
                                quint64(m_reader.toNegativeInteger()) <= quint64(1) << 63;
    if (!fits)
        throw PacketError(std::string("entry is not an integer: ") + what);
    const qint64 value = m_reader.toInteger();
    m_reader.next();
    return value;
}

bool PacketReader::readBool(const char *what) {
    check();
    if (!m_reader.isBool())
        throw PacketError(std::string("field entry is not a flag: ") + what);
    const bool value = m_reader.toBool();
    m_reader.next();
    return value;
}

// An explicit undefined value counts as an absent entry.
bool PacketReader::atUndefined() {
    if (!m_reader.isUndefined())
        return false;
    m_reader.next();
    return true;
}

QByteArray PacketReader::readBytes(const char *what) {
    check();
    if (!m_reader.isByteArray())
        throw PacketError(std::string("column entry is not a byte string: ") + what);
    QByteArray bytes;
    for (;;) {
        const qsizetype size = m_reader.currentStringChunkSize();
        if (size > m_bytes.size() - m_reader.currentOffset())
            throw PacketError("byte string longer than the packet");
        const qsizetype at = bytes.size();
        if (size > 0)
            bytes.resize(at + size);
        const auto chunk = m_reader.readStringChunk(bytes.data() + at, std::max<qsizetype>(size, 0));
        if (chunk.status == QCborStreamReader::EndOfString)
            return bytes;
        if (chunk.status == QCborStreamReader::Error)
            malformed();
    }
}

// A byte string of exactly rowCount numbers, read straight into the list when it comes in one piece.
template <typename T> QList<T> PacketReader::readNumbers(int rowCount) {
    check();
    const qsizetype expected = qsizetype(rowCount) * qsizetype(sizeof(T));
    if (!m_reader.isByteArray() || !m_reader.isLengthKnown() ||
        m_reader.currentStringChunkSize() != expected) {
        const QByteArray bytes = readBytes("numbers");
        if (bytes.size() != expected)
            throw PacketError("column data does not match the row count");
        QList<T> values(rowCount);
        qFromLittleEndian<T>(bytes.constData(), rowCount, values.data());
        return values;
    }
    if (expected > m_bytes.size() - m_reader.currentOffset())
        throw PacketError("byte string longer than the packet");
    QList<T> values(rowCount);
    const auto chunk = m_reader.readStringChunk(reinterpret_cast<char *>(values.data()), expected);
    if (chunk.status == QCborStreamReader::Error ||
        m_reader.readStringChunk(nullptr, 0).status != QCborStreamReader::EndOfString)
        malformed();
    qFromLittleEndian<T>(values.constData(), rowCount, values.data());
    return values;
}

void PacketReader::skip() {
    if (!m_reader.next())
        malformed();
}

QByteArrayView PacketReader::skipArray(const char *what) {
    check();
    if (!m_reader.isArray())
        throw PacketError(std::string(what) + " missing");
    const qint64 begin = m_reader.currentOffset();
    skip();
    return m_bytes.sliced(begin, m_reader.currentOffset() - begin);
}

FieldDef PacketReader::readField() {
    FieldDef def;
    bool named = false;
    bool kinded = false;
    const auto small = [this](const char *key, qint64 max) {
        const qint64 value = readInteger(key);
        if (value < 0 || value > max)
            throw PacketError(std::string("field entry is not a small number: ") + key);
        return int(value);
    };
    readMap("field definition", [&](const QString &key) {
        if (key != QLatin1StringView("name") && key != QLatin1StringView("kind") && atUndefined())
            return;
        if (key == QLatin1StringView("name")) {
            def.name = readText("name");
            named = true;
        } else if (key == QLatin1StringView("kind")) {
            def.kind = kindFromName(readText("kind"));
            kinded = true;
        } else if (key == QLatin1StringView("size")) {
            def.size = small("size", 1 << 20);
        } else if (key == QLatin1StringView("required")) {
            def.required = readBool("required");
        } else if (key == QLatin1StringView("origin")) {
            def.origin = readText("origin");
        } else if (key == QLatin1StringView("label")) {
            def.displayLabel = readText("label");
        } else if (key == QLatin1StringView("visible")) {
            def.visible = readBool("visible");
        } else if (key == QLatin1StringView("format")) {
            def.displayFormat = readText("format");
        } else if (key == QLatin1StringView("mask")) {
            def.editMask = readText("mask");
        } else if (key == QLatin1StringView("width")) {
            def.displayWidth = small("width", 1 << 20);
        } else if (key == QLatin1StringView("calculated")) {
            def.calculated = readBool("calculated");
        } else if (key == QLatin1StringView("providerFlags")) {
            def.providerFlags = readBool("providerFlags");
        } else if (key == QLatin1StringView("alignment")) {
            def.alignment = Qt::Alignment::fromInt(small("alignment", 0xffff));
        } else {
            skip();
        }
    });
    if (!named || !kinded)
        throw PacketError("field entry is not a text: name or kind");
    return def;
}

// Each thread keeps the last field definitions it read with their bytes, and reuses them while the
// bytes stay the same.
QList<FieldDef> PacketReader::readFields(QByteArrayView bytes) {
    thread_local QByteArray lastBytes;
    thread_local QList<FieldDef> lastFields;
    if (!lastFields.isEmpty() && bytes == QByteArrayView(lastBytes))
        return lastFields;
    PacketReader reader(bytes);
    QList<FieldDef> fields;
    if (!reader.m_reader.enterContainer())
        reader.malformed();
    while (reader.m_reader.hasNext()) {
        if (fields.size() == DataPacket::maxFields)
            throw PacketError("field and column counts differ");
        fields.append(reader.readField());
    }
    lastBytes = bytes.toByteArray();
    lastFields = fields;
    return fields;
}

PacketColumn PacketReader::readColumn(FieldKind kind, int rowCount) {
    PacketColumn column;
    readMap("column", [&](const QString &key) {
        if (atUndefined())
            return;
        if (key == QLatin1StringView("nulls")) {
            column.nulls = readBytes("nulls");
        } else if (key == QLatin1StringView("data")) {
            switch (kind) {
            case FieldKind::Text:
            case FieldKind::FixedText:
                column.text = readBytes("data");
                break;
            case FieldKind::DateTime:
            case FieldKind::Float:
                column.reals = readNumbers<double>(rowCount);
                break;
            case FieldKind::Integer:
                column.integers = readNumbers<qint64>(rowCount);
                break;
            case FieldKind::Boolean:
                column.flags = readBytes("data");
                break;
            }
        } else if (key == QLatin1StringView("ends") && isText(kind)) {
            column.ends = readNumbers<quint32>(rowCount);
        } else {
            skip();
        }
    });
    return column;
}

DataPacket PacketReader::packet() {
    Ranges found;
    readMap("packet", [&](const QString &key) {
        if (key == QLatin1StringView("version")) {
            if (!m_reader.isInteger())
                throw PacketError("unknown packet version");
            found.version = readInteger("version");
        } else if (key == QLatin1StringView("rows")) {
            if (!m_reader.isInteger())
                throw PacketError("row count out of range");
            found.rows = readInteger("rows");
        } else if (key == QLatin1StringView("fields")) {
            found.fields = skipArray("fields or columns");
        } else if (key == QLatin1StringView("columns")) {
            found.columns = skipArray("fields or columns");
        } else {
            skip();
        }
    });
    if (found.version != PacketFormat::version)
        throw PacketError("unknown packet version");
    if (!found.rows || *found.rows < 0 || *found.rows > DataPacket::maxRows)
        throw PacketError("row count out of range");
    if (found.fields.isNull() || found.columns.isNull())
        throw PacketError("fields or columns missing");
    const int rowCount = int(*found.rows);
    QList<FieldDef> fields = readFields(found.fields);
    PacketReader columnReader(found.columns);
    QCborStreamReader &columns = columnReader.m_reader;
    QList<PacketColumn> columnList;
    columnList.reserve(fields.size());
    if (!columns.enterContainer())
        columnReader.malformed();
    while (columns.hasNext()) {
        if (columnList.size() == fields.size())
            throw PacketError("field and column counts differ");
        columnList.append(columnReader.readColumn(fields.at(columnList.size()).kind, rowCount));
    }
    if (columnList.size() != fields.size())
        throw PacketError("field and column counts differ");
    return DataPacket::fromColumns(std::move(fields), std::move(columnList), rowCount);
}
} // namespace

DataPacket DataPacket::decode(QByteArrayView bytes) {
    if (bytes.size() > maxBytes)
        throw PacketError("packet too large");
    return PacketReader(bytes).packet();
}
