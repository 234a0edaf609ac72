#pragma once

#include "appserver/server/backend.h"

#include <QThread>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class DatabaseSession;

// The database sessions that the calls of every connection share, each on a thread of its own (a
// database connection is used only from the thread that opened it). A piece of work borrows the next
// free session for its whole run; when none is free it waits in line, first come first served. A free
// session that ran work recently is preferred, so sessions open only as the load asks for them.
class SessionPool {
public:
    // What runs once the session is back in the pool, such as handing the answer to its connection:
    // a client that calls again at once then finds the session it just used free.
    using Reply = std::function<void()>;
    using Work = std::function<Reply(DatabaseSession &)>;
    // A place in line; 0 when the work went to a session at once.
    using Ticket = quint64;

    SessionPool(int size, const ServerBackend &backend);
    // Waits for the work running on the sessions; work still in line is dropped.
    ~SessionPool();
    SessionPool(const SessionPool &) = delete;
    SessionPool &operator=(const SessionPool &) = delete;

    // Runs `work` on the next free session's thread. The work must not throw.
    Ticket borrow(Work work);
    // Takes work out of the line; false when a session has already taken it.
    bool withdraw(Ticket ticket);

private:
    struct Worker {
        QThread *thread = nullptr;
        std::condition_variable wake;
        Work work;
    };

    void serve(Worker &worker, int id);

    ServerBackend m_backend;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<Worker>> m_workers;
    // The free sessions, the one freed last at the back.
    std::vector<Worker *> m_free;
    std::deque<std::pair<Ticket, Work>> m_line;
    Ticket m_lastTicket = 0;
    bool m_stopping = false;
};
