#include "wireserver.h"
#include "appserver/db/database.h"
#include "appserver/modules/modules.h"
#include "framework/net/netconnection.h"

namespace {

ServerBackend databaseBackend(const QString &url) {
    ServerBackend backend;
    backend.openDatabase = [url](const QString &name) { return openDatabase(url, name); };
    backend.passwordHash = operatorPasswordHash;
    backend.replacePasswordHash = replaceOperatorPasswordHash;
    return backend;
}

ModuleRegistry allModules() {
    ModuleRegistry modules;
    registerModules(modules);
    return modules;
}

} // namespace

WireServer::WireServer(const QString &url)
    : m_listener(ServerSettings(), databaseBackend(url), allModules()) {}

// Lets the connections that the test closed finish on their own before the listener stops: the
// test then ends the way a server sees clients leave, one at a time.
void WireServer::waitForClientsToLeave() {
    for (int round = 0; round < 500; ++round) {
        if (m_listener.activeConnections() == 0)
            return;
        QThread::msleep(10);
    }
}

WireServer::~WireServer() {
    waitForClientsToLeave();
}

std::unique_ptr<TNetConnection> WireServer::connect(const QString &serverName, const QString &operatorCode,
                                                    const QString &password) const {
    TNetConnection::setCredentialsProvider([=] { return NetCredentials{operatorCode, password}; });
    auto net = std::make_unique<TNetConnection>();
    net->setServerName(serverName);
    net->setPort(m_listener.port());
    net->setConnected(true);
    return net;
}
