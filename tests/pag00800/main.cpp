#include "serverprocess.h"

#include "framework/session/norvela.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

// One real server for the whole run; the session points at it and signs in as the demo admin.
class ServerEnvironment : public testing::Environment {
public:
    void SetUp() override {
        server = std::make_unique<ServerProcess>();
        ASSERT_TRUE(server->start()) << server->failure().toStdString();
        Norvela::setWebURL(QStringLiteral("127.0.0.1"));
        Norvela::setWebPort(server->port());
        Norvela::setOperador(QStringLiteral("admin"), QStringLiteral("admin"));
    }

    void TearDown() override { server.reset(); }

private:
    std::unique_ptr<ServerProcess> server;
};

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ServerEnvironment);
    return RUN_ALL_TESTS();
}
