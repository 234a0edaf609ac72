#pragma once

#include "framework/net/wire.h"

#include <QHostAddress>
#include <QTcpSocket>

// A client that speaks raw bytes, to send what TNetConnection never would. With a source address it
// connects from there (any 127.x.y.z reaches the server on loopback), as another machine would.
class RawClient {
public:
    explicit RawClient(quint16 port, const QHostAddress &source = {});

    void send(const QByteArray &bytes);
    void send(const QCborMap &message) { send(Wire::encodeFrame(message)); }
    void hello(const QString &password = QStringLiteral("segredo"), int version = Wire::protocolVersion);
    // The next frame from the server; an empty map when the connection ends first.
    Wire::Message receive();
    QString receiveType() { return receive().value(QLatin1StringView("type")).toString(); }
    // True when the server has already sent something, without waiting.
    bool answered();
    // Ends the sending side only, as a client does that has nothing more to say but awaits the answer.
    void halfClose();
    bool closedByServer();

private:
    QTcpSocket m_socket;
    Wire::FrameReader m_reader;
};
