#pragma once

#include "appserver/server/admission.h"
#include "appserver/server/serversettings.h"
#include "appserver/server/sessionpool.h"
#include "appserver/server/signinthrottle.h"
#include "framework/net/wire.h"

#include <QObject>

#include <memory>

class QTcpSocket;
class QTimer;
class ReplyChannel;

// One client connection, living on its own thread: reads frames, signs the client in, runs its calls
// one at a time on a database session borrowed from the pool, and closes the connection on protocol errors,
// idleness or a stalled frame. The next frame is read only once the answer to the previous one has
// been written out, so a client that sends without reading fills its own buffers, not the server.
class ClientConnection : public QObject {
    Q_OBJECT

public:
    ClientConnection(qintptr descriptor, int id, const ServerSettings &settings, SessionPool &sessions,
                     Admission &admission, SignInThrottle &throttle);
    ~ClientConnection() override;

public slots:
    void start();
    void shutDown();

signals:
    void finished();

private:
    void readFrames();
    // A call's message is emptied once it is handed to a session.
    void handle(Wire::Message &message);
    void answerCall(Wire::Message &call);
    // Waits the turn the throttle gives the client's address, then signs it in.
    void receiveHello(const Wire::Message &hello);
    void signIn(const Wire::Message &hello);
    void checkPassword(const QString &operatorCode, const QString &password, const QString &stored);
    void signedIn(const QString &operatorCode);
    // Work on a database session, returning what then runs on the connection's thread.
    using SessionTask = std::function<std::function<void()>(DatabaseSession &)>;
    // Runs `task` on a database session; `waitedTooLong` runs instead when no session frees in time.
    void borrowSession(SessionTask task, std::function<void()> waitedTooLong);
    void runOn(SessionPool::Lease lease, const SessionTask &task);
    // A session took the work, or it waited too long: the wait ends.
    void stopWaiting();
    // Takes the answer over: its packets are freed as its frame is written.
    void answered(Wire::Message answer);
    void resumeOnceWritten();
    void pauseReading();
    void resumeReading();
    // Returns the bytes of the frame sent.
    qint64 send(Wire::Message message);
    QByteArray encodeForClient(Wire::Message message) const;
    void closeWith(const char *type, const QString &message, const QString &reason);
    void finish();
    void restartIdleTimer();

    qintptr m_descriptor;
    int m_id;
    ServerSettings m_settings;
    SessionPool &m_sessions;
    Admission &m_admission;
    SignInThrottle &m_throttle;
    std::shared_ptr<ReplyChannel> m_replies;
    QTcpSocket *m_socket = nullptr;
    Wire::FrameReader m_reader;
    QTimer *m_idleTimer = nullptr;
    QTimer *m_frameTimer = nullptr;
    QTimer *m_waitTimer = nullptr;
    QString m_operatorCode;
    SessionPool::Ticket m_waiting = 0;
    std::function<void()> m_waitedTooLong;
    bool m_signedIn = false;
    // The largest frame the client accepts, as its hello said.
    qint64 m_clientMaxFrameSize = Wire::defaultMaxFrameSize;
    // From handing a frame to a session until its answer is written out.
    bool m_busy = false;
    bool m_answerOut = false;
    bool m_paused = false;
    bool m_reading = false;
    bool m_closing = false;
    bool m_finished = false;
};
