#include "appserver/server/connection.h"

#include "appserver/server/databasesession.h"
#include "appserver/server/dispatch.h"
#include "appserver/server/replychannel.h"
#include "appserver/server/serverlog.h"
#include "appserver/server/servertls.h"
#include "framework/net/password.h"

#include <QScopedValueRollback>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

const QLatin1StringView typeKey("type");
const QLatin1StringView messageKey("message");

// What the socket takes from the system at a time; a larger frame is read in slices of this.
constexpr qint64 readSliceBytes = qint64(256) << 10;

// A call whose answer is this large has freed at least as much on its way.
constexpr qint64 releaseAfterBytes = qint64(1) << 20;

// Each thread allocates from a malloc arena of its own, which keeps what it freed for later use by
// that thread alone: a session that ran a large call would hold its peak while idle, and the next large
// call, on another session, would add a peak of its own. Hand it back instead.
void releaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

ClientConnection::ClientConnection(qintptr descriptor, int id, const ServerSettings &settings,
                                   SessionPool &sessions, Admission &admission, SignInThrottle &throttle)
    : m_descriptor(descriptor)
    , m_id(id)
    , m_settings(settings)
    , m_sessions(sessions)
    , m_admission(admission)
    , m_throttle(throttle)
    , m_reader(std::min(settings.maxFrameSize, Wire::helloMaxFrameSize), Wire::helloMaxItems) {}

ClientConnection::~ClientConnection() = default;

void ClientConnection::start() {
    m_replies = std::make_shared<ReplyChannel>(this);
    m_socket = acceptSocket(m_descriptor, m_settings.tls, m_id, this);
    if (!m_socket) {
        finish();
        return;
    }
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket->setReadBufferSize(readSliceBytes);
    qCInfo(lcServer).noquote()
        << QStringLiteral("conn=%1 opened from %2").arg(m_id).arg(m_socket->peerAddress().toString());
    m_idleTimer = new QTimer(this);
    m_frameTimer = new QTimer(this);
    m_waitTimer = new QTimer(this);
    m_idleTimer->setSingleShot(true);
    m_frameTimer->setSingleShot(true);
    m_waitTimer->setSingleShot(true);
    m_frameTimer->setInterval(m_settings.frameTimeoutSecs * 1000);
    m_waitTimer->setInterval(m_settings.dbWaitSecs * 1000);
    connect(m_idleTimer, &QTimer::timeout, this, [this] {
        if (m_signedIn)
            closeWith("closing", tr("Conexão encerrada por inatividade."), QStringLiteral("idle"));
        else
            closeWith("error", tr("A conexão não se identificou a tempo."), QStringLiteral("no hello"));
    });
    connect(m_frameTimer, &QTimer::timeout, this, [this] {
        closeWith("error", tr("Quadro incompleto: o cliente parou de enviar."),
                  QStringLiteral("stalled frame"));
    });
    connect(m_waitTimer, &QTimer::timeout, this, [this] {
        if (!m_sessions.withdraw(std::exchange(m_waiting, 0)))
            return;
        qCWarning(lcServer).noquote() << QStringLiteral("conn=%1 no database session free within %2 s")
                                             .arg(m_id)
                                             .arg(m_settings.dbWaitSecs);
        std::exchange(m_waitedTooLong, {})();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &ClientConnection::readFrames);
    whenBytesSent(m_socket, this, [this] { resumeOnceWritten(); });
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientConnection::finish);
    restartIdleTimer();
    readFrames();
}

void ClientConnection::restartIdleTimer() {
    m_idleTimer->start((m_signedIn ? m_settings.idleTimeoutSecs : m_settings.helloTimeoutSecs) * 1000);
}

// A call answered at once resumes reading from within this loop, which then goes on to the next frame.
void ClientConnection::readFrames() {
    if (m_reading)
        return;
    const QScopedValueRollback reading(m_reading, true);
    try {
        while (!m_closing && !m_busy) {
            if (std::optional<Wire::Message> frame = m_reader.next()) {
                handle(*frame);
                continue;
            }
            const QByteArray bytes = m_socket->read(readSliceBytes);
            if (bytes.isEmpty())
                break;
            m_reader.append(bytes);
        }
    } catch (const Wire::WireError &e) {
        closeWith("error", tr("Quadro inválido: %1.").arg(e.message()), QStringLiteral("bad frame"));
    }
    if (m_closing || m_busy || !m_reader.partial())
        m_frameTimer->stop();
    else if (!m_frameTimer->isActive())
        m_frameTimer->start();
}

