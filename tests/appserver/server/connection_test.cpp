#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "framework/net/wire.h"
#include "tests/appserver/server/echomodule.h"
#include "tests/appserver/server/inprocessserver.h"
#include "tests/appserver/server/rawclient.h"
#include "tests/support/plainclient.h"
#include "tests/support/serverfixture.h"

#include <QCborArray>
#include <QCborMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

// A client that sends calls and never reads: its answers fill the network buffers, then the server,
// with an answer not yet written out, reads no further call, and the client's sending stalls long
// before it has sent everything. Once it reads, every call is answered, in order.
TEST(ClientConnection, ReadsTheNextCallOnlyOnceTheAnswerIsWrittenOut) {
    InProcessServer server;
    PlainClient client(server.port(), 128 << 10);
    ASSERT_TRUE(client.connected());
    client.queue(PlainClient::hello(QStringLiteral("admin"), QStringLiteral("segredo")));
    const QString text(32 << 10, QLatin1Char('x'));
    constexpr int calls = 2000;
    for (int id = 1; id <= calls; ++id)
        client.queue(PlainClient::call(id, EchoModule::name(), QStringLiteral("Eco"), {text}));

    client.sendWithoutReading();
    EXPECT_LT(client.sent(), client.queued() / 2)
        << "the server went on reading calls whose answers the client did not take";

    const QList<Wire::Message> frames = client.receive(calls + 1);
    ASSERT_EQ(frames.size(), calls + 1);
    EXPECT_EQ(frames.first().value(QLatin1StringView("type")).toString(), QStringLiteral("welcome"));
    for (int id = 1; id <= calls; ++id) {
        const Wire::Message &answer = frames.at(id);
        ASSERT_EQ(answer.value(QLatin1StringView("type")).toString(), QStringLiteral("result"));
        ASSERT_EQ(answer.value(QLatin1StringView("id")).toInteger(), id);
    }
}

// Calls answered on the connection's own thread, as fast as they arrive: a client that sends a great
// many small calls at once has every one answered, in order, however long the run of them.
TEST(ClientConnection, AnUnbrokenRunOfCallsIsAnsweredWhole) {
    InProcessServer server;
    PlainClient client(server.port());
    ASSERT_TRUE(client.connected());
    client.queue(PlainClient::hello(QStringLiteral("admin"), QStringLiteral("segredo")));
    constexpr int calls = 100000;
    for (int id = 1; id <= calls; ++id)
        client.queue(PlainClient::call(id, EchoModule::name(), QStringLiteral("Operador"), {}));

    const QList<Wire::Message> frames = client.receive(calls + 1);
    ASSERT_EQ(frames.size(), calls + 1);
    EXPECT_EQ(frames.last().value(QLatin1StringView("id")).toInteger(), calls);
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

namespace {

QString storedHash(const QString &databaseUrl, const QString &operatorCode) {
    QString hash;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("hashes"));
        db.setDatabaseName(databaseUrl.mid(QStringLiteral("sqlite:").size()));
        QSqlQuery query(db);
        db.open();
        query.prepare(QStringLiteral("SELECT DSSENHAHASH FROM OPERADOR WHERE CDOPERADOR = ?"));
        query.addBindValue(operatorCode);
        if (query.exec() && query.next())
            hash = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("hashes"));
    return hash;
}

} // namespace

// The password is checked off the database session; a hash of an older cost is then replaced on a
// session of its own, and the operator signs in with the new one as well.
TEST(ClientConnection, ASignInUpgradesAHashOfAnOlderCost) {
    ServerFixture first;
    first.start();
    first.stop();
    const QString module = QStringLiteral("PAG00801.rdmFiltroRecContPagar");
    ASSERT_TRUE(storedHash(first.databaseUrl(), QStringLiteral("admin"))
                    .startsWith(QLatin1StringView("pbkdf2-sha256$1000$")));

    ServerFixture::Options costlier;
    costlier.demo = false;
    costlier.databaseUrl = first.databaseUrl();
    costlier.extraArguments = {QStringLiteral("--password-iterations"), QStringLiteral("2000")};
    ServerFixture server(costlier);
    server.start();
    EXPECT_FALSE(isServerFailure(server.connection(module)->call("GetGeralPag")));
    EXPECT_TRUE(storedHash(first.databaseUrl(), QStringLiteral("admin"))
                    .startsWith(QLatin1StringView("pbkdf2-sha256$2000$")));
    EXPECT_TRUE(storedHash(first.databaseUrl(), QStringLiteral("caixa"))
                    .startsWith(QLatin1StringView("pbkdf2-sha256$1000$")));
    EXPECT_FALSE(isServerFailure(server.connection(module)->call("GetGeralPag")));
    EXPECT_THROW(
        server.connection(module, QStringLiteral("admin"), QStringLiteral("errada"))->call("GetGeralPag"),
        NetError);
}
