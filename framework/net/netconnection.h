#pragma once

#include "framework/net/clienttls.h"
#include "framework/net/neterror.h"
#include "framework/net/wire.h"

#include <QDate>
#include <QObject>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class DataPacket;
class QDeadlineTimer;
class QTcpSocket;

// The operator that a connection signs in as in its hello.
struct NetCredentials {
    QString operatorCode;
    QString password;
};

// One positional argument of a remote call: a value, or a text variable passed by reference whose
// content is replaced by what the server writes back. Booleans travel as -1 (true) and 0 (false),
// dates as double day counts (0 = no date), data packets as packets.
class NetArg {
public:
    NetArg(const QVariant &value);
    NetArg(const QString &text);
    NetArg(const char *text);
    NetArg(double value);
    NetArg(int value);
    NetArg(qint64 value);
    NetArg(bool flag);
    NetArg(const QDate &date);
    NetArg(const DataPacket &packet);
    NetArg(QString *reference);

    const QVariant &value() const { return m_value; }
    QString *reference() const { return m_reference; }

private:
    QVariant m_value;
    QString *m_reference = nullptr;
};

// The connection to one remote module of the application server. It keeps one TCP connection while
// connected; calls are synchronous and wait on the socket without running an event loop. Transport
// failures throw NetError and leave the connection disconnected; a later call connects again.
//
//   net.call("GetAjusPag", {filial, lancto, seq, parcela});
//   net.call("GetVrBoleto", {filial, lancto, seq, &parcela});   // parcela receives the write-back
class TNetConnection : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ServerName READ ServerName WRITE setServerName)
    Q_PROPERTY(bool ThrowException READ ThrowException WRITE setThrowException)
    Q_PROPERTY(bool Connected READ connected WRITE setConnected)

public:
    explicit TNetConnection(QObject *parent = nullptr);
    ~TNetConnection() override;

    QString ServerName() const { return m_serverName; }
    void setServerName(const QString &name) { m_serverName = name; }
    bool ThrowException() const { return m_throwException; }
    void setThrowException(bool on) { m_throwException = on; }

    QString host() const { return m_host; }
    void setHost(const QString &host) { m_host = host; }
    quint16 port() const { return m_port; }
    void setPort(quint16 port) { m_port = port; }

    // Time limits in milliseconds: opening the connection with its hello, and waiting for one answer.
    int connectTimeout() const { return m_connectTimeout; }
    void setConnectTimeout(int ms) { m_connectTimeout = ms; }
    int callTimeout() const { return m_callTimeout; }
    void setCallTimeout(int ms) { m_callTimeout = ms; }

    // The largest answer this connection accepts, in bytes; the hello tells the server, which refuses a
    // larger answer with a failure of its call. Takes effect at the next connect.
    qint64 maxFrameSize() const { return m_maxFrameSize; }
    void setMaxFrameSize(qint64 bytes) { m_maxFrameSize = bytes; }

    // Connecting emits BeforeConnect, opens the socket and signs in; throws NetError on failure.
    bool connected() const;
    void setConnected(bool on);

    // Calls a method of the module ServerName by name. Returns the method's value, or the server's
    // failure inside the result (see checkresult.h); with ThrowException the failure throws RemoteError.
    QVariant call(const QString &method, const QList<NetArg> &args = {});
    // Calls made on this connection so far.
    qint64 callCount() const { return m_nextCallId - 1; }

    // Who every connection of this process signs in as; the session sets it after the sign-in.
    static void setCredentialsProvider(std::function<NetCredentials()> provider);
    // Signs this connection in as `credentials` instead (the sign-in's own check of the server).
    void setCredentials(const NetCredentials &credentials) { m_credentials = credentials; }

    // Whether every connection of this process speaks TLS and whom it trusts (the host sets it from its
    // options); off by default. With TLS on, nothing is sent before the server's certificate is verified.
    static void setDefaultTls(const NetTls &tls);
    // This connection speaks as `tls` says instead.
    void setTls(const NetTls &tls) { m_tls = tls; }

signals:
    // Runs before each connect; handlers set the host and port.
    void BeforeConnect();

private:
    void open();
    void close();
    void reopenIfClosedByServer();
    Wire::Message exchange(const Wire::Message &request, int timeoutMs);
    QVariant takeAnswer(const Wire::Message &answer, qint64 id, const QList<NetArg> &args);
    QString transportFailure(const QDeadlineTimer &deadline) const;
    [[noreturn]] void dropOnFailure(const QString &message);

    QString m_serverName;
    std::optional<NetCredentials> m_credentials;
    std::optional<NetTls> m_tls;
    bool m_throwException = false;
    QString m_host = QStringLiteral("127.0.0.1");
    quint16 m_port = 0;
    int m_connectTimeout = 10000;
    int m_callTimeout = 300000;
    qint64 m_nextCallId = 1;
    qint64 m_maxFrameSize = Wire::defaultMaxFrameSize;
    std::unique_ptr<QTcpSocket> m_socket;
    Wire::FrameReader m_reader;
};
