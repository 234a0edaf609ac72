#include "framework/core/abort.h"
#include "framework/core/datapacket.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "tests/appserver/server/inprocessserver.h"

#include <QStringList>
#include <QTcpServer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class Calls : public testing::Test {
protected:
    static void SetUpTestSuite() { server = new InProcessServer; }
    static void TearDownTestSuite() { delete server; }
    void SetUp() override {
        setErrorDisplay([this](const QString &text) { shown.append(text); });
        net = server->connection();
    }
    void TearDown() override { setErrorDisplay(nullptr); }

    static inline InProcessServer *server = nullptr;
    std::unique_ptr<TNetConnection> net;
    QStringList shown;
};

DataPacket twoRows() {
    FieldDef key;
    key.name = QStringLiteral("CDFILIAL");
    DataPacket packet({key});
    packet.appendRow({QStringLiteral("0101")});
    packet.appendRow({QStringLiteral("0102")});
    return packet;
}

} // namespace

TEST_F(Calls, CarryEveryArgumentKindBothWays) {
    const QVariant result =
        net->call("Tipos", {QStringLiteral("Razão"), 12.5, true, QDate(2026, 3, 15), twoRows()});
    EXPECT_EQ(result.toList(), (QVariantList{QStringLiteral("Razão"), 12.5, true, 46096.0, qint64(2)}));

    const QVariantList echoed = net->call("eco", {true, false, QString()}).toList();
    EXPECT_EQ(echoed.value(0).toLongLong(), -1) << "true travels as -1";
    EXPECT_EQ(echoed.value(1).toLongLong(), 0);
    EXPECT_EQ(echoed.value(2).typeId(), QMetaType::QString);
}

TEST_F(Calls, WriteBackIntoReferencesOnly) {
    QString first = QStringLiteral("abc");
    QString last = QStringLiteral("xyz");
    const QVariant count = net->call("Maiusculas", {&first, QStringLiteral("por valor"), &last});
    EXPECT_EQ(count.toInt(), 3);
    EXPECT_EQ(first, QStringLiteral("ABC"));
    EXPECT_EQ(last, QStringLiteral("XYZ"));
}

TEST_F(Calls, KnowTheSignedInOperator) {
    EXPECT_EQ(net->call("Operador").toString(), QStringLiteral("admin"));
}

TEST_F(Calls, ServerFailuresTravelInTheResultAndCheckResultServShowsThem) {
    const QVariant result = net->call("Falha", {QStringLiteral("Empresa 09 não permitida.")});
    ASSERT_TRUE(isServerFailure(result));
    EXPECT_THROW(CheckResultServ(result, true, 0), SilentAbort);
    EXPECT_EQ(shown, QStringList{QStringLiteral("Empresa 09 não permitida.")});
    EXPECT_TRUE(net->connected());
    EXPECT_EQ(CheckResultServ(net->call("Operador"), true, 0).toString(), QStringLiteral("admin"));

    net->setThrowException(true);
    EXPECT_THROW(net->call("Falha", {QStringLiteral("x")}), RemoteError);
}

TEST_F(Calls, BadCallsFailThatCallOnly) {
    const auto failureOf = [this](const QVariant &result) {
        EXPECT_TRUE(isServerFailure(result));
        return serverFailureText(result);
    };
    EXPECT_TRUE(failureOf(net->call("NaoExiste")).contains(QLatin1StringView("NaoExiste")));
    EXPECT_TRUE(failureOf(net->call("Tipos", {1})).contains(QLatin1StringView("5")));
    EXPECT_TRUE(failureOf(net->call("Tipos", {1, 2, 3, 4, 5})).contains(QLatin1StringView("argumento 1")));
    EXPECT_TRUE(failureOf(net->call("Tipos", {QString(), 2, QStringLiteral("S"), 4, 5}))
                    .contains(QLatin1StringView("argumento 3")));

    const QString internal = failureOf(net->call("Quebra"));
    EXPECT_FALSE(internal.contains(QLatin1StringView("defeito")))
        << "internal details stay in the server log";

    TNetConnection other;
    other.setPort(server->port());
    other.setServerName(QStringLiteral("Outro.rdmNenhum"));
    EXPECT_TRUE(failureOf(other.call("Eco")).contains(QLatin1StringView("Outro.rdmNenhum")));

    EXPECT_EQ(net->call("Operador").toString(), QStringLiteral("admin"));
}

