#pragma once

#include "framework/core/pagcore_export.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Writes CBOR items, each head in its shortest form and every string of definite length (as Qt's
// own CBOR writer does), straight onto the end of a byte array; or, without a byte array, only
// counts their bytes, so that a message can be sized first and then written into one allocation.
class PAGCORE_EXPORT CborWriter {
public:
    // Counts the bytes only.
    CborWriter() = default;
    // Appends to `out`, which should have room reserved for all of it.
    explicit CborWriter(QByteArray &out)
        : m_out(&out) {}

    qint64 size() const { return m_size; }

    void startArray(quint64 items) { head(4, items); }
    void startMap(quint64 entries) { head(5, entries); }
    void tag(quint64 number) { head(6, number); }
    void integer(qint64 value);
    void real(double value);
    void boolean(bool value) { simple(value ? 0xf5 : 0xf4); }
    void null() { simple(0xf6); }
    void undefined() { simple(0xf7); }
    void bytes(QByteArrayView data);
    void utf8Text(QByteArrayView utf8);
    void text(const QString &value) { utf8Text(value.toUtf8()); }
    void text(QLatin1StringView latin1);
    // Bytes that are already CBOR, written as they stand.
    void raw(QByteArrayView cbor) { put(cbor.data(), cbor.size()); }

private:
    void head(quint8 major, quint64 value);
    void simple(quint8 byte) { put(reinterpret_cast<const char *>(&byte), 1); }
    void put(const char *data, qsizetype size);

    QByteArray *m_out = nullptr;
    qint64 m_size = 0;
};
