#include "appserver/server/calllog.h"

#include "appserver/server/serverlog.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

class Writer {
public:
    Writer()
        : m_thread([this] { run(); }) {}

    ~Writer() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

    void add(bool warning, QString line) {
        {
            std::lock_guard lock(m_mutex);
            m_lines.emplace_back(warning, std::move(line));
        }
        m_wake.notify_one();
    }

    void flush() {
        std::unique_lock lock(m_mutex);
        m_written.wait(lock, [this] { return m_lines.empty() && !m_writing; });
    }

private:
    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return !m_lines.empty() || m_stopping; });
            if (m_lines.empty())
                return;
            std::deque<std::pair<bool, QString>> lines = std::exchange(m_lines, {});
            m_writing = true;
            lock.unlock();
            for (const auto &[warning, line] : lines) {
                if (warning)
                    qCWarning(lcServer).noquote() << line;
                else
                    qCInfo(lcServer).noquote() << line;
            }
            lock.lock();
            m_writing = false;
            m_written.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_written;
    std::deque<std::pair<bool, QString>> m_lines;
    bool m_writing = false;
    bool m_stopping = false;
    std::thread m_thread;
};

Writer &writer() {
    static Writer instance;
    return instance;
}

} // namespace

namespace CallLog {

void info(QString line) {
    if (lcServer().isInfoEnabled())
        writer().add(false, std::move(line));
}

void warning(QString line) {
    if (lcServer().isWarningEnabled())
        writer().add(true, std::move(line));
}

void flush() {
    writer().flush();
}

} // namespace CallLog
