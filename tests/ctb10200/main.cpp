#include "previewfixture.h"

#include "framework/session/norvela.h"

#include <QApplication>

// One real server for the whole run; the session points at it and signs in as the demo admin.
class ServerEnvironment : public testing::Environment {
public:
    void SetUp() override {
        ServerFixture::Options options;
        options.demoSize = 50;
        PreviewTest::server = std::make_unique<ServerFixture>(options);
        ASSERT_NO_THROW(PreviewTest::server->start());
        Norvela::setWebURL(PreviewTest::server->host());
        Norvela::setWebPort(PreviewTest::server->port());
        Norvela::setOperador(QStringLiteral("admin"), QStringLiteral("admin"));
    }

    void TearDown() override { PreviewTest::server.reset(); }
};

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ServerEnvironment);
    return RUN_ALL_TESTS();
}
