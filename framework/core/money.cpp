#include "framework/core/money.h"

#include <QByteArray>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {
constexpr double maxExact = 9.0e15;

qint64 powerOfTen(int exponent) {
    qint64 result = 1;
    while (exponent-- > 0)
        result *= 10;
    return result;
}
} // namespace

qint64 toScaled(double value, int decimals) {
    if (!std::isfinite(value))
        return 0;
    const qint64 scale = powerOfTen(decimals);
    if (std::abs(value) * double(scale) >= maxExact)
        return qRound64(value * double(scale));
    // Shortest round-trip form, e.g. "2.675e+00": the decimal the user typed, not its binary neighbour.
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, std::abs(value), std::chars_format::scientific);
    const char *exponentMark = std::find(buffer, end, 'e');
    QByteArray digits;
    for (const char *p = buffer; p != exponentMark; ++p) {
        if (*p != '.')
            digits.append(*p);
    }
    int exponent = 0;
    std::from_chars(exponentMark + 1 + (exponentMark[1] == '+'), end, exponent);
    const int integerDigits = exponent + 1 + decimals;
    qint64 scaled = 0;
    for (int i = 0; i < integerDigits; ++i)
        scaled = scaled * 10 + (i < digits.size() ? digits.at(i) - '0' : 0);
    if (integerDigits >= 0 && integerDigits < digits.size() && digits.at(integerDigits) >= '5')
        ++scaled;
    return value < 0 ? -scaled : scaled;
}

qint64 toCents(double value) {
    return toScaled(value, 2);
}

double fromCents(qint64 cents) {
    return double(cents) / 100.0;
}
