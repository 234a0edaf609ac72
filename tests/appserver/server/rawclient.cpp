#include "tests/appserver/server/rawclient.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

RawClient::RawClient(quint16 port, const QHostAddress &source) {
    if (!source.isNull()) {
        EXPECT_TRUE(m_socket.bind(source));
    }
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(m_socket.waitForConnected(5000));
}

void RawClient::send(const QByteArray &bytes) {
    m_socket.write(bytes);
    m_socket.waitForBytesWritten(5000);
}

void RawClient::hello(const QString &password, int version) {
    QCborMap hello;
    hello.insert(QLatin1StringView("type"), QLatin1StringView("hello"));
    hello.insert(QLatin1StringView("version"), version);
    hello.insert(QLatin1StringView("operator"), QLatin1StringView("admin"));
    hello.insert(QLatin1StringView("password"), password);
    send(hello);
}

Wire::Message RawClient::receive() {
    for (;;) {
        m_reader.append(m_socket.readAll());
        if (auto frame = m_reader.next())
            return *frame;
        if (!m_socket.waitForReadyRead(10000))
            return {};
    }
}

bool RawClient::answered() {
    m_socket.waitForReadyRead(0);
    return m_socket.bytesAvailable() > 0 || m_socket.state() != QAbstractSocket::ConnectedState;
}

void RawClient::halfClose() {
    m_socket.flush();
    ::shutdown(int(m_socket.socketDescriptor()), SHUT_WR);
}

bool RawClient::closedByServer() {
    while (m_socket.state() == QAbstractSocket::ConnectedState && m_socket.waitForReadyRead(10000))
        m_socket.readAll();
    return m_socket.state() != QAbstractSocket::ConnectedState;
}