void ClientConnection::handle(Wire::Message &message) {
    const QString type = message.value(typeKey).toString();
    if (type == QLatin1StringView("hello"))
        receiveHello(message);
    else if (type != QLatin1StringView("call"))
        closeWith("error", tr("Tipo de mensagem desconhecido."), QStringLiteral("unknown message"));
    else if (!m_signedIn)
        closeWith("error", tr("Chamada recusada: a conexão ainda não se identificou."),
                  QStringLiteral("call before hello"));
    else
        answerCall(message);
}

// An answer is matched to its call by the id alone: a call without an integer id could be answered for
// another, so it is a protocol violation and does not run.
void ClientConnection::answerCall(Wire::Message &call) {
    const QCborValue id = call.value(QLatin1StringView("id"));
    if (!id.isInteger()) {
        closeWith("error", tr("Pedido malformado: a chamada precisa de um id inteiro."),
                  QStringLiteral("call without id"));
        return;
    }
    borrowSession(
        [this, call = std::exchange(call, {}), operatorCode = m_operatorCode,
         connectionId = m_id](DatabaseSession &session) mutable -> std::function<void()> {
            return [this, answer = session.call(call, operatorCode, connectionId)]() mutable {
                answered(std::move(answer));
            };
        },
        [this, id = id.toInteger()] {
            answered(failureAnswer(id, tr("O servidor de aplicação está ocupado: nenhuma sessão de banco de "
                                          "dados ficou livre em %1 s. Tente novamente em instantes.")
                                           .arg(m_settings.dbWaitSecs)));
        });
}

// The connection reads nothing more while the hello waits its turn; the throttle bounds the wait, so
// the hello time-out no longer runs.
void ClientConnection::receiveHello(const Wire::Message &hello) {
    if (m_signedIn) {
        closeWith("error", tr("A conexão já se identificou."), QStringLiteral("second hello"));
        return;
    }
    m_admission.heard(m_id);
    const SignInThrottle::Duration wait = m_throttle.turn(m_socket->peerAddress());
    if (wait == SignInThrottle::Duration::zero()) {
        signIn(hello);
        return;
    }
    if (!m_throttle.withinPatience(wait)) {
        const auto seconds = std::chrono::ceil<std::chrono::seconds>(wait).count();
        closeWith("refused",
                  tr("Senha errada repetidas vezes a partir deste computador; tente de novo em %1 segundos.")
                      .arg(seconds),
                  QStringLiteral("sign-in throttled for %1 s").arg(seconds));
        return;
    }
    qCInfo(lcServer).noquote()
        << QStringLiteral("conn=%1 sign-in delayed %2 ms after wrong passwords").arg(m_id).arg(wait.count());
    m_busy = true;
    m_idleTimer->stop();
    QTimer::singleShot(wait, this, [this, hello] {
        if (!m_closing)
            signIn(hello);
    });
}

void ClientConnection::signIn(const Wire::Message &hello) {
    const QCborValue givenVersion = hello.value(QLatin1StringView("version"));
    if (!givenVersion.isInteger()) {
        closeWith("refused", tr("A saudação precisa de uma versão de protocolo inteira."),
                  QStringLiteral("protocol version"));
        return;
    }
    const qint64 version = givenVersion.toInteger();
    if (version != Wire::protocolVersion) {
        closeWith("refused",
                  tr("Versão de protocolo %1 não suportada; o servidor usa a versão %2.")
                      .arg(version)
                      .arg(Wire::protocolVersion),
                  QStringLiteral("protocol version"));
        return;
    }
    const std::optional<qint64> clientMaxFrameSize = Wire::announcedMaxFrameSize(hello);
    if (!clientMaxFrameSize) {
        closeWith("refused",
                  tr("A saudação precisa de um limite de quadro inteiro de pelo menos %1 bytes.")
                      .arg(Wire::minAnnouncedFrameSize),
                  QStringLiteral("frame limit"));
        return;
    }
    m_clientMaxFrameSize = *clientMaxFrameSize;
    const QString operatorCode = hello.value(QLatin1StringView("operator")).toString();
    const QString password = hello.value(QLatin1StringView("password")).toString();
    borrowSession(
        [this, operatorCode, password,
         connectionId = m_id](DatabaseSession &session) -> std::function<void()> {
            try {
                const QString stored = session.passwordHash(operatorCode);
                return
                    [this, operatorCode, password, stored] { checkPassword(operatorCode, password, stored); };
            } catch (const std::exception &e) {
                qCWarning(lcServer).noquote() << QStringLiteral("conn=%1 operator check failed: %2")
                                                     .arg(connectionId)
                                                     .arg(QString::fromUtf8(e.what()));
                return [this] {
                    closeWith("refused", tr("O banco de dados do servidor de aplicação não está disponível."),
                              QStringLiteral("database"));
                };
            }
        },
        [this] {
            closeWith("refused",
                      tr("O servidor de aplicação está ocupado: tente entrar novamente em instantes."),
                      QStringLiteral("no database session for the sign-in"));
        });
}

