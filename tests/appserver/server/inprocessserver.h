#pragma once

#include "tests/support/listenerthread.h"

#include <memory>

class TNetConnection;

// The server's listener on its own thread over in-memory SQLite databases, offering EchoModule.
// The one valid sign-in is operator "admin" with password "segredo".
class InProcessServer {
public:
    explicit InProcessServer(ServerSettings settings = {});

    quint16 port() const { return m_listener.port(); }
    std::unique_ptr<TNetConnection> connection(const QString &password = QStringLiteral("segredo")) const;

private:
    ListenerThread m_listener;
};
