#include "framework/net/netconnection.h"

#include "framework/core/datapacket.h"
#include "framework/core/tdatetime.h"
#include "framework/net/checkresult.h"
#include "framework/net/wire.h"

#include <QCborArray>
#include <QDeadlineTimer>
#include <QTcpSocket>

namespace {

std::function<NetCredentials()> &credentialsProvider() {
    static std::function<NetCredentials()> provider;
    return provider;
}

NetTls &defaultTls() {
    static NetTls tls;
    return tls;
}

QString text(const Wire::Message &message, QLatin1StringView key) {
    return message.value(key).toString();
}

// What a socket error means to the user and what to check, without the system's own text.
QString explain(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QObject::tr("o servidor de aplicação não está no ar nesse endereço; verifique se ele foi "
                           "iniciado e se o servidor e a porta informados estão certos");
    case QAbstractSocket::HostNotFoundError:
        return QObject::tr("o nome do servidor não foi encontrado; verifique o endereço informado");
    case QAbstractSocket::RemoteHostClosedError:
        return QObject::tr("o servidor de aplicação fechou a conexão; ele pode ter sido parado");
    case QAbstractSocket::SocketTimeoutError:
        return QObject::tr("o servidor de aplicação não respondeu a tempo; verifique a rede e se ele está "
                           "no ar");
    case QAbstractSocket::NetworkError:
        return QObject::tr("a rede até o servidor de aplicação não está disponível");
    case QAbstractSocket::SocketAccessError:
    case QAbstractSocket::SocketResourceError:
        return QObject::tr("este computador não permitiu abrir a conexão");
    default:
        return QObject::tr("falha de comunicação com o servidor de aplicação");
    }
}

} // namespace

NetArg::NetArg(const QVariant &value)
    : m_value(value.typeId() == QMetaType::Bool    ? QVariant(value.toBool() ? -1 : 0)
              : value.typeId() == QMetaType::QDate ? QVariant(toDays(value.toDate()))
                                                   : value) {}
NetArg::NetArg(const QString &text)
    : m_value(text) {}
NetArg::NetArg(const char *text)
    : m_value(QString::fromUtf8(text)) {}
NetArg::NetArg(double value)
    : m_value(value) {}
NetArg::NetArg(int value)
    : m_value(value) {}
NetArg::NetArg(qint64 value)
    : m_value(value) {}
NetArg::NetArg(bool flag)
    : m_value(flag ? -1 : 0) {}
NetArg::NetArg(const QDate &date)
    : m_value(toDays(date)) {}
NetArg::NetArg(const DataPacket &packet)
    : m_value(QVariant::fromValue(packet)) {}
NetArg::NetArg(QString *reference)
    : m_value(reference ? *reference : QString())
    , m_reference(reference) {}

TNetConnection::TNetConnection(QObject *parent)
    : QObject(parent) {}

TNetConnection::~TNetConnection() = default;

void TNetConnection::setCredentialsProvider(std::function<NetCredentials()> provider) {
    credentialsProvider() = std::move(provider);
}

void TNetConnection::setDefaultTls(const NetTls &tls) {
    defaultTls() = tls;
}

