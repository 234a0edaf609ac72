#include "tests/support/listenerthread.h"

ListenerThread::ListenerThread(ServerSettings settings, ServerBackend backend, ModuleRegistry modules)
    : m_modules(std::move(modules)) {
    settings.port = 0;
    backend.modules = &m_modules;
    m_listener = new Listener(settings, backend);
    m_listener->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_listener, [this] { m_port = m_listener->start() ? m_listener->serverPort() : 0; },
        Qt::BlockingQueuedConnection);
}

ListenerThread::~ListenerThread() {
    QMetaObject::invokeMethod(
        m_listener, [this] { delete m_listener; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

int ListenerThread::activeConnections() const {
    int active = 0;
    QMetaObject::invokeMethod(
        m_listener, [&] { active = m_listener->activeConnections(); }, Qt::BlockingQueuedConnection);
    return active;
}
