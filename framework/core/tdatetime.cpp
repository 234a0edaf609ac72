#include "framework/core/tdatetime.h"

#include <cmath>

namespace {
constexpr qint64 msecsPerDay = 86400000;
constexpr double maxDays = 3e6; // beyond the year 9999
const QDate epoch(1899, 12, 30);

// A negative day count keeps its time of day as a positive fraction: -1.25 is 29 Dec 1899 06:00.
double compose(qint64 wholeDays, qint64 msecs) {
    const double fraction = double(msecs) / msecsPerDay;
    return wholeDays >= 0 ? wholeDays + fraction : wholeDays - fraction;
}
} // namespace

double toDays(const QDate &date) {
    return date.isValid() ? double(epoch.daysTo(date)) : 0.0;
}

double toDays(const QDateTime &dateTime) {
    if (!dateTime.isValid())
        return 0.0;
    return compose(epoch.daysTo(dateTime.date()), dateTime.time().msecsSinceStartOfDay());
}

QDate toDate(double days) {
    return toDateTime(days).date();
}

QDateTime toDateTime(double days) {
    if (days == 0 || !std::isfinite(days) || std::abs(days) > maxDays)
        return {};
    qint64 whole = qint64(std::trunc(days));
    qint64 msecs = qRound64(std::abs(days - double(whole)) * msecsPerDay);
    if (msecs >= msecsPerDay) {
        whole += days >= 0 ? 1 : -1;
        msecs = 0;
    }
    // A wall-clock moment: held as UTC so that no gap of a local daylight-saving change (São Paulo
    // skipped midnight until 2019) can turn a stored date into an invalid one.
    return QDateTime(epoch.addDays(whole), QTime::fromMSecsSinceStartOfDay(int(msecs)), Qt::UTC);
}

double today() {
    return toDays(QDate::currentDate());
}