// Over a megabyte each way: the server frees the request before the method runs and hands back the
// memory of a large answer, and the connection serves on.
TEST_F(Calls, LargePacketsTravelWholeBothWaysAndTheConnectionServesOn) {
    FieldDef text;
    text.name = QStringLiteral("DSHISTCTB");
    DataPacket large({text});
    for (int row = 0; row < 40000; ++row)
        large.appendRow({QStringLiteral("Histórico da linha %1").arg(row)});
    ASSERT_GT(large.encode().size(), 1 << 20);

    const QVariantList echoed = net->call("Eco", {QStringLiteral("OK"), large}).toList();
    ASSERT_EQ(echoed.size(), 2);
    EXPECT_EQ(echoed.at(0).toString(), QStringLiteral("OK"));
    EXPECT_EQ(echoed.at(1).value<DataPacket>().encode(), large.encode());
    EXPECT_EQ(net->call("Operador").toString(), QStringLiteral("admin"));
}

TEST_F(Calls, ModuleNamesMatchWithoutRegardToCase) {
    net->setServerName(QStringLiteral("TESTE.RDMECO"));
    EXPECT_EQ(net->call("OPERADOR").toString(), QStringLiteral("admin"));
}

TEST_F(Calls, AFailedMethodLeavesNoTransactionOpen) {
    EXPECT_TRUE(isServerFailure(net->call("AbreTransacao")));
    EXPECT_EQ(net->call("ContaLinhas").toInt(), 0);
}

TEST_F(Calls, ConnectOnDemandAndDisconnect) {
    int beforeConnect = 0;
    QObject::connect(net.get(), &TNetConnection::BeforeConnect, [&] { ++beforeConnect; });
    EXPECT_FALSE(net->connected());
    net->call("Operador");
    EXPECT_TRUE(net->connected());
    net->setConnected(false);
    EXPECT_FALSE(net->connected());
    net->setConnected(true);
    net->setConnected(true);
    EXPECT_TRUE(net->connected());
    EXPECT_EQ(beforeConnect, 2);
}

TEST_F(Calls, WrongPasswordIsRefused) {
    const auto refused = server->connection(QStringLiteral("errada"));
    try {
        refused->setConnected(true);
        FAIL() << "signed in with a wrong password";
    } catch (const NetError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Operador ou senha inválidos."));
    }
    EXPECT_FALSE(refused->connected());
}

TEST(Transport, RefusedPortThrowsNetError) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    TNetConnection net;
    net.setPort(port);
    EXPECT_THROW(net.setConnected(true), NetError);
    EXPECT_FALSE(net.connected());
    EXPECT_THROW(net.call("Eco"), NetError);
}

TEST(Transport, ServerGoneMidSessionThenBackAgain) {
    auto server = std::make_unique<InProcessServer>();
    const auto net = server->connection();
    EXPECT_EQ(net->call("Operador").toString(), QStringLiteral("admin"));
    server.reset();
    EXPECT_THROW(net->call("Operador"), NetError);
    EXPECT_FALSE(net->connected());

    InProcessServer again;
    net->setPort(again.port());
    EXPECT_EQ(net->call("Operador").toString(), QStringLiteral("admin"));
}

TEST(Transport, ACallThatOutlastsItsTimeOutDropsTheConnection) {
    InProcessServer server;
    const auto net = server.connection();
    net->setCallTimeout(100);
    EXPECT_THROW(net->call("Dorme", {1000}), NetError);
    EXPECT_FALSE(net->connected());
    net->setCallTimeout(10000);
    EXPECT_EQ(net->call("Operador").toString(), QStringLiteral("admin")) << "the next call connects again";
}

TEST(Transport, AConnectionClosedForIdlenessReconnectsOnTheNextCall) {
    ServerSettings settings;
    settings.idleTimeoutSecs = 1;
    InProcessServer server(settings);
    const auto net = server.connection();
    int connects = 0;
    QObject::connect(net.get(), &TNetConnection::BeforeConnect, [&] { ++connects; });
    EXPECT_EQ(net->call("Operador").toString(), QStringLiteral("admin"));
    QThread::msleep(1500);
    EXPECT_EQ(net->call("Operador").toString(), QStringLiteral("admin"));
    EXPECT_EQ(connects, 2);
}
