#include "appserver/server/servertls.h"
#include "framework/net/checkresult.h"
#include "framework/net/wire.h"
#include "tests/appserver/server/echomodule.h"
#include "tests/appserver/server/inprocessserver.h"
#include "tests/support/plainclient.h"
#include "tests/support/serverfixture.h"
#include "tests/support/testcertificates.h"

#include <QCborArray>
#include <QCborMap>
#include <QDeadlineTimer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString filterModule = QStringLiteral("PAG00801.rdmFiltroRecContPagar");

std::unique_ptr<ServerFixture> tlsServer(const TestCertificates &certificates, const QStringList &more = {}) {
    ServerFixture::Options options;
    options.demoSize = 5;
    options.extraArguments = certificates.serverArguments() + more;
    auto server = std::make_unique<ServerFixture>(options);
    server->start();
    return server;
}

// Why pagserver would not start with these options; empty when it started.
QString startRefusal(const QStringList &arguments) {
    ServerFixture::Options options;
    options.demoSize = 5;
    options.extraArguments = arguments;
    ServerFixture server(options);
    try {
        server.start();
    } catch (const std::runtime_error &e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

// The server logs a connection's end after the client has seen it: wait for the line.
bool logShows(const ServerFixture &server, QLatin1StringView line) {
    const QDeadlineTimer deadline(10000);
    while (!server.log().contains(line) && !deadline.hasExpired())
        QThread::msleep(20);
    return server.log().contains(line);
}

QByteArray helloFrame() {
    QCborMap hello;
    hello.insert(QLatin1StringView("type"), QLatin1StringView("hello"));
    hello.insert(QLatin1StringView("version"), Wire::protocolVersion);
    hello.insert(QLatin1StringView("operator"), QLatin1StringView("admin"));
    hello.insert(QLatin1StringView("password"), QLatin1StringView("admin"));
    return Wire::encodeFrame(hello);
}

} // namespace

TEST(ServerTls, RefusesToStartWithoutAReadableMatchingCertificateAndKey) {
    const TestCertificates certificates;
    const QString certificate = certificates.serverCertificateFile();
    const QString key = certificates.serverKeyFile();
    const QString missing = certificates.path("missing.pem");
    const auto tls = [](const QString &certificateFile, const QString &keyFile) {
        return QStringList{QStringLiteral("--tls-cert"), certificateFile, QStringLiteral("--tls-key"),
                           keyFile};
    };
    const std::pair<QStringList, const char *> cases[] = {
        {tls(missing, key), "cannot read the TLS certificate file"},
        {tls(certificate, missing), "cannot read the TLS key file"},
        {tls(key, key), "no PEM certificate in"},
        {tls(certificate, certificate), "no private key in"},
        {tls(certificate, certificates.otherKeyFile()), "is not the key of the certificate"},
        {{QStringLiteral("--tls-cert"), certificate}, "--tls-cert and --tls-key go together"},
    };
    for (const auto &[arguments, reason] : cases) {
        const QString refusal = startRefusal(arguments);
        EXPECT_TRUE(refusal.contains(QLatin1StringView(reason))) << reason << ": " << qPrintable(refusal);
    }
}

TEST(ServerTls, SignsInOverTlsAndAnswersCalls) {
    const TestCertificates certificates;
    const auto server = tlsServer(certificates);
    const auto net = server->connection(filterModule);
    net->setTls(certificates.clientTls());
    for (int call = 0; call < 2; ++call) {
        const QVariant parameters = net->call("GetGeralPag");
        EXPECT_FALSE(isServerFailure(parameters)) << qPrintable(serverFailureText(parameters));
    }
    EXPECT_TRUE(server->log().contains(QLatin1StringView("signed in as admin")));
}

// The password of a plain hello goes out in clear however the server answers; the server must at
// least never take it: it reads nothing until a TLS handshake succeeds, and ends the connection. A client
// that never begins its handshake is closed at the deadline of the hello.
TEST(ServerTls, ClosesPlainAndSilentClientsWithoutReadingThem) {
    const TestCertificates certificates;
    const auto server = tlsServer(certificates, {QStringLiteral("--hello-timeout"), QStringLiteral("1")});
    QTcpSocket plain;
    QTcpSocket silent;
    for (QTcpSocket *socket : {&plain, &silent}) {
        socket->connectToHost(server->host(), server->port());
        ASSERT_TRUE(socket->waitForConnected(5000));
    }
    plain.write(helloFrame());
    for (QTcpSocket *socket : {&plain, &silent}) {
        while (socket->state() == QAbstractSocket::ConnectedState && socket->waitForReadyRead(10000))
            socket->readAll();
        EXPECT_NE(socket->state(), QAbstractSocket::ConnectedState);
    }
    EXPECT_TRUE(logShows(*server, QLatin1StringView("closing: TLS handshake failed")))
        << qPrintable(server->log());
    EXPECT_TRUE(logShows(*server, QLatin1StringView("closing: no hello"))) << qPrintable(server->log());
    EXPECT_FALSE(server->log().contains(QLatin1StringView("sign"))) << qPrintable(server->log());

    const auto net = server->connection(filterModule);
    EXPECT_THROW(net->call("GetGeralPag"), NetError);
}

TEST(ServerTls, ATlsClientRefusesAPlainServerBeforeItsHello) {
    const TestCertificates certificates;
    ServerFixture::Options options;
    options.demoSize = 5;
    ServerFixture server(options);
    server.start();
    const auto net = server.connection(filterModule);
    net->setTls(certificates.clientTls());
    try {
        net->call("GetGeralPag");
        ADD_FAILURE() << "a TLS client signed in to a plain server";
    } catch (const NetError &e) {
        EXPECT_TRUE(e.message().contains(QString::fromUtf8("não respondeu com uma conexão segura")))
            << qPrintable(e.message());
    }
    EXPECT_FALSE(server.log().contains(QLatin1StringView("sign"))) << qPrintable(server.log());
}

// Over TLS as in clear: a client that sends calls and never reads stalls the server's reading of its
// calls once the answers fill the network, not once the server has encrypted them all into memory.
TEST(ServerTls, ReadsTheNextCallOnlyOnceTheAnswerIsSent) {
    const TestCertificates certificates;
    ServerSettings settings;
    settings.tls = serverTlsConfiguration(certificates.serverCertificateFile(), certificates.serverKeyFile());
    InProcessServer server(settings);
    QSslSocket client;
    QSslConfiguration trust = QSslConfiguration::defaultConfiguration();
    trust.setCaCertificates(QSslCertificate::fromPath(certificates.caFile()));
    client.setSslConfiguration(trust);
    client.setReadBufferSize(128 << 10);
    client.connectToHostEncrypted(QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(client.waitForEncrypted(10000)) << qPrintable(client.errorString());

    QByteArray calls =
        Wire::encodeFrame(PlainClient::hello(QStringLiteral("admin"), QStringLiteral("segredo")));
    const QString text(32 << 10, QLatin1Char('x'));
    constexpr int count = 2000;
    for (int id = 1; id <= count; ++id)
        calls += Wire::encodeFrame(
            PlainClient::call(id, EchoModule::name(), QStringLiteral("Eco"), QCborArray{text}));
    client.write(calls);
    while (client.waitForBytesWritten(1000)) {
    }
    const qint64 sent = calls.size() - client.bytesToWrite() - client.encryptedBytesToWrite();
    EXPECT_LT(sent, calls.size() / 2)
        << "the server went on reading calls whose answers the client did not take";

    client.setReadBufferSize(0);
    Wire::FrameReader reader;
    int frames = 0;
    while (frames <= count) {
        reader.append(client.readAll());
        while (reader.next())
            ++frames;
        if (frames <= count && !client.waitForReadyRead(10000))
            break;
    }
    EXPECT_EQ(frames, count + 1) << "every call is answered once the client reads";
}
