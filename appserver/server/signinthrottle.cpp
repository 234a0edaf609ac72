#include "appserver/server/signinthrottle.h"

#include <algorithm>

namespace {

// Addresses remembered before the quiet ones are swept out; each costs a wrong password's hashing.
constexpr qsizetype sweepAbove = 1024;

} // namespace

SignInThrottle::SignInThrottle(const Limits &limits)
    : m_limits(limits) {}

SignInThrottle::Duration SignInThrottle::turn(const QHostAddress &address, Clock::time_point now) {
    const QMutexLocker lock(&m_mutex);
    const auto it = m_records.find(address);
    if (it == m_records.end())
        return Duration::zero();
    if (now - it->lastFailure > m_limits.memory) {
        m_records.erase(it);
        return Duration::zero();
    }
    const Clock::time_point start = std::max(now, it->nextCheck);
    const Duration wait = std::chrono::ceil<Duration>(start - now);
    if (withinPatience(wait))
        it->nextCheck = start + delayAfter(it->failures);
    return wait;
}

void SignInThrottle::failed(const QHostAddress &address, Clock::time_point now) {
    const QMutexLocker lock(&m_mutex);
    if (m_records.size() > sweepAbove)
        forgetQuietAddresses(now);
    Record &record = m_records[address];
    ++record.failures;
    record.lastFailure = now;
    record.nextCheck = std::max(record.nextCheck, now + delayAfter(record.failures));
}

void SignInThrottle::succeeded(const QHostAddress &address) {
    const QMutexLocker lock(&m_mutex);
    m_records.remove(address);
}

SignInThrottle::Duration SignInThrottle::delayAfter(int failures) const {
    if (failures <= 0)
        return Duration::zero();
    const int doublings = std::min(failures - 1, 30);
    return std::min<Duration>(m_limits.longestDelay, m_limits.firstDelay * (qint64(1) << doublings));
}

void SignInThrottle::forgetQuietAddresses(Clock::time_point now) {
    m_records.removeIf([&](const auto &entry) { return now - entry.value().lastFailure > m_limits.memory; });
}
