// Writes data packets as CBOR straight from their columns into one byte array sized beforehand, without
// a tree of CBOR values in between.
#include "framework/core/cborwriter.h"
#include "framework/core/datapacket.h"
#include "framework/core/packetformat.h"

#include <QtEndian>

using PacketFormat::isText;
using PacketFormat::kindNames;

namespace {
// A field definition writes its name, kind and size, then each property that differs from a plain
// field's, in this order.
void writeField(CborWriter &out, const FieldDef &def) {
    const FieldDef plain;
    const int optional = (def.required != plain.required) + (def.origin != plain.origin) +
                         (def.displayLabel != plain.displayLabel) + (def.visible != plain.visible) +
                         (def.displayFormat != plain.displayFormat) + (def.editMask != plain.editMask) +
                         (def.displayWidth != plain.displayWidth) + (def.calculated != plain.calculated) +
                         (def.providerFlags != plain.providerFlags) + (def.alignment.toInt() != 0);
    out.startMap(3 + optional);
    out.text(QLatin1StringView("name"));
    out.text(def.name);
    out.text(QLatin1StringView("kind"));
    out.text(QLatin1StringView(kindNames[int(def.kind)]));
    out.text(QLatin1StringView("size"));
    out.integer(def.size);
    const auto flag = [&out](const char *key, bool value, bool standard) {
        if (value != standard) {
            out.text(QLatin1StringView(key));
            out.boolean(value);
        }
    };
    const auto text = [&out](const char *key, const QString &value) {
        if (!value.isEmpty()) {
            out.text(QLatin1StringView(key));
            out.text(value);
        }
    };
    const auto number = [&out](const char *key, qint64 value) {
        if (value != 0) {
            out.text(QLatin1StringView(key));
            out.integer(value);
        }
    };
    flag("required", def.required, plain.required);
    text("origin", def.origin);
    text("label", def.displayLabel);
    flag("visible", def.visible, plain.visible);
    text("format", def.displayFormat);
    text("mask", def.editMask);
    number("width", def.displayWidth);
    flag("calculated", def.calculated, plain.calculated);
    flag("providerFlags", def.providerFlags, plain.providerFlags);
    number("alignment", def.alignment.toInt());
}

// The packets of one method carry the same field definitions answer after answer: each thread keeps
// the last definitions it wrote and their bytes, and writes those bytes again while they stay the same.
QByteArray fieldBytes(const QList<FieldDef> &fields) {
    thread_local QList<FieldDef> lastFields;
    thread_local QByteArray lastBytes;
    if (fields.isEmpty() || fields != lastFields) {
        CborWriter counter;
        counter.startArray(fields.size());
        for (const FieldDef &def : fields)
            writeField(counter, def);
        QByteArray bytes;
        bytes.reserve(counter.size());
        CborWriter out(bytes);
        out.startArray(fields.size());
        for (const FieldDef &def : fields)
            writeField(out, def);
        lastFields = fields;
        lastBytes = bytes;
    }
    return lastBytes;
}

// Numbers travel little-endian: on such a machine the list's own memory is written as it stands.
template <typename T> void writeNumbers(CborWriter &out, const QList<T> &values) {
    const qsizetype size = values.size() * qsizetype(sizeof(T));
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        out.bytes(QByteArrayView(reinterpret_cast<const char *>(values.constData()), size));
    } else {
        QByteArray bytes(size, Qt::Uninitialized);
        qToLittleEndian<T>(values.constData(), values.size(), bytes.data());
        out.bytes(bytes);
    }
}

void writeColumn(CborWriter &out, const PacketColumn &column, FieldKind kind) {
    const bool nulls = !column.nulls.isEmpty();
    out.startMap((nulls ? 1 : 0) + (isText(kind) ? 2 : 1));
    if (nulls) {
        out.text(QLatin1StringView("nulls"));
        out.bytes(column.nulls);
    }
    out.text(QLatin1StringView("data"));
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::FixedText:
        out.bytes(column.text);
        out.text(QLatin1StringView("ends"));
        writeNumbers(out, column.ends);
        break;
    case FieldKind::DateTime:
    case FieldKind::Float:
        writeNumbers(out, column.reals);
        break;
    case FieldKind::Integer:
        writeNumbers(out, column.integers);
        break;
    case FieldKind::Boolean:
        out.bytes(column.flags);
        break;
    }
}
} // namespace

namespace {

void writeHead(CborWriter &out, const DataPacket &packet) {
    out.startMap(4);
    out.text(QLatin1StringView("version"));
    out.integer(PacketFormat::version);
    out.text(QLatin1StringView("rows"));
    out.integer(packet.rowCount());
    out.text(QLatin1StringView("fields"));
    out.raw(fieldBytes(packet.fields()));
    out.text(QLatin1StringView("columns"));
    out.startArray(packet.fields().size());
}

} // namespace

void DataPacket::writeCbor(CborWriter &out) const {
    writeHead(out, *this);
    for (int col = 0; col < fields().size(); ++col)
        writeColumn(out, column(col), fields().at(col).kind);
}

void DataPacket::writeCborAndRelease(CborWriter &out) {
    if (heldElsewhere()) {
        writeCbor(out);
    } else {
        writeHead(out, *this);
        for (int col = 0; col < fields().size(); ++col) {
            writeColumn(out, column(col), fields().at(col).kind);
            releaseColumn(col);
        }
    }
    *this = DataPacket();
}

QByteArray DataPacket::encode() const {
    CborWriter counter;
    writeCbor(counter);
    QByteArray bytes;
    bytes.reserve(counter.size());
    CborWriter out(bytes);
    writeCbor(out);
    return bytes;
}
