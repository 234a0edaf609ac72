#include "framework/net/netconnection.h"
#include "framework/net/wire.h"
#include "tests/appserver/server/inprocessserver.h"
#include "tests/appserver/server/rawclient.h"

#include <QCborArray>
#include <QCborStreamWriter>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray lengthHeader(quint32 length) {
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(length, bytes.data());
    return bytes;
}

QCborMap call(const QString &method, const QCborValue &args = QCborArray()) {
    QCborMap request;
    request.insert(QLatin1StringView("type"), QLatin1StringView("call"));
    request.insert(QLatin1StringView("id"), 7);
    request.insert(QLatin1StringView("module"), QLatin1StringView("Teste.rdmEco"));
    request.insert(QLatin1StringView("method"), method);
    request.insert(QLatin1StringView("args"), args);
    return request;
}

class BadInput : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ServerSettings settings;
        settings.maxFrameSize = maxFrameSize;
        settings.frameTimeoutSecs = 1;
        server = new InProcessServer(settings);
    }
    static void TearDownTestSuite() { delete server; }
    // Every test ends by checking that the server still serves a well-behaved client.
    void TearDown() override {
        EXPECT_EQ(server->connection()->call("Operador").toString(), QStringLiteral("admin"));
    }

    static constexpr qint64 maxFrameSize = qint64(8) << 20;
    static inline InProcessServer *server = nullptr;
};

// The notice the server sends when it refuses what it received.
void expectErrorNotice(RawClient &client, QLatin1StringView saying) {
    const Wire::Message notice = client.receive();
    EXPECT_EQ(notice.value(QLatin1StringView("type")).toString(), QStringLiteral("error"));
    EXPECT_TRUE(notice.value(QLatin1StringView("message")).toString().contains(saying))
        << qPrintable(notice.value(QLatin1StringView("message")).toString());
    EXPECT_TRUE(client.closedByServer());
}

} // namespace

TEST_F(BadInput, GarbageEndsThatConnection) {
    RawClient client(server->port());
    client.send(lengthHeader(5) + QByteArray("\xff\x00\x13\x99\x01", 5));
    EXPECT_EQ(client.receiveType(), QStringLiteral("error"));
    EXPECT_TRUE(client.closedByServer());
}

TEST_F(BadInput, OversizedFrameIsRefusedFromItsLength) {
    RawClient client(server->port());
    client.hello();
    EXPECT_EQ(client.receiveType(), QStringLiteral("welcome"));
    client.send(lengthHeader(maxFrameSize + 1));
    expectErrorNotice(client, QLatin1StringView("8388608"));
}

TEST_F(BadInput, BeforeTheWelcomeOnlyASmallFrameIsRead) {
    RawClient client(server->port());
    client.send(lengthHeader(64 << 20));
    expectErrorNotice(client, QLatin1StringView("65536"));

    // 2,000 empty arrays: a few KiB on the wire, far more once built.
    QCborArray arrays;
    for (int i = 0; i < 2000; ++i)
        arrays.append(QCborArray());
    QCborMap hello;
    hello.insert(QLatin1StringView("type"), QLatin1StringView("hello"));
    hello.insert(QLatin1StringView("pad"), arrays);
    RawClient manyItems(server->port());
    manyItems.send(hello);
    expectErrorNotice(manyItems, QLatin1StringView("itens"));
}

TEST_F(BadInput, AFrameOfMillionsOfTinyItemsIsRefusedUnbuilt) {
    RawClient client(server->port());
    client.hello();
    EXPECT_EQ(client.receiveType(), QStringLiteral("welcome"));
    const quint32 items = 4000000;
    QByteArray cbor("\xa2\x64"
                    "type"
                    "\x64"
                    "call"
                    "\x64"
                    "args"
                    "\x9a",
                    17);
    cbor += lengthHeader(items) + QByteArray(items, '\0');
    client.send(lengthHeader(quint32(cbor.size())) + cbor);
    expectErrorNotice(client, QLatin1StringView("itens"));
}

TEST_F(BadInput, CallsBeforeASuccessfulHelloAreRefused) {
    RawClient early(server->port());
    early.send(call(QStringLiteral("Operador")));
    EXPECT_EQ(early.receiveType(), QStringLiteral("error"));
    EXPECT_TRUE(early.closedByServer());

    RawClient wrongPassword(server->port());
    wrongPassword.hello(QStringLiteral("admin"));
    EXPECT_EQ(wrongPassword.receiveType(), QStringLiteral("refused"));
    EXPECT_TRUE(wrongPassword.closedByServer());

    RawClient oldVersion(server->port());
    oldVersion.hello(QStringLiteral("segredo"), 0);
    EXPECT_EQ(oldVersion.receiveType(), QStringLiteral("refused"));
    EXPECT_TRUE(oldVersion.closedByServer());
}

