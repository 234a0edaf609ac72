#include "appserver/server/sessionpool.h"
#include "framework/net/checkresult.h"
#include "framework/net/netconnection.h"
#include "tests/appserver/server/echomodule.h"
#include "tests/appserver/server/inprocessserver.h"
#include "tests/support/plainclient.h"
#include "tests/support/postgrescluster.h"
#include "tests/support/serverfixture.h"

#include <QCborArray>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <optional>

namespace {

// A client on a thread of its own that holds the server's one session until the test lets it go.
std::future<QVariant> holdTheSession(const InProcessServer &server) {
    std::future<QVariant> held =
        std::async(std::launch::async, [&server] { return server.connection()->call("Segura"); });
    EchoModule::holding.acquire();
    return held;
}

} // namespace

// With every session busy, a call waits in line for --db-wait and then fails with a message that says
// so, having run nothing; the connection goes on, and a call waiting when a session frees runs on it.
// A sign-in waits the same way.
TEST(SessionPool, ACallWaitsForAFreeSessionForABoundedTime) {
    ServerSettings settings;
    settings.dbSessions = 1;
    settings.dbWaitSecs = 1;
    InProcessServer server(settings);
    const auto waiting = server.connection();
    waiting->setConnected(true);

    std::future<QVariant> held = holdTheSession(server);
    const QVariant busy = waiting->call("Operador");
    ASSERT_TRUE(isServerFailure(busy));
    EXPECT_TRUE(
        serverFailureText(busy).contains(QStringLiteral("nenhuma sessão de banco de dados ficou livre")))
        << qPrintable(serverFailureText(busy));
    EXPECT_TRUE(waiting->connected());
    const auto late = server.connection();
    try {
        late->setConnected(true);
        ADD_FAILURE() << "signed in without a database session";
    } catch (const NetError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1StringView("ocupado"))) << qPrintable(e.message());
    }
    EchoModule::release.release();
    EXPECT_TRUE(held.get().toBool());
    EXPECT_EQ(waiting->call("Operador").toString(), QStringLiteral("admin"));

    held = holdTheSession(server);
    std::future<QVariant> queued =
        std::async(std::launch::async, [&server] { return server.connection()->call("Operador"); });
    QThread::msleep(200);
    EchoModule::release.release();
    EXPECT_TRUE(held.get().toBool());
    EXPECT_EQ(queued.get().toString(), QStringLiteral("admin"));
}

namespace {

const QString filterModule = QStringLiteral("PAG00801.rdmFiltroRecContPagar");

QString typeOf(const QList<Wire::Message> &frames) {
    return frames.size() == 1 ? frames.first().value(QLatin1StringView("type")).toString() : QString();
}

// A hundred clients of the server, signed in ten at a time, as clerks arrive.
void signInAHundred(const ServerFixture &server, std::vector<std::unique_ptr<PlainClient>> &clients) {
    for (int batch = 0; batch < 10; ++batch) {
        for (int i = 0; i < 10; ++i) {
            clients.push_back(std::make_unique<PlainClient>(server.port()));
            clients.back()->queue(PlainClient::hello(QStringLiteral("admin"), QStringLiteral("admin")));
        }
        for (auto client = clients.end() - 10; client != clients.end(); ++client)
            ASSERT_EQ(typeOf((*client)->receive(1)), QStringLiteral("welcome"));
    }
}

} // namespace

// Two servers over one database that takes 40 connections: 200 clients, all calling at once, are all
// answered, because the calls share the servers' sessions instead of holding one each.
TEST(SessionPool, TwoServersServeAHundredClientsEachOverADatabaseOfFortyConnections) {
    if (!PostgresCluster::available())
        GTEST_SKIP() << "the PostgreSQL server programs are not installed";
    PostgresCluster cluster(40);
    ServerFixture::selectOnPostgres(cluster.url(), QStringLiteral("CREATE DATABASE pag"));
    QUrl database(cluster.url());
    database.setPath(QStringLiteral("/pag"));
    ServerFixture::Options options;
    options.demoSize = 50;
    options.databaseUrl = database.toString();
    options.extraArguments = {QStringLiteral("--db-sessions"), QStringLiteral("16")};
    ServerFixture first(options);
    first.start();
    ServerFixture second(options);
    second.start();

    std::vector<std::unique_ptr<PlainClient>> clients;
    signInAHundred(first, clients);
    signInAHundred(second, clients);
    ASSERT_EQ(clients.size(), 200u);
    for (int round = 1; round <= 3; ++round) {
        for (const auto &client : clients) {
            client->queue(PlainClient::call(round, filterModule, QStringLiteral("GetGeralPag"), {}));
            client->sendWithoutReading();
        }
        int answered = 0;
        for (const auto &client : clients)
            answered += typeOf(client->receive(1)) == QStringLiteral("result");
        EXPECT_EQ(answered, 200) << "round " << round;
    }
    EXPECT_LE(ServerFixture::selectOnPostgres(
                  database.toString(), QStringLiteral("SELECT pid FROM pg_stat_activity WHERE datname = "
                                                      "current_database() AND pid <> pg_backend_pid()"))
                  .size(),
              32);
}

// Sessions are lent in order of need: a waiter that left the line gets nothing, the next one gets the
// session given back, and a lease its waiter dropped (a connection that closed meanwhile) returns the
// session, which is then lent again; the session used last is lent first.
TEST(SessionPool, ASessionGoesToTheNextWaiterAndComesBackWhenDropped) {
    SessionPool pool(2, ServerBackend{});
    std::optional<SessionPool::Lease> first(pool.tryBorrow());
    ASSERT_TRUE(*first);
    DatabaseSession *used = &**first;
    first.reset();
    SessionPool::Lease again = pool.tryBorrow();
    EXPECT_EQ(&*again, used) << "the session used last is lent first";
    SessionPool::Lease other = pool.tryBorrow();
    ASSERT_TRUE(other);
    EXPECT_FALSE(pool.tryBorrow()) << "both sessions are lent";

    std::optional<SessionPool::Lease> handed;
    const SessionPool::Ticket left = pool.wait([](SessionPool::Lease) { ADD_FAILURE() << "it left"; });
    const SessionPool::Ticket dropping = pool.wait([](SessionPool::Lease) {});
    const SessionPool::Ticket keeping =
        pool.wait([&](SessionPool::Lease lease) { handed.emplace(std::move(lease)); });
    ASSERT_NE(left, 0u);
    EXPECT_TRUE(pool.withdraw(left));
    again = {};
    EXPECT_FALSE(pool.withdraw(dropping)) << "it was handed the session";
    EXPECT_FALSE(pool.withdraw(keeping)) << "the session the first waiter dropped went on to the next";
    ASSERT_TRUE(handed && *handed);
    EXPECT_EQ(&**handed, used);
    handed.reset();
    EXPECT_TRUE(pool.tryBorrow());
}

// The pool outlives every lease: it waits for a session still in use on another thread.
TEST(SessionPool, ThePoolWaitsForALentSessionBeforeClosing) {
    std::atomic<bool> givenBack = false;
    std::promise<void> lent;
    std::thread user;
    {
        SessionPool pool(1, ServerBackend{});
        user = std::thread([&] {
            SessionPool::Lease lease = pool.tryBorrow();
            lent.set_value();
            QThread::msleep(100);
            givenBack = true;
        });
        lent.get_future().wait();
    }
    EXPECT_TRUE(givenBack);
    user.join();
}
