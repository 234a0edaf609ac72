#pragma once

#include "tests/support/listenerthread.h"

#include <memory>

class TNetConnection;

// The real listener with the real modules on its own thread, serving the database at `url`; clients
// sign in with the operators of that database.
class WireServer {
public:
    explicit WireServer(const QString &url);
    ~WireServer();

    // A connection to the module, signed in as the operator.
    std::unique_ptr<TNetConnection> connect(const QString &serverName, const QString &operatorCode,
                                            const QString &password) const;

private:
    void waitForClientsToLeave();

    ListenerThread m_listener;
};
