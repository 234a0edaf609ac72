#include "framework/net/checkresult.h"
#include "tests/support/serverfixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString filterModule = QStringLiteral("PAG00801.rdmFiltroRecContPagar");

// Ends every other session of the server's database, as an administrator or a restart would; returns
// how many it ended.
qsizetype terminateServerSessions(const ServerFixture &server) {
    const QVariantList ended = ServerFixture::selectOnPostgres(
        server.databaseUrl(),
        QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                       "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    return std::count_if(ended.cbegin(), ended.cend(), [](const QVariant &value) { return value.toBool(); });
}

} // namespace

TEST(ClientConnection, ReplacesADatabaseSessionTheDatabaseEnded) {
    if (!ServerFixture::postgresAvailable())
        GTEST_SKIP() << "PAG_TEST_PG_URL is not set";
    ServerFixture::Options options;
    options.demoSize = 20;
    options.usePostgres = true;
    ServerFixture server(options);
    server.start();
    const auto net = server.connection(filterModule);
    ASSERT_FALSE(isServerFailure(net->call("GetGeralPag")));
    const auto other = server.connection(filterModule, QStringLiteral("caixa"), QStringLiteral("caixa"));
    ASSERT_FALSE(isServerFailure(other->call("GetGeralPag")));

    ASSERT_GE(terminateServerSessions(server), 2);
    for (TNetConnection *client : {net.get(), other.get()}) {
        const QVariant parameters = client->call("GetGeralPag");
        EXPECT_FALSE(isServerFailure(parameters)) << qPrintable(serverFailureText(parameters));
        EXPECT_TRUE(client->connected()) << "the client keeps its connection to the server";
    }
    EXPECT_TRUE(server.log().contains(QLatin1StringView("database session lost")))
        << qPrintable(server.log());
}
