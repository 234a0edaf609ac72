#pragma once

#include <QString>

#include <memory>

class QTcpSocket;

// Whether a client's connections to the application server speak TLS, and whom they trust.
struct NetTls {
    bool enabled = false;
    // PEM file of the certificate authorities trusted instead of the system's; empty: the system's.
    QString caFile;
};

// A socket for a new connection: plain, or TLS that verifies the server's certificate against the
// trusted authorities and the host name it is connected to. Throws NetError when the authorities file
// cannot be used.
std::unique_ptr<QTcpSocket> clientSocket(const NetTls &tls);

// Runs the handshake of a TLS socket just connected to `host`; a plain socket needs none. Empty when the
// connection may carry the hello, else why it may not, for the user: the caller drops the connection, so
// the password never goes out over an unverified or clear channel.
QString secureConnection(QTcpSocket &socket, const QString &host, quint16 port, int timeoutMs);
