#include "appserver/server/connection.h"

#include "appserver/server/serverlog.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

const QLatin1StringView typeKey("type");
const QLatin1StringView messageKey("message");

// A call whose answer is this large has freed at least as much on its way.
constexpr qint64 releaseAfterBytes = qint64(1) << 20;

// Each connection thread allocates from a malloc arena of its own, which keeps what it freed for
// later use by that thread alone: a connection that ran a large call would hold its peak while idle,
// and the next large call, on another connection, would add a peak of its own. Hand it back instead.
void releaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

ClientConnection::ClientConnection(qintptr descriptor, int id, const ServerSettings &settings,
                                   const ServerBackend &backend)
    : m_descriptor(descriptor)
    , m_id(id)
    , m_settings(settings)
    , m_backend(backend)
    , m_connectionName(QStringLiteral("pagserver-connection-%1").arg(id))
    , m_reader(std::min(settings.maxFrameSize, Wire::helloMaxFrameSize)) {}

ClientConnection::~ClientConnection() = default;

void ClientConnection::start() {
    m_socket = new QTcpSocket(this);
    if (!m_socket->setSocketDescriptor(m_descriptor)) {
        finish();
        return;
    }
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    qCInfo(lcServer).noquote()
        << QStringLiteral("conn=%1 opened from %2").arg(m_id).arg(m_socket->peerAddress().toString());
    m_idleTimer = new QTimer(this);
    m_frameTimer = new QTimer(this);
    m_idleTimer->setSingleShot(true);
    m_frameTimer->setSingleShot(true);
    m_frameTimer->setInterval(m_settings.frameTimeoutSecs * 1000);
    connect(m_idleTimer, &QTimer::timeout, this, [this] {
        if (m_dispatcher)
            closeWith("closing", tr("Conexão encerrada por inatividade."), QStringLiteral("idle"));
        else
            closeWith("error", tr("A conexão não se identificou a tempo."), QStringLiteral("no hello"));
    });
    connect(m_frameTimer, &QTimer::timeout, this, [this] {
        closeWith("error", tr("Quadro incompleto: o cliente parou de enviar."),
                  QStringLiteral("stalled frame"));
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &ClientConnection::readFrames);
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientConnection::finish);
    restartIdleTimer();
    readFrames();
}

void ClientConnection::restartIdleTimer() {
    m_idleTimer->start((m_dispatcher ? m_settings.idleTimeoutSecs : m_settings.frameTimeoutSecs) * 1000);
}

void ClientConnection::readFrames() {
    while (!m_closing && m_socket->bytesAvailable() > 0) {
        m_reader.append(m_socket->readAll());
        try {
            while (!m_closing) {
                std::optional<QCborMap> frame = m_reader.next();
                if (!frame)
                    break;
                handle(*frame);
                if (!m_closing)
                    restartIdleTimer();
            }
        } catch (const Wire::WireError &e) {
            closeWith("error", tr("Quadro inválido: %1.").arg(e.message()), QStringLiteral("bad frame"));
        }
    }
    if (m_closing || !m_reader.partial())
        m_frameTimer->stop();
    else if (!m_frameTimer->isActive())
        m_frameTimer->start();
}

void ClientConnection::handle(QCborMap &message) {
    const QString type = message.value(typeKey).toString();
    if (type == QLatin1StringView("hello"))
        signIn(message);
    else if (type != QLatin1StringView("call"))
        closeWith("error", tr("Tipo de mensagem desconhecido."), QStringLiteral("unknown message"));
    else if (!m_dispatcher)
        closeWith("error", tr("Chamada recusada: a conexão ainda não se identificou."),
                  QStringLiteral("call before hello"));
    else
        answerCall(message);
}

// An answer is matched to its call by the id alone: a call without an integer id could be answered for
// another, so it is a protocol violation and does not run.
void ClientConnection::answerCall(QCborMap &call) {
    if (!call.value(QLatin1StringView("id")).isInteger()) {
        closeWith("error", tr("Pedido malformado: a chamada precisa de um id inteiro."),
                  QStringLiteral("call without id"));
        return;
    }
    if (!keepDatabaseSession())
        return;
    if (send(m_dispatcher->handleCall(call)) >= releaseAfterBytes)
        releaseFreedMemory();
}

