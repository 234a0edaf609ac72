#pragma once

#include <QHash>
#include <QHostAddress>
#include <QMutex>

#include <chrono>

// Slows down the guessing of passwords. Each wrong password from an address makes the next sign-in
// from it wait longer before its password is checked, doubling from the first delay up to the longest;
// sign-ins from one address take their turns one after another, however many connections it opens.
// The right password, or a quiet spell as long as the memory, forgets the address. Shared by every
// connection thread; nothing here sleeps: a connection waits its turn on a timer of its own, and a turn
// further away than the patience is not waited for: that sign-in is refused with the time left.
class SignInThrottle {
public:
    using Clock = std::chrono::steady_clock;
    using Duration = std::chrono::milliseconds;

    struct Limits {
        Duration firstDelay{1000};
        Duration longestDelay{30000};
        Duration memory{15 * 60 * 1000};
        // Well within the time a client gives its hello to be answered.
        Duration patience{5000};
    };

    explicit SignInThrottle(const Limits &limits);

    // How long a sign-in from `address` waits before its password is checked. A wait within the
    // patience is taken as this sign-in's turn; a longer one is returned untaken.
    Duration turn(const QHostAddress &address, Clock::time_point now = Clock::now());
    bool withinPatience(Duration wait) const { return wait <= m_limits.patience; }
    void failed(const QHostAddress &address, Clock::time_point now = Clock::now());
    void succeeded(const QHostAddress &address);

private:
    struct Record {
        int failures = 0;
        Clock::time_point lastFailure;
        Clock::time_point nextCheck;
    };

    Duration delayAfter(int failures) const;
    void forgetQuietAddresses(Clock::time_point now);

    const Limits m_limits;
    QMutex m_mutex;
    QHash<QHostAddress, Record> m_records;
};
