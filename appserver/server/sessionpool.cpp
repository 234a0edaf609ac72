#include "appserver/server/sessionpool.h"

#include "appserver/server/databasesession.h"

#include <algorithm>

SessionPool::SessionPool(int size, const ServerBackend &backend) {
    for (int id = 1; id <= size; ++id)
        m_sessions.push_back(std::make_unique<DatabaseSession>(id, backend));
    for (auto session = m_sessions.rbegin(); session != m_sessions.rend(); ++session)
        m_free.push_back(session->get());
}

SessionPool::~SessionPool() {
    std::deque<std::pair<Ticket, HandOver>> dropped;
    std::unique_lock lock(m_mutex);
    dropped.swap(m_line);
    m_allBack.wait(lock, [this] { return m_free.size() == m_sessions.size(); });
}

SessionPool::Lease SessionPool::tryBorrow() {
    std::lock_guard lock(m_mutex);
    if (m_free.empty())
        return {};
    DatabaseSession *session = m_free.back();
    m_free.pop_back();
    return Lease(this, session);
}

SessionPool::Ticket SessionPool::wait(HandOver handOver) {
    Lease lease;
    {
        std::lock_guard lock(m_mutex);
        if (m_free.empty()) {
            m_line.emplace_back(++m_lastTicket, std::move(handOver));
            return m_lastTicket;
        }
        lease = Lease(this, m_free.back());
        m_free.pop_back();
    }
    handOver(std::move(lease));
    return 0;
}

bool SessionPool::withdraw(Ticket ticket) {
    std::lock_guard lock(m_mutex);
    const auto found = std::find_if(m_line.begin(), m_line.end(),
                                    [ticket](const auto &entry) { return entry.first == ticket; });
    if (found == m_line.end())
        return false;
    m_line.erase(found);
    return true;
}

// The first waiter in line gets the session; it runs outside the lock, since handing over may give a
// session back at once (a waiter that has gone).
void SessionPool::giveBack(DatabaseSession *session) {
    HandOver next;
    {
        std::lock_guard lock(m_mutex);
        if (m_line.empty()) {
            m_free.push_back(session);
            m_allBack.notify_all();
            return;
        }
        next = std::move(m_line.front().second);
        m_line.pop_front();
    }
    next(Lease(this, session));
}

SessionPool::Lease::Lease(Lease &&other) noexcept
    : m_pool(std::exchange(other.m_pool, nullptr))
    , m_session(std::exchange(other.m_session, nullptr)) {}

SessionPool::Lease &SessionPool::Lease::operator=(Lease &&other) noexcept {
    if (this != &other) {
        Lease ended(std::move(*this));
        m_pool = std::exchange(other.m_pool, nullptr);
        m_session = std::exchange(other.m_session, nullptr);
    }
    return *this;
}

SessionPool::Lease::~Lease() {
    if (m_session)
        m_pool->giveBack(m_session);
}
