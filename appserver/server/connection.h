#pragma once

#include "appserver/server/backend.h"
#include "appserver/server/dispatch.h"
#include "appserver/server/serversettings.h"
#include "framework/net/wire.h"

#include <QObject>

#include <memory>

class QTcpSocket;
class QTimer;

// One client connection, living on its own thread: reads frames, signs the client in, runs its calls
// in order and closes the connection on protocol errors, idleness or a stalled frame.
class ClientConnection : public QObject {
    Q_OBJECT

public:
    ClientConnection(qintptr descriptor, int id, const ServerSettings &settings,
                     const ServerBackend &backend);
    ~ClientConnection() override;

public slots:
    void start();
    void shutDown();

signals:
    void finished();

private:
    void readFrames();
    // A call's message is emptied once its arguments are decoded.
    void handle(QCborMap &message);
    void answerCall(QCborMap &call);
    void signIn(const QCborMap &hello);
    bool openDatabase();
    // Replaces a database session that no longer answers; false when no new one opens (the connection
    // is then closing).
    bool keepDatabaseSession();
    void closeDatabase();
    // Returns the bytes of the frame sent.
    qint64 send(const QCborMap &message);
    void closeWith(const char *type, const QString &message, const QString &reason);
    void finish();
    void restartIdleTimer();

    qintptr m_descriptor;
    int m_id;
    ServerSettings m_settings;
    ServerBackend m_backend;
    QString m_connectionName;
    QTcpSocket *m_socket = nullptr;
    Wire::FrameReader m_reader;
    QTimer *m_idleTimer = nullptr;
    QTimer *m_frameTimer = nullptr;
    CallContext m_context;
    std::unique_ptr<Dispatcher> m_dispatcher;
    bool m_closing = false;
    bool m_finished = false;
};
