#include "appserver/server/listener.h"

#include "appserver/server/connection.h"
#include "appserver/server/serverlog.h"

#include <QThread>

#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QHostAddress peerAddress(qintptr descriptor) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(int(descriptor), reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return {};
    return QHostAddress(reinterpret_cast<const sockaddr *>(&address));
}

int bytesWaiting(qintptr descriptor) {
    int bytes = 0;
    return ::ioctl(int(descriptor), FIONREAD, &bytes) == 0 ? bytes : 0;
}

} // namespace

Listener::Listener(const ServerSettings &settings, const ServerBackend &backend, QObject *parent)
    : QTcpServer(parent)
    , m_settings(settings)
    , m_backend(backend)
    , m_sessions(settings.dbSessions, backend)
    , m_admission({settings.maxPending, settings.maxPendingPerAddress, settings.maxConnections})
    , m_throttle({std::chrono::milliseconds(settings.signInDelayMs),
                  std::chrono::milliseconds(settings.signInMaxDelayMs),
                  std::chrono::seconds(settings.signInForgetSecs)}) {}

Listener::~Listener() {
    shutDown();
}

// A burst of connections waits in the system's queue until accepted: a short queue would turn away a
// client that connects during a flood of sockets, and it would try again only a second later.
bool Listener::start() {
    setListenBacklogSize(1024);
    return listen(m_settings.address, m_settings.port);
}

// The limit on signed-in connections is applied at the sign-in; before it, a connection waits in the
// lobby of Admission, or is closed at once, without a word, when its address holds its share of it.
void Listener::incomingConnection(qintptr descriptor) {
    const int id = m_nextId++;
    auto *connection = new ClientConnection(descriptor, id, m_settings, m_sessions, m_admission, m_throttle);
    const Admission::Arrival arrival =
        m_admission.arrive(id, peerAddress(descriptor), bytesWaiting(descriptor) > 0, [connection] {
            QMetaObject::invokeMethod(connection, &ClientConnection::shutDown, Qt::QueuedConnection);
        });
    if (!arrival.admitted) {
        delete connection;
        ::close(int(descriptor));
        return;
    }
    if (arrival.dropped)
        qCInfo(lcServer).noquote()
            << QStringLiteral("conn=%1 dropped: %2 connections not signed in yet, conn=%3 is newer")
                   .arg(*arrival.dropped)
                   .arg(m_settings.maxPending)
                   .arg(id);
    auto *thread = new QThread;
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

void Listener::shutDown() {
    close();
    emit stopping();
    const QList<QThread *> threads = std::exchange(m_threads, {});
    for (QThread *thread : threads) {
        thread->wait();
        delete thread;
    }
}
