#include "appserver/server/admission.h"
#include "framework/net/netconnection.h"
#include "tests/appserver/server/inprocessserver.h"
#include "tests/appserver/server/rawclient.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const QHostAddress flooder(QStringLiteral("127.0.0.3"));

// Sockets that connect and never send a byte.
std::vector<std::unique_ptr<RawClient>> openSilentSockets(quint16 port, int count) {
    std::vector<std::unique_ptr<RawClient>> sockets;
    for (int i = 0; i < count; ++i)
        sockets.push_back(std::make_unique<RawClient>(port, flooder));
    return sockets;
}

} // namespace

TEST(Admission, SilentSocketsLockNoSignedInClientOut) {
    ServerSettings settings;
    settings.maxConnections = 2;
    settings.maxPending = 4;
    InProcessServer server(settings);
    const auto before = server.connection();
    ASSERT_EQ(before->call("Operador").toString(), QStringLiteral("admin"));

    const auto silent = openSilentSockets(server.port(), 20);
    const auto during = server.connection();
    EXPECT_EQ(during->call("Operador").toString(), QStringLiteral("admin"))
        << "a client that connects during the flood gets one of the places the silent sockets cannot take";
    EXPECT_EQ(before->call("Operador").toString(), QStringLiteral("admin"));
    EXPECT_TRUE(silent.front()->closedByServer()) << "the oldest silent socket made room for newer ones";

    const auto third = server.connection();
    EXPECT_THROW(third->setConnected(true), NetError) << "signed-in places stay limited";
}

TEST(Admission, AConnectionThatDoesNotSayHelloInTimeIsClosed) {
    ServerSettings settings;
    settings.helloTimeoutSecs = 1;
    InProcessServer server(settings);
    RawClient silent(server.port());
    const Wire::Message notice = silent.receive();
    EXPECT_EQ(notice.value(QLatin1StringView("type")).toString(), QStringLiteral("error"));
    EXPECT_TRUE(notice.value(QLatin1StringView("message")).toString().contains(QLatin1StringView("a tempo")));
    EXPECT_TRUE(silent.closedByServer());
}

// Which connection makes room: silent ones first, oldest first; a hello already received outlasts them.
TEST(Admission, TheOldestSilentConnectionMakesRoom) {
    Admission admission({3, 3, 1});
    QList<int> dropped;
    const auto arrive = [&](int id) {
        const Admission::Arrival arrival =
            admission.arrive(id, QHostAddress(QStringLiteral("10.0.0.%1").arg(id)), false,
                             [&dropped, id] { dropped.append(id); });
        EXPECT_TRUE(arrival.admitted);
        return arrival.dropped;
    };
    for (int id = 1; id <= 3; ++id)
        EXPECT_FALSE(arrive(id));
    admission.heard(1);
    EXPECT_EQ(arrive(4), 2);
    EXPECT_EQ(arrive(5), 3);
    admission.heard(4);
    admission.heard(5);
    EXPECT_EQ(arrive(6), 1) << "with no silent one left, the oldest goes";
    EXPECT_EQ(dropped, (QList<int>{2, 3, 1}));

    EXPECT_FALSE(admission.signIn(1)) << "a dropped connection takes no signed-in place";
    EXPECT_TRUE(admission.signIn(4));
    EXPECT_FALSE(admission.signIn(5)) << "the one signed-in place is taken";
    EXPECT_EQ(admission.waiting(), 2);
    admission.leave(4);
    EXPECT_TRUE(admission.signIn(5));
    EXPECT_EQ(admission.waiting(), 1);
}

TEST(Admission, AFullLobbyTurnsAwayAFloodingAddressAtTheDoor) {
    Admission admission({3, 2, 10});
    const QHostAddress flood(QStringLiteral("10.0.0.1"));
    QList<int> dropped;
    const auto arrive = [&](int id, const QHostAddress &address, bool heard) {
        return admission.arrive(id, address, heard, [&dropped, id] { dropped.append(id); });
    };
    for (int id = 1; id <= 3; ++id)
        EXPECT_TRUE(arrive(id, flood, false).admitted) << "a lobby with room takes anyone";
    const Admission::Arrival fourth = arrive(4, flood, false);
    EXPECT_FALSE(fourth.admitted);
    EXPECT_FALSE(fourth.dropped) << "turned away at the door, nobody makes room for it";
    EXPECT_TRUE(arrive(5, QHostAddress(QStringLiteral("10.0.0.2")), false).admitted);
    EXPECT_TRUE(arrive(6, flood, true).admitted) << "a client that has spoken is no flood";
    EXPECT_EQ(dropped, (QList<int>{1, 2}));
}
