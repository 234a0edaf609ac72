#include "framework/core/fieldname.h"

namespace {
uint codeOf(char c) {
    return uchar(c);
}

uint codeOf(QChar c) {
    return c.unicode();
}

uint codeOf(QLatin1Char c) {
    return uchar(c.toLatin1());
}

uint foldAscii(uint code) {
    return code >= 'a' && code <= 'z' ? code - ('a' - 'A') : code;
}
} // namespace

bool asciiEqualIgnoringCase(const QString &fieldName, QAnyStringView name) {
    return name.visit([&fieldName](auto view) {
        if (view.size() != fieldName.size())
            return false;
        for (qsizetype i = 0; i < view.size(); ++i) {
            if (foldAscii(codeOf(view[i])) != foldAscii(fieldName.at(i).unicode()))
                return false;
        }
        return true;
    });
}

std::optional<quint64> asciiNameHash(QAnyStringView name) {
    return name.visit([](auto view) -> std::optional<quint64> {
        quint64 hash = 14695981039346656037ull;
        for (auto c : view) {
            const uint code = codeOf(c);
            if (code >= 0x80)
                return std::nullopt;
            hash = (hash ^ foldAscii(code)) * 1099511628211ull;
        }
        return hash;
    });
}
