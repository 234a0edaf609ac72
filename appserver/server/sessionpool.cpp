#include "appserver/server/sessionpool.h"

#include "appserver/server/databasesession.h"

#include <algorithm>

SessionPool::SessionPool(int size, const ServerBackend &backend)
    : m_backend(backend) {
    for (int id = 1; id <= size; ++id) {
        auto worker = std::make_unique<Worker>();
        Worker *raw = worker.get();
        worker->thread = QThread::create([this, raw, id] { serve(*raw, id); });
        worker->thread->setObjectName(QStringLiteral("pagserver-session-%1").arg(id));
        m_workers.push_back(std::move(worker));
    }
    for (auto worker = m_workers.rbegin(); worker != m_workers.rend(); ++worker)
        m_free.push_back(worker->get());
    for (const auto &worker : m_workers)
        worker->thread->start();
}

SessionPool::~SessionPool() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_line.clear();
    }
    for (const auto &worker : m_workers)
        worker->wake.notify_one();
    for (const auto &worker : m_workers) {
        worker->thread->wait();
        delete worker->thread;
    }
}

SessionPool::Ticket SessionPool::borrow(Work work) {
    std::lock_guard lock(m_mutex);
    if (m_free.empty()) {
        m_line.emplace_back(++m_lastTicket, std::move(work));
        return m_lastTicket;
    }
    Worker *worker = m_free.back();
    m_free.pop_back();
    worker->work = std::move(work);
    worker->wake.notify_one();
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

// The session lives on this thread from its first use to the pool's end.
void SessionPool::serve(Worker &worker, int id) {
    DatabaseSession session(id, m_backend);
    std::unique_lock lock(m_mutex);
    for (;;) {
        worker.wake.wait(lock, [&] { return worker.work || m_stopping; });
        if (!worker.work)
            return;
        Work work = std::exchange(worker.work, {});
        lock.unlock();
        Reply reply = work(session);
        // What the work holds (a request, an answer) is freed outside the lock.
        work = {};
        lock.lock();
        if (m_line.empty()) {
            m_free.push_back(&worker);
        } else {
            worker.work = std::move(m_line.front().second);
            m_line.pop_front();
        }
        lock.unlock();
        reply();
        reply = {};
        lock.lock();
    }
}
