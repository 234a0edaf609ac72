#pragma once

#include "framework/core/pagcore_export.h"

#include <QtGlobal>

// Whole cents of a money value, rounded half away from zero on the value's shortest decimal form,
// so 2.675 gives 268 although its binary double lies just below 2.675.
// The value times 10^decimals as a whole number, rounded the same way (decimals 0 to 9).
PAGCORE_EXPORT qint64 toScaled(double value, int decimals);
PAGCORE_EXPORT qint64 toCents(double value);
PAGCORE_EXPORT double fromCents(qint64 cents);
