#include "appserver/server/calllog.h"

#include "appserver/server/serverlog.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// How long the first line of a batch waits for the lines that follow it.
constexpr std::chrono::milliseconds gatherTime(5);

// Names come from the client: keep a log line one line of readable text.
QString printable(const QString &name) {
    QString out = name.left(80);
    for (QChar &c : out) {
        if (!c.isPrint() || c.isSpace())
            c = QLatin1Char('?');
    }
    return out.isEmpty() ? QStringLiteral("-") : out;
}

QString format(const CallLog::Call &call) {
    QString line = QStringLiteral("call conn=%1 operator=%2 module=%3 method=%4 ms=%5 outcome=%6")
                       .arg(call.connectionId)
                       .arg(printable(call.operatorCode), printable(call.module), printable(call.method))
                       .arg(double(call.nanoseconds) / 1e6, 0, 'f', 2)
                       .arg(QLatin1StringView(call.outcome));
    if (!call.detail.isEmpty())
        line += QStringLiteral(" detail: ") + call.detail;
    return line;
}

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

    // Only the first line of a batch wakes the writer; the others join it while it gathers.
    void add(CallLog::Call call) {
        bool first = false;
        {
            std::lock_guard lock(m_mutex);
            first = m_calls.empty();
            m_calls.push_back(std::move(call));
        }
        if (first)
            m_wake.notify_one();
    }

    void flush() {
        std::unique_lock lock(m_mutex);
        ++m_flushing;
        m_wake.notify_one();
        m_written.wait(lock, [this] { return m_calls.empty() && !m_writing; });
        --m_flushing;
    }

private:
    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return !m_calls.empty() || m_stopping; });
            m_wake.wait_for(lock, gatherTime, [this] { return m_stopping || m_flushing > 0; });
            if (m_calls.empty())
                return;
            const std::deque<CallLog::Call> calls = std::exchange(m_calls, {});
            m_writing = true;
            lock.unlock();
            for (const CallLog::Call &call : calls) {
                if (call.detail.isEmpty())
                    qCInfo(lcServer).noquote() << format(call);
                else
                    qCWarning(lcServer).noquote() << format(call);
            }
            lock.lock();
            m_writing = false;
            m_written.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_written;
    std::deque<CallLog::Call> m_calls;
    int m_flushing = 0;
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

void add(Call call) {
    const bool wanted = call.detail.isEmpty() ? lcServer().isInfoEnabled() : lcServer().isWarningEnabled();
    if (wanted)
        writer().add(std::move(call));
}

void flush() {
    writer().flush();
}

} // namespace CallLog