// The password is hashed here, on the connection's own thread: a sign-in holds a database session only
// to read the stored hash, and to replace a hash of an older cost.
void ClientConnection::checkPassword(const QString &operatorCode, const QString &password,
                                     const QString &stored) {
    if (m_closing)
        return;
    if (operatorCode.isEmpty() || !checkSignInPassword(password, stored)) {
        m_throttle.failed(m_socket->peerAddress());
        closeWith("refused", tr("Operador ou senha inválidos."), QStringLiteral("sign-in refused"));
        return;
    }
    m_throttle.succeeded(m_socket->peerAddress());
    if (!needsRehash(stored)) {
        signedIn(operatorCode);
        return;
    }
    const QString rehashed = hashPassword(password);
    const auto welcome = [this, operatorCode] { signedIn(operatorCode); };
    borrowSession(
        [operatorCode, rehashed, welcome,
         connectionId = m_id](DatabaseSession &session) -> std::function<void()> {
            try {
                session.replacePasswordHash(operatorCode, rehashed);
            } catch (const std::exception &e) {
                qCWarning(lcServer).noquote() << QStringLiteral("conn=%1 password hash not upgraded: %2")
                                                     .arg(connectionId)
                                                     .arg(QString::fromUtf8(e.what()));
            }
            return welcome;
        },
        welcome);
}

void ClientConnection::signedIn(const QString &operatorCode) {
    if (m_closing)
        return;
    if (!m_admission.signIn(m_id)) {
        closeWith("refused", tr("O servidor de aplicação está no limite de conexões."),
                  QStringLiteral("connection limit"));
        return;
    }
    m_signedIn = true;
    m_operatorCode = operatorCode;
    m_reader.setMaxFrameSize(m_settings.maxFrameSize);
    m_reader.setMaxItems(Wire::maxItemsPerFrame);
    Wire::Message welcome;
    welcome.insert(typeKey, QLatin1StringView("welcome"));
    welcome.insert(QLatin1StringView("version"), Wire::protocolVersion);
    qCInfo(lcServer).noquote() << QStringLiteral("conn=%1 signed in as %2").arg(m_id).arg(operatorCode);
    answered(welcome);
}

// A free session runs the work here, on the connection's own thread, with no hand-over between threads;
// otherwise the work waits in line and runs here once a session is handed to it. Until the answer is
// written out the connection reads nothing more: while the work runs here the event loop does not turn,
// and reading is paused whenever it would (see pauseReading).
void ClientConnection::borrowSession(SessionTask task, std::function<void()> waitedTooLong) {
    m_busy = true;
    m_idleTimer->stop();
    m_frameTimer->stop();
    if (SessionPool::Lease lease = m_sessions.tryBorrow()) {
        runOn(std::move(lease), task);
        return;
    }
    pauseReading();
    m_waiting =
        m_sessions.wait([this, replies = m_replies, task = std::move(task)](SessionPool::Lease lease) {
            // A reply the channel drops takes the lease with it, and so gives the session back; so does a
            // connection that closed meanwhile, whose work has no one to answer.
            auto held = std::make_shared<SessionPool::Lease>(std::move(lease));
            replies->post([this, held, task] {
                stopWaiting();
                if (!m_closing)
                    runOn(std::move(*held), task);
            });
        });
    if (m_waiting == 0)
        return;
    m_waitedTooLong = std::move(waitedTooLong);
    m_waitTimer->start();
}

// The session goes back to the pool before the answer is written: a client that calls again at once
// then finds it free.
void ClientConnection::runOn(SessionPool::Lease lease, const SessionTask &task) {
    const std::function<void()> reply = task(*lease);
    lease = {};
    reply();
}

