#pragma once

#include "appserver/server/listener.h"

#include <QThread>

// The server's real listener inside the test process, on its own thread and a free loopback port,
// offering the given modules; it shuts down with the object.
class ListenerThread {
public:
    ListenerThread(ServerSettings settings, ServerBackend backend, ModuleRegistry modules);
    ~ListenerThread();

    // The port it listens on; 0 when it could not listen.
    quint16 port() const { return m_port; }
    int activeConnections() const;

private:
    ModuleRegistry m_modules;
    QThread m_thread;
    Listener *m_listener = nullptr;
    quint16 m_port = 0;
};