void ClientConnection::signIn(const QCborMap &hello) {
    if (m_dispatcher) {
        closeWith("error", tr("A conexão já se identificou."), QStringLiteral("second hello"));
        return;
    }
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
    const QString operatorCode = hello.value(QLatin1StringView("operator")).toString();
    const QString password = hello.value(QLatin1StringView("password")).toString();
    if (!openDatabase())
        return;
    bool accepted = false;
    try {
        accepted = !operatorCode.isEmpty() && m_backend.checkOperator(m_context.db, operatorCode, password);
    } catch (const std::exception &e) {
        qCWarning(lcServer).noquote()
            << QStringLiteral("conn=%1 operator check failed: %2").arg(m_id).arg(QString::fromUtf8(e.what()));
    }
    if (!accepted) {
        closeWith("refused", tr("Operador ou senha inválidos."), QStringLiteral("sign-in refused"));
        return;
    }
    m_context.operatorCode = operatorCode;
    m_dispatcher = std::make_unique<Dispatcher>(*m_backend.modules, m_context, m_id);
    m_reader.setMaxFrameSize(m_settings.maxFrameSize);
    QCborMap welcome;
    welcome.insert(typeKey, QLatin1StringView("welcome"));
    welcome.insert(QLatin1StringView("version"), Wire::protocolVersion);
    send(welcome);
    qCInfo(lcServer).noquote() << QStringLiteral("conn=%1 signed in as %2").arg(m_id).arg(operatorCode);
}

bool ClientConnection::openDatabase() {
    try {
        m_context.db = m_backend.openDatabase(m_connectionName);
        return true;
    } catch (const std::exception &e) {
        qCWarning(lcServer).noquote()
            << QStringLiteral("conn=%1 database unavailable: %2").arg(m_id).arg(QString::fromUtf8(e.what()));
        closeWith("refused", tr("O banco de dados do servidor de aplicação não está disponível."),
                  QStringLiteral("database"));
        return false;
    }
}

// A session the database ended (a restart, an administrator, a cut network) fails every later statement:
// it is replaced before the call runs, so the client goes on at its next call. The probe costs one
// round trip to the database per call.
bool ClientConnection::keepDatabaseSession() {
    QSqlQuery probe(m_context.db);
    if (probe.exec(QStringLiteral("SELECT 1")))
        return true;
    qCWarning(lcServer).noquote() << QStringLiteral("conn=%1 database session lost (%2): reconnecting")
                                         .arg(m_id)
                                         .arg(probe.lastError().text());
    // The module instances hold queries of the dead session: they go with it.
    probe = QSqlQuery();
    m_dispatcher.reset();
    closeDatabase();
    if (!openDatabase())
        return false;
    m_dispatcher = std::make_unique<Dispatcher>(*m_backend.modules, m_context, m_id);
    return true;
}

void ClientConnection::closeDatabase() {
    if (!m_context.db.isValid())
        return;
    m_context.db.close();
    m_context.db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

// Handed to the system at once rather than on the next turn of the event loop: a client that half-closes
// its side after a call makes the socket close as soon as the end of its input is read, and what the
// system already holds is still delivered.
qint64 ClientConnection::send(const QCborMap &message) {
    const qint64 bytes = m_socket->write(Wire::encodeFrame(message));
    m_socket->flush();
    return bytes;
}

void ClientConnection::closeWith(const char *type, const QString &message, const QString &reason) {
    if (m_closing)
        return;
    m_closing = true;
    m_idleTimer->stop();
    m_frameTimer->stop();
    QCborMap notice;
    notice.insert(typeKey, QLatin1StringView(type));
    notice.insert(messageKey, message);
    send(notice);
    qCInfo(lcServer).noquote() << QStringLiteral("conn=%1 closing: %2").arg(m_id).arg(reason);
    // Let the notice go out, but do not wait forever on a client that does not read.
    QTimer::singleShot(m_settings.frameTimeoutSecs * 1000, m_socket, &QTcpSocket::abort);
    m_socket->disconnectFromHost();
}

void ClientConnection::shutDown() {
    if (m_socket)
        m_socket->abort();
    finish();
}

void ClientConnection::finish() {
    if (m_finished)
        return;
    m_finished = true;
    if (m_idleTimer) {
        m_idleTimer->stop();
        m_frameTimer->stop();
    }
    m_dispatcher.reset();
    closeDatabase();
    qCInfo(lcServer).noquote() << QStringLiteral("conn=%1 closed").arg(m_id);
    emit finished();
}
