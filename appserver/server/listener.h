#pragma once

#include "appserver/server/admission.h"
#include "appserver/server/backend.h"
#include "appserver/server/serversettings.h"
#include "appserver/server/sessionpool.h"
#include "appserver/server/signinthrottle.h"

#include <QTcpServer>

class QThread;

// Accepts clients and gives each connection its own thread; their calls share the database sessions of
// the pool. Connections that have not signed in yet are admitted apart from the signed-in ones (see
// Admission).
class Listener : public QTcpServer {
    Q_OBJECT

public:
    Listener(const ServerSettings &settings, const ServerBackend &backend, QObject *parent = nullptr);
    ~Listener() override;

    // Listens on the configured address and port; false with errorString() when it cannot.
    bool start();
    // Stops accepting, closes every connection and waits for their threads.
    void shutDown();
    int activeConnections() const { return int(m_threads.size()); }

signals:
    void stopping();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    ServerSettings m_settings;
    ServerBackend m_backend;
    SessionPool m_sessions;
    Admission m_admission;
    SignInThrottle m_throttle;
    int m_nextId = 1;
    QList<QThread *> m_threads;
};
