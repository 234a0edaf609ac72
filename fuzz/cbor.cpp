// The checked decode of a message's CBOR (shape limits, repeated keys) and the conversion of its values
// to the server's argument values, as a call is read.
#include "framework/net/wire.h"
#include "fuzz/invariant.h"

#include <cstddef>
#include <cstdint>

namespace {

std::optional<Wire::Message> decoded(QByteArrayView cbor) {
    try {
        return Wire::decodeMessage(cbor);
    } catch (const Wire::WireError &) {
        return std::nullopt;
    }
}

QByteArray cborOf(const Wire::Message &message) {
    return Wire::encodeFrame(message).sliced(4);
}

std::optional<QVariant> argument(const Wire::Message &message, const QCborValue &value) {
    try {
        return message.fromWire(value);
    } catch (const Wire::WireError &) {
        return std::nullopt;
    }
}

// The CBOR of a message holding one value.
QByteArray written(const QVariant &value) {
    Wire::Message message;
    try {
        message.insertValue(QLatin1StringView("v"), value);
    } catch (const Wire::WireError &) {
        require(false, "a value read off the wire cannot be written back");
    }
    return cborOf(message);
}

// A value read off the wire can be written back, and once written it reads back to itself.
void checkArgument(const Wire::Message &message, const QCborValue &value) {
    const std::optional<QVariant> read = argument(message, value);
    if (!read)
        return;
    const QByteArray bytes = written(*read);
    const std::optional<Wire::Message> holder = decoded(bytes);
    require(holder.has_value(), "a value written back is refused");
    const std::optional<QVariant> again = argument(*holder, holder->value(QLatin1StringView("v")));
    require(again.has_value(), "a value written back is refused");
    require(written(*again) == bytes, "a value written back reads differently");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView cbor(data, qsizetype(size));
    const std::optional<Wire::Message> message = decoded(cbor);
    if (!message)
        return 0;
    const QByteArray bytes = cborOf(*message);
    const std::optional<Wire::Message> again = decoded(bytes);
    require(again.has_value(), "an accepted message, written again, is refused");
    require(cborOf(*again) == bytes, "an accepted message, written again, reads differently");
    const QCborMap &entries = message->entries();
    for (auto it = entries.begin(); it != entries.end(); ++it)
        checkArgument(*message, it.value());
    return 0;
}
