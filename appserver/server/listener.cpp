#include "appserver/server/listener.h"

#include "appserver/server/connection.h"
#include "appserver/server/serverlog.h"

#include <QTcpSocket>
#include <QThread>

Listener::Listener(const ServerSettings &settings, const ServerBackend &backend, QObject *parent)
    : QTcpServer(parent)
    , m_settings(settings)
    , m_backend(backend)
    , m_sessions(settings.dbSessions, backend) {}

Listener::~Listener() {
    shutDown();
}

bool Listener::start() {
    return listen(m_settings.address, m_settings.port);
}

void Listener::incomingConnection(qintptr descriptor) {
    if (m_threads.size() >= m_settings.maxConnections) {
        refuse(descriptor);
        return;
    }
    auto *thread = new QThread;
    auto *connection = new ClientConnection(descriptor, m_nextId++, m_settings, m_sessions);
    connection->moveToThread(thread);
    connect(thread, &QThread::started, connection, &ClientConnection::start);
    connect(this, &Listener::stopping, connection, &ClientConnection::shutDown);
    connect(connection, &ClientConnection::finished, thread, &QThread::quit, Qt::DirectConnection);
    connect(thread, &QThread::finished, connection, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, thread] {
        if (m_threads.removeAll(thread) > 0)
            thread->deleteLater();
    });
    m_threads.append(thread);
    thread->start();
}

void Listener::refuse(qintptr descriptor) {
    QTcpSocket socket;
    socket.setSocketDescriptor(descriptor);
    QCborMap notice;
    notice.insert(QLatin1StringView("type"), QLatin1StringView("refused"));
    notice.insert(QLatin1StringView("message"), tr("O servidor de aplicação está no limite de conexões."));
    socket.write(Wire::encodeFrame(notice));
    socket.waitForBytesWritten(1000);
    socket.disconnectFromHost();
    qCWarning(lcServer).noquote()
        << QStringLiteral("connection refused: limit of %1 reached").arg(m_settings.maxConnections);
}

void Listener::shutDown() {
    close();
    emit stopping();
    const QList<QThread *> threads = std::exchange(m_threads, {});
    for (QThread *thread : threads) {
        thread->wait();
        delete thread;
    }
}