bool TNetConnection::connected() const {
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void TNetConnection::setConnected(bool on) {
    if (on && !connected())
        open();
    else if (!on)
        close();
}

void TNetConnection::close() {
    if (!m_socket)
        return;
    m_socket->abort();
    m_socket.reset();
}

void TNetConnection::dropOnFailure(const QString &message) {
    close();
    throw NetError(message);
}

Wire::Message TNetConnection::exchange(const Wire::Message &request, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    try {
        m_socket->write(Wire::encodeFrame(request));
    } catch (const Wire::FrameTooLarge &e) {
        dropOnFailure(tr("A chamada é grande demais para o protocolo: %1.").arg(e.message()));
    }
    // A request the system takes whole at once needs no wait on the socket.
    m_socket->flush();
    while (m_socket->bytesToWrite() > 0) {
        if (!m_socket->waitForBytesWritten(int(deadline.remainingTime())))
            dropOnFailure(transportFailure(deadline));
    }
    for (;;) {
        m_reader.append(m_socket->readAll());
        std::optional<Wire::Message> frame;
        try {
            frame = m_reader.next();
        } catch (const Wire::WireError &e) {
            dropOnFailure(tr("Resposta inválida do servidor de aplicação: %1.").arg(e.message()));
        }
        if (frame)
            return *frame;
        if (!m_socket->waitForReadyRead(int(deadline.remainingTime())))
            dropOnFailure(transportFailure(deadline));
    }
}

QString TNetConnection::transportFailure(const QDeadlineTimer &deadline) const {
    if (deadline.hasExpired())
        return tr("O servidor de aplicação em %1:%2 não respondeu a tempo.").arg(m_host).arg(m_port);
    return tr("A conexão com o servidor de aplicação em %1:%2 foi interrompida: %3.")
        .arg(m_host)
        .arg(m_port)
        .arg(explain(m_socket->error()));
}

void TNetConnection::open() {
    close();
    emit BeforeConnect();
    m_socket = clientSocket(m_tls.value_or(defaultTls()));
    m_reader = Wire::FrameReader(m_maxFrameSize);
    m_socket->connectToHost(m_host, m_port);
    if (!m_socket->waitForConnected(m_connectTimeout)) {
        dropOnFailure(tr("Não foi possível conectar ao servidor de aplicação em %1:%2: %3.")
                          .arg(m_host)
                          .arg(m_port)
                          .arg(explain(m_socket->error())));
    }
    if (const QString refusal = secureConnection(*m_socket, m_host, m_port, m_connectTimeout);
        !refusal.isEmpty())
        dropOnFailure(refusal);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    const NetCredentials credentials = m_credentials           ? *m_credentials
                                       : credentialsProvider() ? credentialsProvider()()
                                                               : NetCredentials();
    Wire::Message hello;
    hello.insert(QLatin1StringView("type"), QLatin1StringView("hello"));
    hello.insert(QLatin1StringView("version"), Wire::protocolVersion);
    hello.insert(QLatin1StringView("operator"), credentials.operatorCode);
    hello.insert(QLatin1StringView("password"), credentials.password);
    hello.insert(QLatin1StringView(Wire::maxFrameSizeKey), m_maxFrameSize);
    const Wire::Message answer = exchange(hello, m_connectTimeout);
    const QString type = text(answer, QLatin1StringView("type"));
    if (type == QLatin1StringView("welcome"))
        return;
    const QString reason = text(answer, QLatin1StringView("message"));
    dropOnFailure(reason.isEmpty() ? tr("O servidor de aplicação recusou a conexão.") : reason);
}

void TNetConnection::reopenIfClosedByServer() {
    // The server closes idle connections: look at the socket without waiting and reconnect if it was
    // closed, so that a call after a long pause does not fail.
    if (connected() && m_socket->bytesAvailable() == 0)
        m_socket->waitForReadyRead(0);
    if (!connected() || m_socket->bytesAvailable() > 0)
        open();
}

QVariant TNetConnection::call(const QString &method, const QList<NetArg> &args) {
    reopenIfClosedByServer();
    Wire::Message request;
    QCborArray values;
    QCborArray references;
    for (int i = 0; i < args.size(); ++i) {
        values.append(request.toWire(args[i].value()));
        if (args[i].reference())
            references.append(i);
    }
    const qint64 id = m_nextCallId++;
    request.insert(QLatin1StringView("type"), QLatin1StringView("call"));
    request.insert(QLatin1StringView("id"), id);
    request.insert(QLatin1StringView("module"), m_serverName);
    request.insert(QLatin1StringView("method"), method);
    request.insert(QLatin1StringView("args"), values);
    request.insert(QLatin1StringView("byref"), references);
    Wire::Message answer = exchange(request, m_callTimeout);
    if (answer.value(QLatin1StringView("type")).toString() == QLatin1StringView("closing")) {
        // Closed for idleness before the request was read: the call did not run, so send it again.
        open();
        answer = exchange(request, m_callTimeout);
    }
    return takeAnswer(answer, id, args);
}

QVariant TNetConnection::takeAnswer(const Wire::Message &answer, qint64 id, const QList<NetArg> &args) {
    const QString type = text(answer, QLatin1StringView("type"));
    const QString message = text(answer, QLatin1StringView("message"));
    if (type == QLatin1StringView("error") || type == QLatin1StringView("closing"))
        dropOnFailure(tr("O servidor de aplicação encerrou a conexão: %1").arg(message));
    if (answer.value(QLatin1StringView("id")).toInteger(-1) != id)
        dropOnFailure(tr("Resposta inválida do servidor de aplicação: identificador de chamada trocado."));
    if (type == QLatin1StringView("failure")) {
        if (m_throwException)
            throw RemoteError(message);
        return QVariant::fromValue(ServerFailureResult{message});
    }
    if (type != QLatin1StringView("result"))
        dropOnFailure(tr("Resposta inválida do servidor de aplicação: tipo \"%1\".").arg(type));
    try {
        const QCborMap refs = answer.value(QLatin1StringView("refs")).toMap();
        for (auto it = refs.begin(); it != refs.end(); ++it) {
            const qint64 index = it.key().toInteger(-1);
            if (index >= 0 && index < args.size() && args[index].reference())
                *args[index].reference() = it.value().toString();
        }
        return answer.fromWire(answer.value(QLatin1StringView("value")));
    } catch (const Wire::WireError &e) {
        dropOnFailure(tr("Resposta inválida do servidor de aplicação: %1.").arg(e.message()));
    }
    return {};
}