void ClientConnection::stopWaiting() {
    m_waitTimer->stop();
    m_waiting = 0;
    m_waitedTooLong = {};
}

void ClientConnection::answered(Wire::Message answer) {
    if (m_closing)
        return;
    if (send(std::move(answer)) >= releaseAfterBytes)
        releaseFreedMemory();
    m_answerOut = true;
    // A client that does not read its answer is closed as an idle one would be.
    restartIdleTimer();
    resumeOnceWritten();
}

void ClientConnection::resumeOnceWritten() {
    if (!m_answerOut || m_closing)
        return;
    if (unsentBytes(*m_socket) > 0) {
        pauseReading();
        return;
    }
    m_answerOut = false;
    m_busy = false;
    resumeReading();
    readFrames();
}

// The socket stops reading from the system once its buffer holds as much as it may. A byte put in front
// of what it holds, with the limit set to that, stops it even when it holds nothing: so what the client
// sends meanwhile waits in the system's buffers, and the end of a client's sending half is not read
// either (the socket would close on it, and the answer could not be written).
void ClientConnection::pauseReading() {
    if (std::exchange(m_paused, true))
        return;
    m_socket->ungetChar('\0');
    m_socket->setReadBufferSize(m_socket->bytesAvailable());
}

void ClientConnection::resumeReading() {
    if (!std::exchange(m_paused, false))
        return;
    m_socket->skip(1);
    m_socket->setReadBufferSize(readSliceBytes);
}

// Handed to the system at once rather than on the next turn of the event loop: a client that half-closes
// its side after a call makes the socket close as soon as the end of its input is read, and what the
// system already holds is still delivered.
qint64 ClientConnection::send(Wire::Message message) {
    const qint64 bytes = m_socket->write(encodeForClient(std::move(message)));
    m_socket->flush();
    return bytes;
}

// An answer the client could not read, or that the length of a frame cannot announce, becomes a
// failure of its call: the client is told to ask for less and its connection goes on.
QByteArray ClientConnection::encodeForClient(Wire::Message message) const {
    const qint64 id = message.value(QLatin1StringView("id")).toInteger();
    try {
        return Wire::encodeFrame(std::move(message), m_clientMaxFrameSize);
    } catch (const Wire::FrameTooLarge &e) {
        qCWarning(lcServer).noquote()
            << QStringLiteral("conn=%1 answer of %2 bytes not sent: over the limit of %3 bytes")
                   .arg(m_id)
                   .arg(e.size())
                   .arg(e.limit());
        return Wire::encodeFrame(failureAnswer(
            id, tr("A resposta do servidor de aplicação (%1 bytes) excede o limite de %2 bytes desta "
                   "conexão; restrinja o filtro e tente de novo.")
                    .arg(e.size())
                    .arg(e.limit())));
    }
}

void ClientConnection::closeWith(const char *type, const QString &message, const QString &reason) {
    if (m_closing)
        return;
    m_closing = true;
    m_idleTimer->stop();
    m_frameTimer->stop();
    qCInfo(lcServer).noquote() << QStringLiteral("conn=%1 closing: %2").arg(m_id).arg(reason);
    if (!canSend(*m_socket)) {
        m_socket->abort();
        return;
    }
    Wire::Message notice;
    notice.insert(typeKey, QLatin1StringView(type));
    notice.insert(messageKey, message);
    send(notice);
    // Let the notice go out, but do not wait forever on a client that does not read.
    QTimer::singleShot(m_settings.frameTimeoutSecs * 1000, m_socket, &QTcpSocket::abort);
    m_socket->disconnectFromHost();
}

// A call waiting for a session leaves the line; one running finishes before this runs.
void ClientConnection::shutDown() {
    if (m_socket)
        m_socket->abort();
    finish();
}

void ClientConnection::finish() {
    if (m_finished)
        return;
    m_finished = true;
    m_closing = true;
    if (m_replies)
        m_replies->close();
    if (m_waiting)
        m_sessions.withdraw(std::exchange(m_waiting, 0));
    if (m_idleTimer) {
        m_idleTimer->stop();
        m_frameTimer->stop();
        m_waitTimer->stop();
    }
    m_admission.leave(m_id);
    qCInfo(lcServer).noquote() << QStringLiteral("conn=%1 closed").arg(m_id);
    emit finished();
}
