// The checked decode of a message's CBOR (shape limits, repeated keys) and the conversion of its values
// to the server's argument values, as a call is read.
#include "framework/net/wire.h"
#include "fuzz/invariant.h"

#include <cstddef>
#include <cstdint>

namespace {

std::optional<QCborMap> decoded(QByteArrayView cbor) {
    try {
        return Wire::decodeMessage(cbor);
    } catch (const Wire::WireError &) {
        return std::nullopt;
    }
}

std::optional<QVariant> argument(const QCborValue &value) {
    try {
        return Wire::fromWire(value);
    } catch (const Wire::WireError &) {
        return std::nullopt;
    }
}

// A value read off the wire can be written back, and once written it reads back to itself.
void checkArgument(const QCborValue &value) {
    const std::optional<QVariant> read = argument(value);
    if (!read)
        return;
    QByteArray written;
    try {
        written = Wire::toWire(*read).toCbor();
    } catch (const Wire::WireError &) {
        require(false, "a value read off the wire cannot be written back");
    }
    const std::optional<QVariant> again = argument(QCborValue::fromCbor(written));
    require(again.has_value(), "a value written back is refused");
    require(Wire::toWire(*again).toCbor() == written, "a value written back reads differently");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArrayView cbor(data, qsizetype(size));
    const std::optional<QCborMap> message = decoded(cbor);
    if (!message)
        return 0;
    const QByteArray written = message->toCborValue().toCbor();
    const std::optional<QCborMap> again = decoded(written);
    require(again.has_value(), "an accepted message, written again, is refused");
    require(again->toCborValue().toCbor() == written,
            "an accepted message, written again, reads differently");
    for (auto it = message->begin(); it != message->end(); ++it)
        checkArgument(it.value());
    return 0;
}
