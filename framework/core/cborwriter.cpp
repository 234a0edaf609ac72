#include "framework/core/cborwriter.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>

void CborWriter::integer(qint64 value) {
    if (value >= 0)
        head(0, quint64(value));
    else
        head(1, quint64(-1 - value));
}

void CborWriter::real(double value) {
    char bytes[9];
    bytes[0] = char(0xfb);
    qToBigEndian(std::bit_cast<quint64>(value), bytes + 1);
    put(bytes, sizeof bytes);
}

void CborWriter::bytes(QByteArrayView data) {
    head(2, quint64(data.size()));
    put(data.data(), data.size());
}

void CborWriter::utf8Text(QByteArrayView utf8) {
    head(3, quint64(utf8.size()));
    put(utf8.data(), utf8.size());
}

// Latin-1 beyond ASCII takes two bytes in UTF-8; the common all-ASCII key is written as it stands.
void CborWriter::text(QLatin1StringView latin1) {
    const QByteArrayView bytes(latin1.data(), latin1.size());
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; }))
        utf8Text(bytes);
    else
        utf8Text(QString(latin1).toUtf8());
}

void CborWriter::head(quint8 major, quint64 value) {
    char bytes[9];
    const char type = char(major << 5);
    if (value < 24) {
        bytes[0] = char(type | char(value));
        put(bytes, 1);
    } else if (value <= 0xff) {
        bytes[0] = char(type | 24);
        bytes[1] = char(value);
        put(bytes, 2);
    } else if (value <= 0xffff) {
        bytes[0] = char(type | 25);
        qToBigEndian(quint16(value), bytes + 1);
        put(bytes, 3);
    } else if (value <= 0xffffffffu) {
        bytes[0] = char(type | 26);
        qToBigEndian(quint32(value), bytes + 1);
        put(bytes, 5);
    } else {
        bytes[0] = char(type | 27);
        qToBigEndian(value, bytes + 1);
        put(bytes, 9);
    }
}

void CborWriter::put(const char *data, qsizetype size) {
    m_size += size;
    if (m_out)
        m_out->append(data, size);
}
