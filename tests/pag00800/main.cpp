#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"
#include "payabledata.h"
#include "tests/support/serverfixture.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {
QString databaseUrl;
}

QString testServerDatabaseUrl() {
    return databaseUrl;
}

// One real server for the whole run; the session points at it, signs in as the demo admin and reads
// its selection lists from the server's database file.
class ServerEnvironment : public testing::Environment {
public:
    void SetUp() override {
        ServerFixture::Options options;
        options.demoSize = 300;
        server = std::make_unique<ServerFixture>(options);
        ASSERT_NO_THROW(server->start());
        databaseUrl = server->databaseUrl();
        Norvela::setWebURL(server->host());
        Norvela::setWebPort(server->port());
        Norvela::setOperador(QStringLiteral("admin"), QStringLiteral("admin"));
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
    // Window places of this run only: not the user's, not another test process's.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ServerEnvironment);
    return RUN_ALL_TESTS();
}