TEST_F(BadInput, MalformedRequestsFailAndTheConnectionGoesOn) {
    RawClient client(server->port());
    client.hello();
    EXPECT_EQ(client.receiveType(), QStringLiteral("welcome"));

    client.send(call(QStringLiteral("Eco"), QCborValue(QStringLiteral("não é lista"))));
    EXPECT_EQ(client.receiveType(), QStringLiteral("failure"));

    QCborMap badReference = call(QStringLiteral("Eco"), QCborArray{1});
    badReference.insert(QLatin1StringView("byref"), QCborArray{5});
    client.send(badReference);
    EXPECT_EQ(client.receiveType(), QStringLiteral("failure"));

    client.send(
        call(QStringLiteral("Eco"), QCborArray{QCborValue(QCborTag(Wire::packetTag), QByteArray("lixo"))}));
    EXPECT_EQ(client.receiveType(), QStringLiteral("failure"));

    const Wire::Message answer = (client.send(call(QStringLiteral("Operador"))), client.receive());
    EXPECT_EQ(answer.value(QLatin1StringView("type")).toString(), QStringLiteral("result"));
    EXPECT_EQ(answer.value(QLatin1StringView("id")).toInteger(), 7);
}

TEST_F(BadInput, CallsThatCannotBeMatchedAreNotRun) {
    QByteArray hugeId;
    QCborStreamWriter writer(&hugeId);
    writer.append(std::numeric_limits<quint64>::max());
    const QList<QCborValue> badIds = {QCborValue(), QCborValue(QStringLiteral("7")), QCborValue(7.5),
                                      QCborValue::fromCbor(hugeId)};
    for (const QCborValue &id : badIds) {
        RawClient client(server->port());
        client.hello();
        EXPECT_EQ(client.receiveType(), QStringLiteral("welcome"));
        QCborMap request = call(QStringLiteral("Operador"));
        if (id.isUndefined())
            request.remove(QLatin1StringView("id"));
        else
            request.insert(QLatin1StringView("id"), id);
        client.send(request);
        expectErrorNotice(client, QLatin1StringView("id inteiro"));
    }
}

TEST_F(BadInput, AHelloMustBeUnambiguous) {
    QByteArray twoPasswords;
    QCborStreamWriter writer(&twoPasswords);
    writer.startMap(5);
    for (const char *text : {"type", "hello", "version"})
        writer.append(QLatin1StringView(text));
    writer.append(Wire::protocolVersion);
    for (const char *text : {"operator", "admin", "password", "segredo", "password", "outra"})
        writer.append(QLatin1StringView(text));
    writer.endMap();
    RawClient repeated(server->port());
    repeated.send(lengthHeader(quint32(twoPasswords.size())) + twoPasswords);
    expectErrorNotice(repeated, QLatin1StringView("chave repetida"));

    QCborMap fractional;
    fractional.insert(QLatin1StringView("type"), QLatin1StringView("hello"));
    fractional.insert(QLatin1StringView("version"), 1.25);
    fractional.insert(QLatin1StringView("operator"), QLatin1StringView("admin"));
    fractional.insert(QLatin1StringView("password"), QLatin1StringView("segredo"));
    RawClient client(server->port());
    client.send(fractional);
    const Wire::Message refusal = client.receive();
    EXPECT_EQ(refusal.value(QLatin1StringView("type")).toString(), QStringLiteral("refused"));
    EXPECT_TRUE(
        refusal.value(QLatin1StringView("message")).toString().contains(QLatin1StringView("inteira")));
    EXPECT_TRUE(client.closedByServer());
}

TEST_F(BadInput, AClientThatHalfClosesStillGetsItsAnswer) {
    for (const QCborArray &pause : {QCborArray{0}, QCborArray{200}}) {
        RawClient client(server->port());
        client.hello();
        EXPECT_EQ(client.receiveType(), QStringLiteral("welcome"));
        client.send(call(QStringLiteral("Dorme"), pause));
        client.halfClose();
        const Wire::Message answer = client.receive();
        EXPECT_EQ(answer.value(QLatin1StringView("type")).toString(), QStringLiteral("result"));
        EXPECT_TRUE(answer.value(QLatin1StringView("value")).toBool());
    }
}

TEST_F(BadInput, AStalledFrameIsCutOff) {
    RawClient client(server->port());
    client.hello();
    EXPECT_EQ(client.receiveType(), QStringLiteral("welcome"));
    const QByteArray frame = Wire::encodeFrame(call(QStringLiteral("Operador")));
    client.send(frame.left(frame.size() - 3));
    EXPECT_EQ(client.receiveType(), QStringLiteral("error"));
    EXPECT_TRUE(client.closedByServer());
}

TEST_F(BadInput, AClientThatVanishesMidCallHarmsNoOne) {
    for (int i = 0; i < 5; ++i) {
        RawClient client(server->port());
        client.hello();
        client.send(call(QStringLiteral("Eco"), QCborArray{QString(1000, QLatin1Char('x'))}));
    }
}

TEST(ConnectionLimit, RefusesConnectionsBeyondTheLimit) {
    ServerSettings settings;
    settings.maxConnections = 1;
    InProcessServer server(settings);
    const auto first = server.connection();
    first->setConnected(true);
    const auto second = server.connection();
    EXPECT_THROW(second->setConnected(true), NetError);
    EXPECT_EQ(first->call("Operador").toString(), QStringLiteral("admin"));
}
