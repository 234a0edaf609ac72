#include "framework/core/datapacket.h"
#include "framework/net/checkresult.h"
#include "tests/support/serverfixture.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString filterModule = QStringLiteral("PAG00801.rdmFiltroRecContPagar");

} // namespace

TEST(ServerProcess, ServesTheDemoDatabaseAndStopsCleanlyOnSigterm) {
    ServerFixture server;
    server.start();
    const auto net = server.connection(filterModule.toLower());
    const QVariant parameters = net->call("GetGeralPag");
    ASSERT_FALSE(isServerFailure(parameters)) << qPrintable(serverFailureText(parameters));
    EXPECT_EQ(parameters.metaType(), QMetaType::fromType<DataPacket>());

    const auto intruder =
        server.connection(filterModule, QStringLiteral("caixa"), QStringLiteral("senhaErrada-7319"));
    EXPECT_THROW(intruder->setConnected(true), NetError);
    net->call("GetParamFilial", {QStringLiteral("0177-argumento")});

    EXPECT_EQ(server.stop(), 0);
    const QString log = server.log();
    EXPECT_TRUE(log.contains(QLatin1StringView("method=GetGeralPag"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QLatin1StringView("stopped")));
    EXPECT_FALSE(log.contains(QLatin1StringView("senhaErrada"))) << "passwords are never logged";
    EXPECT_FALSE(log.contains(QLatin1StringView("0177-argumento"))) << "argument values are never logged";
    const QRegularExpression stamped(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3} (warning |error )?\S)"));
    for (const QString &line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        EXPECT_TRUE(stamped.match(line).hasMatch()) << "each line whole and stamped: " << qPrintable(line);
}

TEST(ServerProcess, AKilledServerIsATransportFailureForTheClient) {
    ServerFixture server;
    server.start();
    const auto net = server.connection(filterModule);
    ASSERT_FALSE(isServerFailure(net->call("GetGeralPag")));
    server.kill();
    EXPECT_THROW(net->call("GetGeralPag"), NetError);
    EXPECT_FALSE(net->connected());

    server.start();
    net->setPort(server.port());
    EXPECT_FALSE(isServerFailure(net->call("GetGeralPag"))) << "the same connection reconnects";
}

TEST(ServerProcess, ServesAFreshPostgresDatabase) {
    if (!ServerFixture::postgresAvailable())
        GTEST_SKIP() << "PAG_TEST_PG_URL is not set";
    ServerFixture::Options options;
    options.demoSize = 50;
    options.usePostgres = true;
    ServerFixture server(options);
    EXPECT_TRUE(server.databaseUrl().startsWith(QLatin1StringView("postgresql://")));
    server.start();
    const QVariant parameters = server.connection(filterModule)->call("GetGeralPag");
    EXPECT_FALSE(isServerFailure(parameters)) << qPrintable(serverFailureText(parameters));
    EXPECT_EQ(server.stop(), 0);
}
