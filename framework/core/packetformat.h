#pragma once

// What the writer and the reader of data packets share; the layout is described in docs/protocol.md
// ("Data packets").
#include "framework/core/datapacket.h"

namespace PacketFormat {

constexpr int version = 1;

inline constexpr const char *kindNames[] = {"text", "fixedText", "dateTime", "float", "integer", "boolean"};

inline bool isText(FieldKind kind) {
    return kind == FieldKind::Text || kind == FieldKind::FixedText;
}

} // namespace PacketFormat
