#pragma once

#include <QMetaObject>
#include <QMutex>
#include <QObject>

#include <functional>

// Hands what another thread did (such as giving a waiting connection its session) to an object's own thread
// for as long as that object lives: the object closes the channel before it goes, and later replies are
// dropped.
class ReplyChannel {
public:
    explicit ReplyChannel(QObject *receiver)
        : m_receiver(receiver) {}

    // Runs `reply` on the receiver's thread, unless the channel is closed. Replies posted before the
    // channel closed may still run; the receiver ignores them once it is done.
    void post(std::function<void()> reply) {
        QMutexLocker lock(&m_mutex);
        if (m_receiver)
            QMetaObject::invokeMethod(m_receiver, std::move(reply), Qt::QueuedConnection);
    }
    void close() {
        QMutexLocker lock(&m_mutex);
        m_receiver = nullptr;
    }

private:
    QMutex m_mutex;
    QObject *m_receiver;
};
