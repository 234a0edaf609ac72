#include "filterdata.h"

#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"
#include "tests/support/serverfixture.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

// One real server for the whole run, its database holding the demo data and company 09; the session
// points at it, works in branch 0101 (document numbers 9 wide), signs in as the demo admin and reads
// its selection lists from the server's database file.
class ServerEnvironment : public testing::Environment {
public:
    void SetUp() override {
        ServerFixture::Options options;
        options.demoSize = 200;
        server = std::make_unique<ServerFixture>(options);
        ASSERT_NO_THROW(server->start());
        ASSERT_NO_THROW(FilterData::seed(server->databaseUrl()));
        Norvela::setWebURL(server->host());
        Norvela::setWebPort(server->port());
        Norvela::setOperador(QStringLiteral("admin"), QStringLiteral("admin"));
        Norvela::setFiliProc(QStringLiteral("0101"));
        dtmDBGeral()->open(server->databaseUrl());
    }

    void TearDown() override {
        dtmDBGeral()->close();
        server.reset();
    }

private:
    std::unique_ptr<ServerFixture> server;
};

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ServerEnvironment);
    return RUN_ALL_TESTS();
}
