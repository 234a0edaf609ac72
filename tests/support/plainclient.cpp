#include "tests/support/plainclient.h"

#include <QCborArray>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

PlainClient::PlainClient(quint16 port, int bufferBytes) {
    m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (bufferBytes > 0) {
        ::setsockopt(m_fd, SOL_SOCKET, SO_SNDBUF, &bufferBytes, sizeof bufferBytes);
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    m_connected = ::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::fcntl(m_fd, F_SETFL, O_NONBLOCK);
}

PlainClient::~PlainClient() {
    ::close(m_fd);
}

void PlainClient::queue(const QCborMap &message) {
    m_out += Wire::encodeFrame(message);
}

void PlainClient::sendSome() {
    const ssize_t written =
        ::send(m_fd, m_out.constData() + m_sent, size_t(m_out.size() - m_sent), MSG_NOSIGNAL);
    m_sent += std::max<ssize_t>(written, 0);
}

void PlainClient::sendWithoutReading() {
    while (m_sent < m_out.size()) {
        pollfd ready{m_fd, POLLOUT, 0};
        if (::poll(&ready, 1, 1000) <= 0 || (ready.revents & (POLLERR | POLLHUP)))
            return;
        sendSome();
    }
}

QList<Wire::Message> PlainClient::receive(int count) {
    QList<Wire::Message> frames;
    QByteArray buffer(64 << 10, Qt::Uninitialized);
    while (frames.size() < count) {
        pollfd ready{m_fd, short(POLLIN | (m_sent < m_out.size() ? POLLOUT : 0)), 0};
        if (::poll(&ready, 1, 10000) <= 0)
            break;
        if (ready.revents & POLLOUT)
            sendSome();
        if (ready.revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t got = ::recv(m_fd, buffer.data(), size_t(buffer.size()), 0);
            if (got <= 0)
                break;
            m_reader.append(buffer.left(got));
            while (std::optional<Wire::Message> frame = m_reader.next())
                frames.append(*frame);
        }
    }
    return frames;
}

QCborMap PlainClient::hello(const QString &operatorCode, const QString &password) {
    QCborMap message;
    message.insert(QLatin1StringView("type"), QLatin1StringView("hello"));
    message.insert(QLatin1StringView("version"), Wire::protocolVersion);
    message.insert(QLatin1StringView("operator"), operatorCode);
    message.insert(QLatin1StringView("password"), password);
    return message;
}

QCborMap PlainClient::call(qint64 id, const QString &module, const QString &method, const QCborArray &args) {
    QCborMap message;
    message.insert(QLatin1StringView("type"), QLatin1StringView("call"));
    message.insert(QLatin1StringView("id"), id);
    message.insert(QLatin1StringView("module"), module);
    message.insert(QLatin1StringView("method"), method);
    message.insert(QLatin1StringView("args"), args);
    return message;
}
