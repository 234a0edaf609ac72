#pragma once

#include "framework/net/wire.h"

#include <QCborMap>
#include <QList>

// A client on a plain non-blocking socket, to send what TNetConnection never would: many calls without
// reading, or calls on many connections at once.
class PlainClient {
public:
    // A buffer size above 0 sets the socket's own send and receive buffers, so that what the server
    // holds shows.
    explicit PlainClient(quint16 port, int bufferBytes = 0);
    ~PlainClient();
    PlainClient(const PlainClient &) = delete;
    PlainClient &operator=(const PlainClient &) = delete;

    bool connected() const { return m_connected; }
    void queue(const QCborMap &message);
    qint64 sent() const { return m_sent; }
    qint64 queued() const { return m_out.size(); }

    // Sends what is queued, reading nothing, until all is sent or the connection takes nothing more
    // for a second.
    void sendWithoutReading();
    // Sends the rest of what is queued while reading frames; returns the frames read, up to `count`
    // (fewer when the connection ends or stays silent for ten seconds).
    QList<Wire::Message> receive(int count);

    static QCborMap hello(const QString &operatorCode, const QString &password);
    static QCborMap call(qint64 id, const QString &module, const QString &method, const QCborArray &args);

private:
    void sendSome();

    int m_fd = -1;
    bool m_connected = false;
    QByteArray m_out;
    qint64 m_sent = 0;
    Wire::FrameReader m_reader;
};
