#include "framework/net/checkresult.h"
#include "tests/support/serverfixture.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString filterModule = QStringLiteral("PAG00801.rdmFiltroRecContPagar");

const QString otherSessions =
    QStringLiteral("FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()");

// Ends every other session of the server's database, as an administrator or a restart would, and waits
// until they are gone; returns how many it ended.
qsizetype terminateServerSessions(const ServerFixture &server) {
    const QVariantList ended = ServerFixture::selectOnPostgres(
        server.databaseUrl(), QStringLiteral("SELECT pg_terminate_backend(pid, 10000) ") + otherSessions);
    return std::count_if(ended.cbegin(), ended.cend(), [](const QVariant &value) { return value.toBool(); });
}

qsizetype serverSessions(const ServerFixture &server) {
    return ServerFixture::selectOnPostgres(server.databaseUrl(),
                                           QStringLiteral("SELECT pid ") + otherSessions)
        .size();
}

ServerFixture::Options onPostgres(const QStringList &arguments = {}) {
    ServerFixture::Options options;
    options.demoSize = 20;
    options.usePostgres = true;
    options.extraArguments = arguments;
    return options;
}

} // namespace

TEST(DatabaseSession, ASessionTheDatabaseEndedIsReplacedBeforeTheNextCall) {
    if (!ServerFixture::postgresAvailable())
        GTEST_SKIP() << "PAG_TEST_PG_URL is not set";
    ServerFixture server(onPostgres());
    server.start();
    const auto net = server.connection(filterModule);
    ASSERT_FALSE(isServerFailure(net->call("GetGeralPag")));
    const auto other = server.connection(filterModule, QStringLiteral("caixa"), QStringLiteral("caixa"));
    ASSERT_FALSE(isServerFailure(other->call("GetGeralPag")));

    ASSERT_GE(terminateServerSessions(server), 1);
    for (TNetConnection *client : {net.get(), other.get()}) {
        const QVariant parameters = client->call("GetGeralPag");
        EXPECT_FALSE(isServerFailure(parameters)) << qPrintable(serverFailureText(parameters));
        EXPECT_TRUE(client->connected()) << "the client keeps its connection to the server";
    }
    EXPECT_TRUE(server.log().contains(QLatin1StringView("database session lost")))
        << qPrintable(server.log());
}

TEST(DatabaseSession, OnlySignedInClientsUseSessionsAndNeverMoreThanThePool) {
    if (!ServerFixture::postgresAvailable())
        GTEST_SKIP() << "PAG_TEST_PG_URL is not set";
    ServerFixture server(onPostgres({QStringLiteral("--db-sessions"), QStringLiteral("2")}));
    server.start();
    std::vector<std::unique_ptr<QTcpSocket>> silent;
    for (int i = 0; i < 3; ++i) {
        silent.push_back(std::make_unique<QTcpSocket>());
        silent.back()->connectToHost(server.host(), server.port());
        ASSERT_TRUE(silent.back()->waitForConnected(5000));
    }
    const QDeadlineTimer deadline(10000);
    while (!server.log().contains(QLatin1StringView("conn=3 opened")) && !deadline.hasExpired())
        QThread::msleep(10);
    EXPECT_EQ(serverSessions(server), 0) << "connections that did not sign in hold no database session";

    std::vector<std::unique_ptr<TNetConnection>> clients;
    for (int i = 0; i < 5; ++i) {
        clients.push_back(server.connection(filterModule));
        ASSERT_FALSE(isServerFailure(clients.back()->call("GetGeralPag")));
    }
    const qsizetype sessions = serverSessions(server);
    EXPECT_GE(sessions, 1);
    EXPECT_LE(sessions, 2);
}
