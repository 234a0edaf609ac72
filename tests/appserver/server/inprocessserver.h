#pragma once

#include "appserver/server/listener.h"

#include <QThread>

#include <memory>

class TNetConnection;

// The server's listener on its own thread over in-memory SQLite databases, offering EchoModule.
// The one valid sign-in is operator "admin" with password "segredo".
class InProcessServer {
public:
    explicit InProcessServer(ServerSettings settings = {});
    ~InProcessServer();

    quint16 port() const { return m_port; }
    std::unique_ptr<TNetConnection> connection(const QString &password = QStringLiteral("segredo")) const;

private:
    ModuleRegistry m_modules;
    QThread m_thread;
    Listener *m_listener = nullptr;
    quint16 m_port = 0;
};
