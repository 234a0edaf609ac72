#include "appserver/server/admission.h"

#include <algorithm>

Admission::Admission(const Limits &limits)
    : m_limits(limits) {}

Admission::Arrival Admission::arrive(int id, const QHostAddress &address, bool heard,
                                     std::function<void()> drop) {
    const QMutexLocker lock(&m_mutex);
    Arrival arrival{true, std::nullopt};
    if (m_waiting.size() >= std::max(1, m_limits.maxWaiting)) {
        const auto silentFromAddress =
            std::count_if(m_waiting.cbegin(), m_waiting.cend(),
                          [&](const Waiting &entry) { return !entry.heard && entry.address == address; });
        if (!heard && silentFromAddress >= m_limits.maxWaitingPerAddress)
            return {false, std::nullopt};
        const Waiting oldest = m_waiting.takeAt(oldestToDrop());
        oldest.drop();
        arrival.dropped = oldest.id;
    }
    m_waiting.append({id, address, heard, std::move(drop)});
    return arrival;
}

void Admission::heard(int id) {
    const QMutexLocker lock(&m_mutex);
    if (const qsizetype at = findWaiting(id); at >= 0)
        m_waiting[at].heard = true;
}

bool Admission::signIn(int id) {
    const QMutexLocker lock(&m_mutex);
    const qsizetype at = findWaiting(id);
    if (at < 0 || m_signedIn.size() >= m_limits.maxSignedIn)
        return false;
    m_waiting.removeAt(at);
    m_signedIn.insert(id);
    return true;
}

void Admission::leave(int id) {
    const QMutexLocker lock(&m_mutex);
    if (const qsizetype at = findWaiting(id); at >= 0)
        m_waiting.removeAt(at);
    m_signedIn.remove(id);
}

int Admission::waiting() const {
    const QMutexLocker lock(&m_mutex);
    return int(m_waiting.size());
}

int Admission::signedIn() const {
    const QMutexLocker lock(&m_mutex);
    return int(m_signedIn.size());
}

qsizetype Admission::findWaiting(int id) const {
    const auto it = std::find_if(m_waiting.cbegin(), m_waiting.cend(),
                                 [id](const Waiting &entry) { return entry.id == id; });
    return it == m_waiting.cend() ? -1 : it - m_waiting.cbegin();
}

qsizetype Admission::oldestToDrop() const {
    const auto silent =
        std::find_if(m_waiting.cbegin(), m_waiting.cend(), [](const Waiting &entry) { return !entry.heard; });
    return silent == m_waiting.cend() ? 0 : silent - m_waiting.cbegin();
}
