#include "framework/net/checkresult.h"
#include "tests/support/serverfixture.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <gtest/gtest.h>

#include <variant>

namespace {

const QString filterModule = QStringLiteral("PAG00801.rdmFiltroRecContPagar");

// Ends every other session of the server's database, as an administrator or a restart would; returns
// how many it ended, or a text that says why it could not.
std::variant<int, QString> terminateServerSessions(const ServerFixture &server) {
    const QUrl url(server.databaseUrl());
    const QString name = QStringLiteral("connection-test-admin");
    std::variant<int, QString> ended;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setPassword(url.password());
        db.setDatabaseName(url.path().mid(1));
        QSqlQuery query(db);
        if (!db.open())
            ended = db.lastError().text();
        else if (!query.exec(
                     QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                    "WHERE datname = current_database() AND pid <> pg_backend_pid()")))
            ended = query.lastError().text();
        else
            for (ended = 0; query.next();)
                ended = std::get<int>(ended) + (query.value(0).toBool() ? 1 : 0);
    }
    QSqlDatabase::removeDatabase(name);
    return ended;
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

    const auto ended = terminateServerSessions(server);
    ASSERT_TRUE(std::holds_alternative<int>(ended)) << qPrintable(std::get<QString>(ended));
    ASSERT_GE(std::get<int>(ended), 2);
    for (TNetConnection *client : {net.get(), other.get()}) {
        const QVariant parameters = client->call("GetGeralPag");
        EXPECT_FALSE(isServerFailure(parameters)) << qPrintable(serverFailureText(parameters));
        EXPECT_TRUE(client->connected()) << "the client keeps its connection to the server";
    }
    EXPECT_TRUE(server.log().contains(QLatin1StringView("database session lost")))
        << qPrintable(server.log());
}
