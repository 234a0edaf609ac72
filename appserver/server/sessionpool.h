#pragma once

#include "appserver/server/backend.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class DatabaseSession;

// The database sessions that the calls of every connection share. A piece of work borrows a free
// session for its whole run and uses it on its own thread, one thread at a time (the lease's hand-over
// through the pool's lock orders what each thread did with it); when none is free it waits in line,
// first come first served. A free session that ran work recently is preferred, so sessions open only as
// the load asks for them.
class SessionPool {
public:
    class Lease;
    // Receives the session a waiter was in line for, on the thread that gave it back.
    using HandOver = std::function<void(Lease)>;
    // A place in line; 0 when the session was handed over at once.
    using Ticket = quint64;

    SessionPool(int size, const ServerBackend &backend);
    // Waits until every lent session is back, then closes them; work still in line is dropped.
    ~SessionPool();
    SessionPool(const SessionPool &) = delete;
    SessionPool &operator=(const SessionPool &) = delete;

    // A free session, or an empty lease when every session is lent.
    Lease tryBorrow();
    // Hands the next free session to `handOver`: at once when one is free, otherwise when one comes back.
    Ticket wait(HandOver handOver);
    // Takes a waiter out of the line; false when a session has already been handed to it.
    bool withdraw(Ticket ticket);

private:
    void giveBack(DatabaseSession *session);

    std::vector<std::unique_ptr<DatabaseSession>> m_sessions;
    std::mutex m_mutex;
    std::condition_variable m_allBack;
    // The free sessions, the one freed last at the back.
    std::vector<DatabaseSession *> m_free;
    std::deque<std::pair<Ticket, HandOver>> m_line;
    Ticket m_lastTicket = 0;
};

// A session lent to one piece of work; it goes back to the pool when the lease ends.
class SessionPool::Lease {
public:
    Lease() = default;
    Lease(Lease &&other) noexcept;
    Lease &operator=(Lease &&other) noexcept;
    ~Lease();

    explicit operator bool() const { return m_session != nullptr; }
    DatabaseSession &operator*() const { return *m_session; }

private:
    friend class SessionPool;
    Lease(SessionPool *pool, DatabaseSession *session)
        : m_pool(pool)
        , m_session(session) {}

    SessionPool *m_pool = nullptr;
    DatabaseSession *m_session = nullptr;
};
