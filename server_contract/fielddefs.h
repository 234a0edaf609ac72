#pragma once

#include "framework/core/datapacket.h"

// Short builders for the field lists of the contract headers.
namespace contract {

inline FieldDef textField(const char *name, int size, const char *origin = "") {
    FieldDef def;
    def.name = QString::fromLatin1(name);
    def.kind = FieldKind::Text;
    def.size = size;
    def.origin = QString::fromLatin1(origin);
    return def;
}

inline FieldDef fixedField(const char *name, int size) {
    FieldDef def = textField(name, size);
    def.kind = FieldKind::FixedText;
    return def;
}

inline FieldDef dateField(const char *name, const char *origin = "") {
    FieldDef def;
    def.name = QString::fromLatin1(name);
    def.kind = FieldKind::DateTime;
    def.origin = QString::fromLatin1(origin);
    return def;
}

inline FieldDef floatField(const char *name, const char *origin = "") {
    FieldDef def;
    def.name = QString::fromLatin1(name);
    def.kind = FieldKind::Float;
    def.origin = QString::fromLatin1(origin);
    return def;
}

} // namespace contract
