#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/net/wire.h"
#include "tests/appserver/server/inprocessserver.h"
#include "tests/appserver/server/rawclient.h"

#include <QCborArray>
#include <QCborMap>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A client on a plain socket, to send without reading as TNetConnection never would.
class PipeliningClient {
public:
    explicit PipeliningClient(quint16 port) {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        // Small buffers of its own, so that what the server holds shows.
        const int bytes = 128 << 10;
        ::setsockopt(m_fd, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        ::fcntl(m_fd, F_SETFL, O_NONBLOCK);
    }
    ~PipeliningClient() { ::close(m_fd); }
    bool connected() const { return m_connected; }

    void queue(const QCborMap &message) { m_out += Wire::encodeFrame(message); }
    qint64 sent() const { return m_sent; }
    qint64 queued() const { return m_out.size(); }

    // Sends what is queued, reading nothing, until all is sent or the connection takes nothing more
    // for a second.
    void sendWithoutReading() {
        while (m_sent < m_out.size()) {
            pollfd ready{m_fd, POLLOUT, 0};
            if (::poll(&ready, 1, 1000) <= 0)
                return;
            const ssize_t written = ::send(m_fd, m_out.constData() + m_sent, m_out.size() - m_sent, 0);
            if (written <= 0)
                return;
            m_sent += written;
        }
    }

    // Sends the rest of what is queued while reading frames; returns the frames read, up to `count`.
    QList<QCborMap> receive(int count) {
        QList<QCborMap> frames;
        char buffer[64 << 10];
        while (frames.size() < count) {
            pollfd ready{m_fd, short(POLLIN | (m_sent < m_out.size() ? POLLOUT : 0)), 0};
            if (::poll(&ready, 1, 10000) <= 0)
                break;
            if (ready.revents & POLLOUT) {
                const ssize_t written = ::send(m_fd, m_out.constData() + m_sent, m_out.size() - m_sent, 0);
                m_sent += std::max<ssize_t>(written, 0);
            }
            if (ready.revents & POLLIN) {
                const ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
                if (got <= 0)
                    break;
                m_reader.append(QByteArray(buffer, got));
                while (std::optional<QCborMap> frame = m_reader.next())
                    frames.append(*frame);
            }
        }
        return frames;
    }

private:
    int m_fd = -1;
    bool m_connected = false;
    QByteArray m_out;
    qint64 m_sent = 0;
    Wire::FrameReader m_reader;
};

QCborMap hello() {
    QCborMap message;
    message.insert(QLatin1StringView("type"), QLatin1StringView("hello"));
    message.insert(QLatin1StringView("version"), Wire::protocolVersion);
    message.insert(QLatin1StringView("operator"), QLatin1StringView("admin"));
    message.insert(QLatin1StringView("password"), QLatin1StringView("segredo"));
    return message;
}

QCborMap echoCall(int id, const QString &text) {
    QCborMap message;
    message.insert(QLatin1StringView("type"), QLatin1StringView("call"));
    message.insert(QLatin1StringView("id"), id);
    message.insert(QLatin1StringView("module"), QLatin1StringView("Teste.rdmEco"));
    message.insert(QLatin1StringView("method"), QLatin1StringView("Eco"));
    message.insert(QLatin1StringView("args"), QCborArray{text});
    return message;
}

} // namespace

// A client that sends calls and never reads: its answers fill the network buffers, then the server,
// with an answer not yet written out, reads no further call, and the client's sending stalls long
// before it has sent everything. Once it reads, every call is answered, in order.
TEST(ClientConnection, ReadsTheNextCallOnlyOnceTheAnswerIsWrittenOut) {
    InProcessServer server;
    PipeliningClient client(server.port());
    ASSERT_TRUE(client.connected());
    client.queue(hello());
    const QString text(32 << 10, QLatin1Char('x'));
    constexpr int calls = 2000;
    for (int id = 1; id <= calls; ++id)
        client.queue(echoCall(id, text));

    client.sendWithoutReading();
    EXPECT_LT(client.sent(), client.queued() / 2)
        << "the server went on reading calls whose answers the client did not take";

    const QList<QCborMap> frames = client.receive(calls + 1);
    ASSERT_EQ(frames.size(), calls + 1);
    EXPECT_EQ(frames.first().value(QLatin1StringView("type")).toString(), QStringLiteral("welcome"));
    for (int id = 1; id <= calls; ++id) {
        const QCborMap &answer = frames.at(id);
        ASSERT_EQ(answer.value(QLatin1StringView("type")).toString(), QStringLiteral("result"));
        ASSERT_EQ(answer.value(QLatin1StringView("id")).toInteger(), id);
    }
}

TEST(ClientConnection, AnAnswerOverTheClientsFrameLimitFailsAndTheConnectionGoesOn) {
    InProcessServer server;
    const auto net = server.connection();
    net->setMaxFrameSize(4096);
    const QVariant tooLarge = net->call("Eco", {QString(8000, QLatin1Char('x'))});
    ASSERT_TRUE(isServerFailure(tooLarge));
    EXPECT_TRUE(serverFailureText(tooLarge).contains(QLatin1StringView("4096")))
        << qPrintable(serverFailureText(tooLarge));
    EXPECT_EQ(net->call("Eco", {QString(2000, QLatin1Char('x'))}).toList().size(), 1);
    EXPECT_TRUE(net->connected());
}

TEST(ClientConnection, AHelloMustAnnounceAUsableFrameLimit) {
    InProcessServer server;
    for (const QCborValue &limit :
         {QCborValue(QStringLiteral("4096")), QCborValue(100), QCborValue(4096.5)}) {
        QCborMap hello;
        hello.insert(QLatin1StringView("type"), QLatin1StringView("hello"));
        hello.insert(QLatin1StringView("version"), Wire::protocolVersion);
        hello.insert(QLatin1StringView("operator"), QLatin1StringView("admin"));
        hello.insert(QLatin1StringView("password"), QLatin1StringView("segredo"));
        hello.insert(QLatin1StringView(Wire::maxFrameSizeKey), limit);
        RawClient client(server.port());
        client.send(hello);
        EXPECT_EQ(client.receiveType(), QStringLiteral("refused"));
        EXPECT_TRUE(client.closedByServer());
    }
}
