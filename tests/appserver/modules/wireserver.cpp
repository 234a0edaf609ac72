#include "wireserver.h"
#include "appserver/db/database.h"
#include "appserver/modules/modules.h"
#include "framework/net/netconnection.h"

WireServer::WireServer(const QString &url) {
    registerModules(m_modules);
    ServerSettings settings;
    settings.port = 0;
    ServerBackend backend;
    backend.openDatabase = [url](const QString &name) { return openDatabase(url, name); };
    backend.checkOperator = checkOperator;
    backend.modules = &m_modules;
    m_listener = new Listener(settings, backend);
    m_listener->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_listener, [this] { m_port = m_listener->start() ? m_listener->serverPort() : 0; },
        Qt::BlockingQueuedConnection);
}

// Lets the connections that the test closed finish on their own before the listener stops: the
// test then ends the way a server sees clients leave, one at a time.
void WireServer::waitForClientsToLeave() {
    for (int round = 0; round < 500; ++round) {
        int active = 0;
        QMetaObject::invokeMethod(
            m_listener, [&] { active = m_listener->activeConnections(); }, Qt::BlockingQueuedConnection);
        if (active == 0)
            return;
        QThread::msleep(10);
    }
}

WireServer::~WireServer() {
    waitForClientsToLeave();
    QMetaObject::invokeMethod(
        m_listener,
        [this] {
            m_listener->shutDown();
            delete m_listener;
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

std::unique_ptr<TNetConnection> WireServer::connect(const QString &serverName, const QString &operatorCode,
                                                    const QString &password) const {
    TNetConnection::setCredentialsProvider([=] { return NetCredentials{operatorCode, password}; });
    auto net = std::make_unique<TNetConnection>();
    net->setServerName(serverName);
    net->setPort(m_port);
    net->setConnected(true);
    return net;
}
