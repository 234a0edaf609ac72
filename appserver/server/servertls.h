#pragma once

#include <QSslConfiguration>

#include <functional>
#include <optional>

class QObject;
class QTcpSocket;

// Reads the server's certificate chain (PEM: its own certificate first, then any intermediate ones) and
// its private key (PEM, RSA or EC, not protected by a passphrase) into the configuration every TLS
// connection uses. Throws SettingsError, naming the file, when a file cannot be read, holds no
// certificate or key, or the key is not the certificate's: the server then refuses to start.
QSslConfiguration serverTlsConfiguration(const QString &certificateFile, const QString &keyFile);

// The socket of an accepted connection, owned by `parent`: plain without `tls`, otherwise one whose TLS
// handshake starts at once. Nothing arrives on a TLS socket before its handshake succeeds, so what a
// client sends in clear is never read; a failed handshake is logged and closes the socket. Null when
// the descriptor cannot be taken over.
QTcpSocket *acceptSocket(qintptr descriptor, const std::optional<QSslConfiguration> &tls, int connectionId,
                         QObject *parent);

// False for a TLS socket whose handshake has not succeeded: nothing written to it would ever go out.
bool canSend(const QTcpSocket &socket);

// Bytes written to the socket that the system has not taken yet: on a TLS socket, those still to be
// encrypted and those encrypted but not yet sent.
qint64 unsentBytes(const QTcpSocket &socket);

// Calls `sent` in `context` whenever the socket hands bytes to the system (for TLS, encrypted ones).
void whenBytesSent(QTcpSocket *socket, QObject *context, const std::function<void()> &sent);
