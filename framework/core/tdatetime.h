#pragma once

#include "framework/core/pagcore_export.h"

#include <QDate>
#include <QDateTime>

// Dates are day counts from 30 December 1899 held in a double; the fraction is the time of day
// and 0 means "no date". Conversions are exact both ways to the millisecond. Day counts are wall-clock
// times without a zone: toDateTime gives them as UTC date-times, and toDays reads the date and time
// of any QDateTime as they stand.

PAGCORE_EXPORT double toDays(const QDate &date);
PAGCORE_EXPORT double toDays(const QDateTime &dateTime);
PAGCORE_EXPORT QDate toDate(double days);
PAGCORE_EXPORT QDateTime toDateTime(double days);
PAGCORE_EXPORT double today();
